#include "tests/conformance/devtools.h"

#include <ws2tcpip.h>

#include <cstdlib>

namespace {

SOCKET Connect(const std::string& endpoint) {
    size_t colon = endpoint.rfind(':');
    if (colon == std::string::npos) return INVALID_SOCKET;
    addrinfo hints = {}, *found = nullptr;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(endpoint.substr(0, colon).c_str(), endpoint.substr(colon + 1).c_str(), &hints, &found) != 0)
        return INVALID_SOCKET;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s != INVALID_SOCKET && connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0) {
        closesocket(s);
        s = INVALID_SOCKET;
    }
    freeaddrinfo(found);
    return s;
}

bool SendAll(SOCKET s, const std::string& data) {
    for (size_t sent = 0; sent < data.size();) {
        int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}

// Reads into buffer until it holds `want` bytes; false on close or timeout.
bool ReadTo(SOCKET s, std::string& buffer, size_t want, DWORD deadline) {
    while (buffer.size() < want) {
        long left = static_cast<long>(deadline - GetTickCount());
        if (left <= 0) return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval wait = {left / 1000, (left % 1000) * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) != 1) return false;
        char chunk[16384];
        int n = recv(s, chunk, sizeof chunk, 0);
        if (n <= 0) return false;
        buffer.append(chunk, n);
    }
    return true;
}

// Sends an HTTP request and reads the answer's head; where the head ends in
// reply, or npos.
size_t AskHead(SOCKET s, const std::string& request, std::string& reply, DWORD deadline) {
    size_t end = std::string::npos;
    if (SendAll(s, request))
        while ((end = reply.find("\r\n\r\n")) == std::string::npos && ReadTo(s, reply, reply.size() + 1, deadline)) {
        }
    return end;
}

struct WinsockUp {
    WinsockUp() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
} winsockUp;

}  // namespace

const Json& At(const Json& json, const std::string& path) {
    static const Json none;
    Json::json_pointer pointer(path);
    return json.contains(pointer) ? json.at(pointer) : none;
}

std::string Text(const Json& json, const std::string& path) {
    const Json& value = At(json, path);
    return value.is_string() ? value.get<std::string>() : "";
}

std::vector<PageTarget> ListPages(const std::string& endpoint) {
    std::vector<PageTarget> pages;
    SOCKET s = Connect(endpoint);
    if (s == INVALID_SOCKET) return pages;
    // DevTools answers HTTP/1.1 only, and keeps the connection open: the
    // body is read to its length.
    std::string reply;
    DWORD deadline = GetTickCount() + 5000;
    size_t body = AskHead(s, "GET /json/list HTTP/1.1\r\nHost: " + endpoint + "\r\n\r\n", reply, deadline), length = 0;
    size_t field = reply.find("Content-Length:");
    if (body != std::string::npos && field < body) {
        length = strtoul(reply.c_str() + field + 15, nullptr, 10);
        body += 4;
        if (!ReadTo(s, reply, body + length, deadline)) body = std::string::npos;
    }
    closesocket(s);
    Json list = body == std::string::npos ? Json() : Json::parse(reply.substr(body, length), nullptr, false);
    if (!list.is_array()) return pages;
    for (const Json& t : list) {
        std::string socketUrl = Text(t, "/webSocketDebuggerUrl");
        size_t path = socketUrl.find('/', sizeof "ws://");
        if (Text(t, "/type") == "page" && path != std::string::npos)
            pages.push_back({Text(t, "/id"), Text(t, "/url"), socketUrl.substr(path)});
    }
    return pages;
}

PageSession::PageSession(const std::string& endpoint, const PageTarget& page) {
    socket_ = Connect(endpoint);
    if (socket_ == INVALID_SOCKET) return;
    // The key is any 16 bytes in base64; no Origin header, which DevTools
    // would have to be told to allow.
    std::string upgrade = "GET " + page.socketPath + " HTTP/1.1\r\nHost: " + endpoint +
                          "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Key: dmVsb3RpZGUtc3VpdGUxMg==\r\nSec-WebSocket-Version: 13\r\n\r\n";
    size_t end = AskHead(socket_, upgrade, pending_, GetTickCount() + 5000);
    if (end == std::string::npos || pending_.compare(0, 12, "HTTP/1.1 101") != 0) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
        return;
    }
    pending_.erase(0, end + 4);
}

PageSession::~PageSession() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

bool PageSession::Send(const std::string& text) {
    std::string frame(1, '\x81');  // a whole text message
    size_t n = text.size();
    if (n < 126) {
        frame += char(0x80 | n);
    } else {
        frame += char(0x80 | 127);
        for (int shift = 56; shift >= 0; shift -= 8) frame += char(static_cast<unsigned long long>(n) >> shift);
    }
    const char mask[4] = {0x12, 0x34, 0x56, 0x78};
    frame.append(mask, 4);
    for (size_t i = 0; i < n; ++i) frame += char(text[i] ^ mask[i % 4]);
    return connected() && SendAll(socket_, frame);
}

bool PageSession::Receive(std::string& message, DWORD timeoutMs) {
    DWORD deadline = GetTickCount() + timeoutMs;
    message.clear();
    for (;;) {
        if (!ReadTo(socket_, pending_, 2, deadline)) return false;
        unsigned char head = pending_[0], second = pending_[1];
        size_t header = 2, length = second & 0x7F;
        if (length >= 126) {
            size_t bytes = length == 126 ? 2 : 8;
            if (!ReadTo(socket_, pending_, 2 + bytes, deadline)) return false;
            length = 0;
            for (size_t i = 0; i < bytes; ++i) length = length << 8 | static_cast<unsigned char>(pending_[2 + i]);
            header += bytes;
        }
        if (length > (64u << 20) || !ReadTo(socket_, pending_, header + length, deadline)) return false;
        unsigned opcode = head & 0x0F;
        if (opcode == 8) return false;  // closed
        if (opcode <= 2) message.append(pending_, header, length);
        pending_.erase(0, header + length);
        if ((head & 0x80) && opcode <= 2) return true;
    }
}

Json PageSession::Read(const std::function<bool(const Json&)>& wanted, DWORD timeoutMs) {
    for (auto e = events_.begin(); e != events_.end(); ++e)
        if (wanted(*e)) {
            Json found = std::move(*e);
            events_.erase(events_.begin(), e + 1);
            return found;
        }
    DWORD deadline = GetTickCount() + timeoutMs;
    std::string text;
    while (static_cast<long>(deadline - GetTickCount()) > 0 && Receive(text, deadline - GetTickCount())) {
        Json message = Json::parse(text, nullptr, false);
        if (wanted(message)) return message;
        if (!Text(message, "/method").empty() && events_.size() < 4096) events_.push_back(std::move(message));
    }
    return Json();
}

Json PageSession::Call(const std::string& method, const std::string& params, DWORD timeoutMs) {
    int id = nextId_++;
    if (!Send("{\"id\":" + std::to_string(id) + ",\"method\":" + Quote(method) + ",\"params\":" + params + "}"))
        return Json();
    return At(Read([&](const Json& m) { return At(m, "/id") == id; }, timeoutMs), "/result");
}

std::string PageSession::Eval(const std::string& script, bool gesture, DWORD timeoutMs) {
    std::string expression = "(async () => String(await (async () => { " + script + " })()))()";
    Json result = Call("Runtime.evaluate",
                       "{\"expression\":" + Quote(expression) + ",\"awaitPromise\":true,\"returnByValue\":true," +
                           "\"userGesture\":" + (gesture ? "true" : "false") + "}",
                       timeoutMs);
    if (result.is_null()) return "(error) no answer";
    if (!At(result, "/exceptionDetails").is_null())
        return "(error) " + Text(result, "/exceptionDetails/exception/description");
    return Text(result, "/result/value");
}
