# An RFC 3161 time-stamp server for the signing test, answering with
# `openssl ts -reply` from FOLDER (its tsa.cnf, tsa.key, tsa.pem and
# root.pem), on 127.0.0.1 at a port of the system's choosing, written to
# PORT_FILE. It ends after 8 requests or 600 seconds (a release build signs
# its files as they are built), whichever comes first.
# Usage: timestamp_server.py FOLDER PORT_FILE
import http.server
import os
import subprocess
import sys
import threading

folder, port_file = sys.argv[1], sys.argv[2]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        made = subprocess.run(["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", "/dev/stdin", "-inkey",
                               "tsa.key", "-signer", "tsa.pem", "-chain", "root.pem", "-out", "/dev/stdout"],
                              cwd=folder, input=query, capture_output=True, timeout=30)
        reply = made.stdout if made.returncode == 0 else b""
        self.send_response(200 if reply else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(port_file + ".part", "w") as f:
    f.write(str(server.server_address[1]))
os.replace(port_file + ".part", port_file)
threading.Timer(600, lambda: os._exit(0)).start()
for _ in range(8):
    server.handle_request()
os._exit(0)
