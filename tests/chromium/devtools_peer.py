#!/usr/bin/python3
"""A scripted DevTools peer for the Chromium engine's fault tests: a minimal
Chromium over WebSocket (/json/version, then the browser connection) that
makes one page per controller and then misbehaves as its scenario says. One
loopback port per scenario, listed in FOLDER/peer.ports as "scenario port".
Each port takes a bounded number of connections; the caller's timeout ends
the whole process.

Usage: devtools_peer.py FOLDER
"""
import base64
import hashlib
import json
import os
import socket
import sys
import threading

folder = sys.argv[1]
SCENARIOS = ["well", "malformed", "unknown", "error-reply", "drop-before-attach", "close-mid-message",
             "oversized", "lost-page", "hang", "rejects"]
MAX_CONNECTIONS = 4


def read_frame(conn):
    head = recv_exact(conn, 2)
    opcode, length = head[0] & 0x0F, head[1] & 0x7F
    if length == 126:
        length = int.from_bytes(recv_exact(conn, 2), "big")
    elif length == 127:
        length = int.from_bytes(recv_exact(conn, 8), "big")
    mask = recv_exact(conn, 4) if head[1] & 0x80 else b"\0\0\0\0"
    data = bytes(b ^ mask[i % 4] for i, b in enumerate(recv_exact(conn, length)))
    return opcode, data


def recv_exact(conn, count):
    data = b""
    while len(data) < count:
        chunk = conn.recv(count - len(data))
        if not chunk:
            raise ConnectionError
        data += chunk
    return data


def send_frame(conn, opcode, data, fin=True):
    head = bytes([(0x80 if fin else 0) | opcode])
    if len(data) < 126:
        head += bytes([len(data)])
    elif len(data) < 65536:
        head += bytes([126]) + len(data).to_bytes(2, "big")
    else:
        head += bytes([127]) + len(data).to_bytes(8, "big")
    conn.sendall(head + data)


def send(conn, message):
    send_frame(conn, 1, json.dumps(message).encode())


def read_request(conn):
    data = b""
    while b"\r\n\r\n" not in data and len(data) < 65536:
        chunk = conn.recv(4096)
        if not chunk:
            raise ConnectionError
        data += chunk
    lines = data.split(b"\r\n\r\n")[0].decode().split("\r\n")
    headers = {k.strip().lower(): v.strip() for k, v in (l.split(":", 1) for l in lines[1:] if ":" in l)}
    return lines[0].split(" ")[1], headers


def serve(scenario, conn, port):
    path, headers = read_request(conn)
    if path == "/json/version":
        body = json.dumps({"Browser": "PeerChrome/1.0",
                           "webSocketDebuggerUrl": f"ws://127.0.0.1:{port}/devtools/browser/peer"}).encode()
        conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n"
                     b"Content-Length: %d\r\n\r\n" % len(body) + body)
        return
    accept = base64.b64encode(hashlib.sha1((headers["sec-websocket-key"] +
                                            "258EAFA5-E914-47DA-95CA-C5AB0DC85B11").encode()).digest())
    conn.sendall(b"HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                 b"Sec-WebSocket-Accept: " + accept + b"\r\n\r\n")
    pages = 0
    while True:
        opcode, data = read_frame(conn)
        if opcode == 8:
            send_frame(conn, 8, data[:2])
            return
        if opcode == 9:
            send_frame(conn, 10, data)
            continue
        command = json.loads(data)
        method, session = command["method"], command.get("sessionId")
        reply = {"id": command["id"], "result": {}}
        if session:
            reply["sessionId"] = session
        if scenario == "malformed":
            send_frame(conn, 1, b"{not json")
        if scenario == "unknown":
            send(conn, {"method": "Peer.somethingHappened", "params": {}})
            send(conn, {"id": 987654321, "result": {}})
        if scenario == "error-reply" and method == "Page.enable":
            reply = {"id": command["id"], "sessionId": session, "error": {"code": -32000, "message": "Not allowed"}}
        if scenario == "rejects" and method.startswith("Fetch.") and method != "Fetch.enable":
            reply = {"id": command["id"], "sessionId": session, "error": {"code": -32602, "message": "Invalid state"}}
        if method == "Target.createBrowserContext":
            reply["result"] = {"browserContextId": "context"}
        if method == "Target.createTarget":
            pages += 1
            reply["result"] = {"targetId": f"page{pages}"}
            send(conn, reply)
            if scenario == "drop-before-attach":
                return
            send(conn, {"method": "Target.attachedToTarget",
                        "params": {"sessionId": f"session{pages}", "waitingForDebugger": True,
                                   "targetInfo": {"targetId": f"page{pages}", "type": "page",
                                                  "browserContextId": "context", "url": "about:blank"}}})
            continue
        send(conn, reply)
        if method == "Runtime.runIfWaitingForDebugger" and session:  # the page is set up: now the fault
            if scenario == "close-mid-message":
                send_frame(conn, 1, b'{"method": "Page.frameNavigated", "par', fin=False)
                send_frame(conn, 8, (1000).to_bytes(2, "big"))
                return
            if scenario == "oversized":
                send_frame(conn, 1, b'{"method": "Page.frameNavigated", "params": "', fin=False)
                chunk = b"x" * (1 << 20)
                for _ in range(40):
                    send_frame(conn, 0, chunk, fin=False)
                send_frame(conn, 0, b'"}')
            if scenario == "lost-page":
                send(conn, {"method": "Target.detachedFromTarget",
                            "params": {"sessionId": session, "targetId": f"page{pages}"}})
            if scenario == "rejects":  # a navigation whose request then can't be let go nor failed
                send(conn, {"method": "Fetch.requestPaused", "sessionId": session,
                            "params": {"requestId": "interception-1", "frameId": f"page{pages}", "networkId": "loader-1",
                                       "resourceType": "Document", "request": {"url": "http://site.test/"}}})
            if scenario == "hang":
                while conn.recv(65536):  # reads on, answers nothing
                    pass
                return


def listen(scenario, listener):
    port = listener.getsockname()[1]
    for _ in range(MAX_CONNECTIONS * 2):  # each connection is a version request and a WebSocket
        conn, _ = listener.accept()
        conn.settimeout(60)
        threading.Thread(target=lambda c=conn: handle(scenario, c, port), daemon=True).start()


def handle(scenario, conn, port):
    try:
        serve(scenario, conn, port)
    except (ConnectionError, OSError, ValueError):
        pass
    finally:
        conn.close()


threads = []
lines = []
for scenario in SCENARIOS:
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    lines.append(f"{scenario} {listener.getsockname()[1]}\n")
    threads.append(threading.Thread(target=listen, args=(scenario, listener), daemon=True))
for thread in threads:
    thread.start()
with open(f"{folder}/peer.ports.tmp", "w") as ports:
    ports.writelines(lines)
os.rename(f"{folder}/peer.ports.tmp", f"{folder}/peer.ports")
for thread in threads:
    thread.join()
