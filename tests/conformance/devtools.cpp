#include "tests/conformance/devtools.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>

namespace {

struct Parser {
    const std::string& s;
    size_t i = 0;
    void Space() {
        while (i < s.size() && strchr(" \t\r\n", s[i])) ++i;
    }
    bool Literal(const char* word) {
        size_t n = strlen(word);
        if (s.compare(i, n, word) != 0) return false;
        i += n;
        return true;
    }
    static void Utf8(unsigned code, std::string& out) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | code >> 6), out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | code >> 12), out += char(0x80 | (code >> 6 & 0x3F)), out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | code >> 18), out += char(0x80 | (code >> 12 & 0x3F));
            out += char(0x80 | (code >> 6 & 0x3F)), out += char(0x80 | (code & 0x3F));
        }
    }
    bool Hex4(unsigned& code) {
        if (i + 4 > s.size()) return false;
        code = static_cast<unsigned>(strtoul(s.substr(i, 4).c_str(), nullptr, 16));
        i += 4;
        return true;
    }
    bool String(std::string& out) {
        if (s[i++] != '"') return false;
        while (i < s.size() && s[i] != '"') {
            char c = s[i++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i >= s.size()) return false;
            char e = s[i++];
            const char* plain = strchr("\"\\/bfnrt", e);
            if (plain && e != 'u') {
                out += "\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"];
                continue;
            }
            unsigned code, low;
            if (e != 'u' || !Hex4(code)) return false;
            if (code >= 0xD800 && code < 0xDC00 && Literal("\\u") && Hex4(low))
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            Utf8(code, out);
        }
        return i++ < s.size();
    }
    bool Value(Json& v) {
        Space();
        if (i >= s.size()) return false;
        char c = s[i];
        if (c == '"') {
            v.kind = Json::kString;
            return String(v.text);
        }
        if (c == '{' || c == '[') {
            bool object = c == '{';
            v.kind = object ? Json::kObject : Json::kArray;
            ++i;
            Space();
            if (i < s.size() && s[i] == (object ? '}' : ']')) return ++i, true;
            for (;;) {
                std::string name;
                Space();
                if (object && (i >= s.size() || !String(name) || (Space(), i >= s.size() || s[i++] != ':')))
                    return false;
                Json item;
                if (!Value(item)) return false;
                if (object) {
                    v.members[name] = std::move(item);
                } else {
                    v.items.push_back(std::move(item));
                }
                Space();
                if (i >= s.size()) return false;
                if (s[i] == ',') {
                    ++i;
                    continue;
                }
                return s[i++] == (object ? '}' : ']');
            }
        }
        if (Literal("true") || Literal("false")) {
            v.kind = Json::kBool;
            v.text = c == 't' ? "true" : "false";
            return true;
        }
        if (Literal("null")) return true;
        char* end;
        v.number = strtod(s.c_str() + i, &end);
        if (end == s.c_str() + i) return false;
        v.kind = Json::kNumber;
        i = end - s.c_str();
        return true;
    }
};

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

struct WinsockUp {
    WinsockUp() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
} winsockUp;

}  // namespace

const Json& Json::operator[](const std::string& name) const {
    static const Json none;
    auto found = members.find(name);
    return found == members.end() ? none : found->second;
}

bool ParseJson(const std::string& text, Json& out) {
    Parser p{text};
    out = Json();
    if (!p.Value(out)) return false;
    p.Space();
    return p.i == text.size();
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\', out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::vector<PageTarget> ListPages(const std::string& endpoint) {
    std::vector<PageTarget> pages;
    SOCKET s = Connect(endpoint);
    if (s == INVALID_SOCKET) return pages;
    // DevTools answers HTTP/1.1 only, and keeps the connection open: the
    // body is read to its length.
    std::string reply;
    DWORD deadline = GetTickCount() + 5000;
    size_t body = std::string::npos, length = 0;
    if (SendAll(s, "GET /json/list HTTP/1.1\r\nHost: " + endpoint + "\r\n\r\n"))
        while ((body = reply.find("\r\n\r\n")) == std::string::npos &&
               ReadTo(s, reply, reply.size() + 1, deadline)) {
        }
    size_t field = reply.find("Content-Length:");
    if (body != std::string::npos && field < body) {
        length = strtoul(reply.c_str() + field + 15, nullptr, 10);
        body += 4;
        if (!ReadTo(s, reply, body + length, deadline)) body = std::string::npos;
    }
    closesocket(s);
    Json list;
    if (body == std::string::npos || !ParseJson(reply.substr(body, length), list)) return pages;
    for (const Json& t : list.items) {
        std::string socketUrl = t.Str("webSocketDebuggerUrl");
        size_t path = socketUrl.find('/', sizeof "ws://");
        if (t.Str("type") == "page" && path != std::string::npos)
            pages.push_back({t.Str("id"), t.Str("url"), socketUrl.substr(path)});
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
    DWORD deadline = GetTickCount() + 5000;
    size_t end = std::string::npos;
    if (SendAll(socket_, upgrade))
        while ((end = pending_.find("\r\n\r\n")) == std::string::npos &&
               ReadTo(socket_, pending_, pending_.size() + 1, deadline)) {
        }
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

Json PageSession::Call(const std::string& method, const std::string& params, DWORD timeoutMs) {
    int id = nextId_++;
    if (!Send("{\"id\":" + std::to_string(id) + ",\"method\":" + Quote(method) + ",\"params\":" + params + "}"))
        return Json();
    DWORD deadline = GetTickCount() + timeoutMs;
    std::string text;
    while (static_cast<long>(deadline - GetTickCount()) > 0 && Receive(text, deadline - GetTickCount())) {
        Json message;
        if (!ParseJson(text, message)) continue;
        if (message["id"].kind == Json::kNumber && static_cast<int>(message["id"].number) == id)
            return message["result"];
        if (!message.Str("method").empty() && events_.size() < 4096) events_.push_back(std::move(message));
    }
    return Json();
}

std::string PageSession::Eval(const std::string& script, bool gesture, DWORD timeoutMs) {
    std::string expression = "(async () => String(await (async () => { " + script + " })()))()";
    Json result = Call("Runtime.evaluate",
                       "{\"expression\":" + Quote(expression) + ",\"awaitPromise\":true,\"returnByValue\":true," +
                           "\"userGesture\":" + (gesture ? "true" : "false") + "}",
                       timeoutMs);
    if (result.kind == Json::kNull) return "(error) no answer";
    if (result["exceptionDetails"].kind != Json::kNull)
        return "(error) " + result["exceptionDetails"]["exception"].Str("description");
    return result["result"].Str("value");
}

Json PageSession::WaitForEvent(const std::string& method, const std::string& urlPart, DWORD timeoutMs) {
    auto matches = [&](const Json& e) {
        const Json& p = e["params"];
        std::string url = p["response"].Str("url") + " " + p["request"].Str("url");
        return e.Str("method") == method && url.find(urlPart) != std::string::npos;
    };
    for (size_t i = 0; i < events_.size(); ++i)
        if (matches(events_[i])) {
            Json found = events_[i]["params"];
            events_.erase(events_.begin(), events_.begin() + i + 1);
            return found;
        }
    events_.clear();
    DWORD deadline = GetTickCount() + timeoutMs;
    std::string text;
    while (static_cast<long>(deadline - GetTickCount()) > 0 && Receive(text, deadline - GetTickCount())) {
        Json message;
        if (ParseJson(text, message) && matches(message)) return message["params"];
    }
    return Json();
}
