#!/usr/bin/python3
"""The web the Chromium end-to-end tests browse: every test host name maps to
this one loopback server, which answers by the Host header and writes each
request it receives, as "host path", to a log the tests read. Given a site
folder instead (the demo site of `make run`, the screenshots and the bench),
it serves that folder's files to every host.

It also answers HTTPS (FOLDER/tls.port) with the certificate FOLDER/tls.pem,
made for the test and trusted by nobody, and serves the host that can go down
(FOLDER/flaky.port): "/flaky-down" on any host stops that server, so its
addresses are refused, and "/flaky-up" starts it again.

Usage: site_server.py FOLDER [SITE]   (writes FOLDER/server.port and FOLDER/requests.log)
"""
import html
import http.server
import mimetypes
import os
import ssl
import struct
import sys
import threading
import time
import urllib.parse
import zlib

folder = sys.argv[1]
site = os.path.realpath(sys.argv[2]) if len(sys.argv) > 2 else None
demo = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", "..", "docs", "demo-site"))
log = open(f"{folder}/requests.log", "a", buffering=1)

SITE = """<!doctype html><meta charset=utf-8><title>{title}</title>
<body style="font:16px sans-serif;margin:40px">
<h1>{title}</h1><p>Served to {host} for {path}</p>
<script>addEventListener('keydown', e => fetch('/key?' + encodeURIComponent(e.key)));</script>"""

ADS = """<img src="http://doubleclick.net/ad.png?{n}"><script src="http://sub.doubleclick.net/ad.js?{n}"></script>
<iframe src="http://deep.sub.doubleclick.net/frame?{n}"></iframe>
<img src="http://xdoubleclick.net/look-alike.png?{n}"><img src="http://doubleclick.net.other.test/look-alike.png?{n}">"""

# A download's content: every byte value, many times over, so a file cut short
# or changed on the way shows.
DOWNLOAD = bytes(range(256)) * 1024

# Its script reports what became of its requests in its title: "permission <result>",
# "<event> <title>" for its notification's events. "?ask" asks as it loads.
# Tries every way to a file or print dialog at once, through what the page
# redefined to hide them, and reports which were the browser's: print()
# native or not, showOpenFilePicker() ("absent" outside secure contexts), the
# clicks that reached a file input unstopped (its click(), its label, a
# dispatched event, an input and a label outside the document), and those of
# a closed shadow root's label that got past the document. Then, focused,
# whether a key's click was stopped.
TRIES = """<label for="f">File</label><input type="file" id="f"><div id="h"></div><script>
Object.defineProperty(HTMLInputElement.prototype, "type", {get() { return "text"; },
                                                          set(v) { this.setAttribute("type", v); }});
Object.defineProperty(Node.prototype, "isConnected", {get() { return true; }});
Event.prototype.composedPath = () => [];
let clicks = 0;
const counted = i => (i.addEventListener("click", e => { if (!e.defaultPrevented) clicks++; e.preventDefault(); }), i);
const input = counted(document.getElementById("f"));
const loose = counted(Object.assign(document.createElement("input"), {type: "file"}));
const host = document.getElementById("h"), shadow = host.attachShadow({mode: "closed"});
shadow.innerHTML = '<label for="s">File</label><input type="file" id="s">';
let hosted = 0;
addEventListener("click", e => { if (e.target == host && !e.defaultPrevented) hosted++; }, true);
document.addEventListener("click", e => { if (e.target == host) e.stopPropagation(); }, true);
const picked = typeof showOpenFilePicker == "function" ? showOpenFilePicker() : undefined;
if (picked instanceof Promise) picked.catch(() => {});
input.click();
document.querySelector("label").click();
input.dispatchEvent(new MouseEvent("click", {bubbles: true, cancelable: true}));
HTMLElement.prototype.click.call(loose);
EventTarget.prototype.dispatchEvent.call(loose, new MouseEvent("click", {cancelable: true}));
shadow.querySelector("label").click();
const wrap = document.createElement("label"), inside = wrap.appendChild(document.createElement("b"));
counted(wrap.appendChild(Object.assign(document.createElement("input"), {type: "file"})));
inside.click();
const native = f => String(f).includes("[native code]") ? "native" : "other";
const picker = typeof showOpenFilePicker != "function" ? "absent" : picked instanceof Promise ? "promise" : "none";
fetch("/tried?print=" + native(print) + "&picker=" + picker +
      "&clicks=" + clicks + "&hosted=" + hosted);
input.focus();  // a key's click from now on says whether it was stopped before the input heard it
input.addEventListener("click", e => fetch("/key-click?prevented=" + e.defaultPrevented), {capture: true});
</script>"""

NOTIFY = """<!doctype html><meta charset=utf-8><title>Inbox</title><link rel="icon" href="/icon.png">
<h1>Inbox</h1><script>
const ask = () => Notification.requestPermission().then(p => document.title = 'permission ' + p);
const notifyMe = title => {
  const n = new Notification(title, {body: 'From the site', tag: 'inbox'});
  for (const type of ['show', 'click', 'close', 'error']) n.addEventListener(type, () => document.title = type + ' ' + title);
};
if (location.search === '?ask') ask();
</script>"""

# A site kept open that never asks again: each document reads its permission
# as it loads and notifies at once when it is granted, both in its title.
INBOX = """<!doctype html><meta charset=utf-8><title>Inbox</title><script>
document.title = 'permission ' + Notification.permission;
if (Notification.permission === 'granted')
  new Notification('Hello', {body: 'From the site'}).onshow = () => document.title = 'shown Hello';
</script>"""



def solid_png(size, rgb):
    """A square PNG of one colour, whole and checksummed, so that decoders take it."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgb) * size for _ in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")


PNG = solid_png(16, (200, 30, 30))


class Handler(http.server.BaseHTTPRequestHandler):
    rounds = 0

    def do_GET(self):
        host = self.headers.get("Host", "")
        log.write(f"{host} {self.path}\n")
        url = urllib.parse.urlsplit(self.path)
        if site or host == "demo.velotide.test":  # the demo site, also beside the test pages
            self.serve_file(url.path)
        elif self.sign_in(host, url.path):
            pass
        elif host == "moved.test":  # a site that lives at its "www." name
            self.answer(302, "text/plain", b"", [("Location", "http://www.moved.test/")])
        elif url.path == "/missing":
            self.answer(404, "text/html; charset=utf-8", b"<h1>Not here</h1><p>The site's own page for 404.</p>")
        elif url.path == "/adframe":  # a cross-site frame whose ad is its own request
            self.answer(200, "text/html; charset=utf-8", b'<h1>Framed</h1><iframe src="http://other.test/framed"></iframe>')
        elif url.path == "/framed":
            self.answer(200, "text/html; charset=utf-8", b'<img src="http://doubleclick.net/in-frame.png">')
        elif url.path == "/widget":  # a contact widget of another site: all of it a phone link
            self.answer(200, "text/html; charset=utf-8",
                        b'<a href="tel:+4930777" style="position:fixed;inset:0;display:block">Call us</a>')
        elif url.path == "/download":  # the link a person follows to save a file
            self.answer(200, "application/octet-stream", DOWNLOAD,
                        [("Content-Disposition", 'attachment; filename="report.bin"')])
        elif url.path == "/nocontent":
            self.answer(204, "text/plain", b"")
        elif url.path == "/slow":  # a page that takes its time, at most a few seconds
            time.sleep(min(float(urllib.parse.parse_qs(url.query).get("s", ["3"])[0]), 5))
            self.answer(200, "text/html; charset=utf-8", b"<h1>Slow</h1>")
        elif url.path == "/slow-content":  # a page whose answer comes at once, its content a few seconds later
            body = b"<h1>Slow content</h1>"
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            time.sleep(3)
            self.wfile.write(body)
        elif url.path in ("/flaky-down", "/flaky-up"):
            flaky.switch(url.path == "/flaky-up")
            self.answer(200, "text/plain", b"", [("Access-Control-Allow-Origin", "*")])
        elif url.path == "/private":  # asks for a Basic sign-in; says when credentials came
            if self.headers.get("Authorization"):
                log.write(f"{host} {self.path} credentials\n")
                self.answer(200, "text/html; charset=utf-8", b"<h1>Signed in</h1>")
            else:
                self.answer(401, "text/html; charset=utf-8", b"<h1>Sign in first</h1>",
                            [("WWW-Authenticate", f'Basic realm="{host}"')])
        elif url.path == "/frame":  # a page with any address in a frame
            src = html.escape(urllib.parse.parse_qs(url.query)["src"][0])
            self.answer(200, "text/html; charset=utf-8", f'<h1>Framed</h1><iframe src="{src}"></iframe>'.encode())
        elif url.path == "/framer":  # a page covered by a cross-site frame
            src = urllib.parse.parse_qs(url.query)["frame"][0]
            self.answer(200, "text/html; charset=utf-8", f'<body style="margin:0"><iframe src="{html.escape(src)}" '
                        'style="position:fixed;inset:0;width:100%;height:100%;border:0"></iframe>'.encode())
        elif url.path == "/opener":  # a frame that opens a window when clicked, as an ad does, once armed by a click
            to = html.escape(urllib.parse.quote(urllib.parse.parse_qs(url.query)["to"][0], safe=":/?="))
            self.answer(200, "text/html; charset=utf-8", f'<body style="margin:0;height:100vh" onclick="'
                        f'if (window.armed) window.open(\'{to}\'); else fetch(\'/opener-armed\'), window.armed = 1">'
                        'Ad</body>'.encode())
        elif url.path == "/tries":  # tries each way to a file or print dialog at once, says which were the browser's
            self.answer(200, "text/html; charset=utf-8", TRIES.encode())
        elif url.path == "/notify":  # a site kept open: asks to notify, notifies, titles itself, has an icon
            self.answer(200, "text/html; charset=utf-8", NOTIFY.encode())
        elif url.path == "/inbox":
            self.answer(200, "text/html; charset=utf-8", INBOX.encode())
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

    # A site that signs its visitors in through another host: /signin sends
    # them to auth.test, whose form posts back to /callback, which sets the
    # session cookie; /welcome shows only with it.
    def sign_in(self, host, path):
        if host == "site.test" and path == "/signin":
            self.answer(302, "text/plain", b"", [("Location", "http://auth.test/login")])
        elif host == "auth.test" and path == "/login":
            self.answer(200, "text/html; charset=utf-8", b'<h1>Sign in</h1><form method="post" '
                        b'action="http://site.test/callback"><input name="user" value="ada"></form>'
                        b'<script>document.forms[0].submit()</script>')
        elif host == "site.test" and path == "/callback" and self.command == "POST":
            self.answer(302, "text/plain", b"", [("Location", "/welcome"), ("Set-Cookie", "session=ada; Path=/")])
        elif host == "site.test" and path == "/welcome":
            signed_in = "session=ada" in self.headers.get("Cookie", "")
            self.answer(200 if signed_in else 403, "text/html; charset=utf-8",
                        b"<h1>Signed in as ada</h1>" if signed_in else b"<h1>Not signed in</h1>")
        elif host == "site.test" and path == "/by-itself":  # a page that acts with nobody's click
            self.answer(200, "text/html; charset=utf-8", b"<h1>By itself</h1><script>"
                        b"location.href = 'mailto:itself@site.test';"
                        b"setTimeout(() => location.href = 'http://other.test/by-itself-nav', 500);</script>")
        else:
            return False
        return True

    def do_POST(self):
        host = self.headers.get("Host", "")
        log.write(f"{host} POST {self.path}\n")
        self.rfile.read(int(self.headers.get("Content-Length", "0")))
        if not self.sign_in(host, urllib.parse.urlsplit(self.path).path):
            self.answer(404, "text/plain", b"")

    def serve_file(self, path):
        folder = site or demo
        file = os.path.realpath(os.path.join(folder, path.lstrip("/") or "index.html"))
        if not file.startswith(folder + os.sep) or not os.path.isfile(file):
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


def serve(server, name):
    """Serves on a thread of its own; writes the port to FOLDER/name."""
    threading.Thread(target=server.serve_forever, daemon=True).start()
    with open(f"{folder}/{name}", "w") as port:
        port.write(str(server.server_address[1]))


class Flaky:
    """The server that can go down: the same port, listening or not."""

    def __init__(self):
        self.server = None
        self.port = 0
        self.lock = threading.Lock()

    def switch(self, up):
        with self.lock:
            if up and not self.server:
                self.server = http.server.ThreadingHTTPServer(("127.0.0.1", self.port), Handler)
                self.port = self.server.server_address[1]
                threading.Thread(target=self.server.serve_forever, daemon=True).start()
            elif not up and self.server:
                self.server.shutdown()
                self.server.server_close()
                self.server = None


flaky = Flaky()
flaky.switch(True)
with open(f"{folder}/flaky.port", "w") as port:
    port.write(str(flaky.port))

tls = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(f"{folder}/tls.pem")
# The handshake happens on the request's own thread, so a connection that
# never says hello holds up no other.
tls.socket = context.wrap_socket(tls.socket, server_side=True, do_handshake_on_connect=False)
serve(tls, "tls.port")

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
with open(f"{folder}/server.port", "w") as port:
    port.write(str(server.server_address[1]))
server.serve_forever()
