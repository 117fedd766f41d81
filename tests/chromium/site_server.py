#!/usr/bin/python3
"""The web the Chromium end-to-end tests browse: every test host name maps to
this one loopback server, which answers by the Host header and writes each
request it receives, as "host path", to a log the tests read. Given a site
folder instead (the demo site of `make run`, the screenshots and the bench),
it serves that folder's files to every host.

Usage: site_server.py FOLDER [SITE]   (writes FOLDER/server.port and FOLDER/requests.log)
"""
import html
import http.server
import mimetypes
import os
import sys
import urllib.parse

folder = sys.argv[1]
site = os.path.realpath(sys.argv[2]) if len(sys.argv) > 2 else None
log = open(f"{folder}/requests.log", "a", buffering=1)

SITE = """<!doctype html><meta charset=utf-8><title>{title}</title>
<body style="font:16px sans-serif;margin:40px">
<h1>{title}</h1><p>Served to {host} for {path}</p>
<script>addEventListener('keydown', e => fetch('/key?' + encodeURIComponent(e.key)));</script>"""

ADS = """<img src="http://doubleclick.net/ad.png?{n}"><script src="http://sub.doubleclick.net/ad.js?{n}"></script>
<iframe src="http://deep.sub.doubleclick.net/frame?{n}"></iframe>
<img src="http://xdoubleclick.net/look-alike.png?{n}"><img src="http://doubleclick.net.other.test/look-alike.png?{n}">"""

PNG = bytes.fromhex("89504e470d0a1a0a0000000d4948445200000001000000010806000000"
                    "1f15c4890000000d49444154789c63f8ffff3f0005fe02fea7d6a9ee0000000049454e44ae426082")


class Handler(http.server.BaseHTTPRequestHandler):
    rounds = 0

    def do_GET(self):
        host = self.headers.get("Host", "")
        log.write(f"{host} {self.path}\n")
        url = urllib.parse.urlsplit(self.path)
        if site:
            self.serve_file(url.path)
        elif host == "moved.test":  # a site that lives at its "www." name
            self.answer(302, "text/plain", b"", [("Location", "http://www.moved.test/")])
        elif url.path == "/missing":
            self.answer(404, "text/html; charset=utf-8", b"<h1>Not here</h1><p>The site's own page for 404.</p>")
        elif url.path == "/adframe":  # a cross-site frame whose ad is its own request
            self.answer(200, "text/html; charset=utf-8", b'<h1>Framed</h1><iframe src="http://other.test/framed"></iframe>')
        elif url.path == "/framed":
            self.answer(200, "text/html; charset=utf-8", b'<img src="http://doubleclick.net/in-frame.png">')
        elif url.path == "/framer":  # a page covered by a cross-site frame
            src = urllib.parse.parse_qs(url.query)["frame"][0]
            self.answer(200, "text/html; charset=utf-8", f'<body style="margin:0"><iframe src="{html.escape(src)}" '
                        'style="position:fixed;inset:0;width:100%;height:100%;border:0"></iframe>'.encode())
        elif url.path == "/opener":  # a frame that opens a window when clicked, as an ad does, once armed by a click
            to = html.escape(urllib.parse.quote(urllib.parse.parse_qs(url.query)["to"][0], safe=":/?="))
            self.answer(200, "text/html; charset=utf-8", f'<body style="margin:0;height:100vh" onclick="'
                        f'if (window.armed) window.open(\'{to}\'); else fetch(\'/opener-armed\'), window.armed = 1">'
                        'Ad</body>'.encode())
        elif url.path == "/redirect":
            self.answer(302, "text/plain", b"", [("Location", urllib.parse.parse_qs(url.query)["to"][0])])
        elif url.path.endswith(".png"):
            self.answer(200, "image/png", PNG)
        elif url.path.endswith(".js"):
            self.answer(200, "text/javascript", b"")
        elif url.path == "/favicon.ico":
            self.answer(404, "text/plain", b"")
        else:
            page = SITE.format(title=f"Page {url.path} on {host}", host=host, path=self.path)
            if url.path == "/ads":
                Handler.rounds += 1
                page += ADS.format(n=Handler.rounds)
            self.answer(200, "text/html; charset=utf-8", page.encode())

    def serve_file(self, path):
        file = os.path.realpath(os.path.join(site, path.lstrip("/") or "index.html"))
        if not file.startswith(site + os.sep) or not os.path.isfile(file):
            self.answer(404, "text/plain", b"Not found")
            return
        with open(file, "rb") as content:
            self.answer(200, mimetypes.guess_type(file)[0] or "application/octet-stream", content.read())

    def answer(self, status, kind, body, headers=()):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
with open(f"{folder}/server.port", "w") as port:
    port.write(str(server.server_address[1]))
server.serve_forever()
