#include "engines/chromium/devtools.h"

#include <wincrypt.h>

#include <thread>
#include <utility>

#include "engines/chromium/later.h"
#include "engines/common/engine.h"

namespace {

const json kNull;
const DWORD kPingInterval = 3000, kPingTimeout = 10000;

// Reads a whole small HTTP answer body (the version document), bounded.
std::string ReadBody(HINTERNET request) {
    std::string body;
    char buffer[4096];
    DWORD read = 0;
    while (body.size() < 65536 && WinHttpReadData(request, buffer, sizeof buffer, &read) && read > 0)
        body.append(buffer, read);
    return body;
}

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0, size = sizeof status;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                        &status, &size, WINHTTP_NO_HEADER_INDEX);
    return status;
}

HRESULT LastError() {
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// Sends a GET and waits for the answer's headers; the request handle, or null.
HINTERNET Get(HINTERNET connection, const std::wstring& path, bool upgrade) {
    HINTERNET request = WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
    if (!request) return nullptr;
    if ((!upgrade || WinHttpSetOption(request, WINHTTP_OPTION_UPGRADE_TO_WEB_SOCKET, nullptr, 0)) &&
        WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
        WinHttpReceiveResponse(request, nullptr))
        return request;
    DWORD error = GetLastError();
    WinHttpCloseHandle(request);
    SetLastError(error);
    return nullptr;
}

}  // namespace

std::string JsonString(const json& object, const char* key) {
    auto found = object.is_object() ? object.find(key) : object.end();
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

long long JsonNumber(const json& object, const char* key) {
    auto found = object.is_object() ? object.find(key) : object.end();
    return found != object.end() && found->is_number() ? found->get<long long>() : 0;
}

const json& JsonObject(const json& object, const char* key) {
    auto found = object.is_object() ? object.find(key) : object.end();
    return found != object.end() ? *found : kNull;
}

std::string ToBase64(const std::string& bytes) {
    DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF, size = 0;
    auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    if (bytes.empty() || !CryptBinaryToStringA(data, static_cast<DWORD>(bytes.size()), flags, nullptr, &size))
        return "";
    std::string text(size, '\0');
    if (!CryptBinaryToStringA(data, static_cast<DWORD>(bytes.size()), flags, text.data(), &size)) return "";
    text.resize(size);
    return text;
}

std::string FromBase64(const std::string& text) {
    DWORD size = 0;
    if (!CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64, nullptr, &size,
                              nullptr, nullptr))
        return "";
    std::string bytes(size, '\0');
    if (!CryptStringToBinaryA(text.data(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64,
                              reinterpret_cast<BYTE*>(bytes.data()), &size, nullptr, nullptr))
        return "";
    bytes.resize(size);
    return bytes;
}

void DevTools::Open(const std::wstring& endpoint, std::set<std::string> wanted, Opened opened) {
    std::shared_ptr<DevTools> devtools(new DevTools(std::move(wanted)));
    std::thread([devtools, endpoint, opened] { devtools->Run(endpoint, opened); }).detach();
}

DevTools::~DevTools() {
    for (HINTERNET handle : {socket_, connection_, session_})
        if (handle) WinHttpCloseHandle(handle);
}

void DevTools::Run(std::wstring endpoint, Opened opened) {
    auto self = shared_from_this();
    HRESULT error = E_INVALIDARG;
    std::string version;
    size_t colon = endpoint.rfind(L':');
    int port = colon == std::wstring::npos ? 0 : _wtoi(endpoint.c_str() + colon + 1);
    if (port > 0 && port < 65536) {
        session_ = WinHttpOpen(L"Velotide engine", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0);
        WinHttpSetTimeouts(session_, 0, 2000, 5000, 5000);
        connection_ = WinHttpConnect(session_, endpoint.substr(0, colon).c_str(), static_cast<INTERNET_PORT>(port), 0);
        error = connection_ ? S_OK : LastError();
    }
    // The version document names the browser and its WebSocket address.
    if (SUCCEEDED(error)) {
        HINTERNET request = Get(connection_, L"/json/version", false);
        json document = request && StatusCode(request) == 200 ? json::parse(ReadBody(request), nullptr, false) : json();
        error = request ? S_OK : LastError();
        if (request) WinHttpCloseHandle(request);
        std::string address = JsonString(document, "webSocketDebuggerUrl");
        std::string browser = JsonString(document, "Browser");
        version = browser.substr(browser.find('/') + 1);
        size_t path = address.find('/', address.find("://") + 3);
        if (SUCCEEDED(error) && (address.rfind("ws://", 0) != 0 || path == std::string::npos))
            error = HRESULT_FROM_WIN32(ERROR_BAD_NET_RESP);
        if (SUCCEEDED(error)) {
            request = Get(connection_, Wide(address.substr(path)), true);
            socket_ = request && StatusCode(request) == 101 ? WinHttpWebSocketCompleteUpgrade(request, 0) : nullptr;
            error = socket_ ? S_OK : request ? HRESULT_FROM_WIN32(ERROR_BAD_NET_RESP) : LastError();
            if (request) WinHttpCloseHandle(request);
        }
    }
    PostTask([self, opened, error, version] {
        if (FAILED(error)) self->ended_ = self->over_ = true;
        if (SUCCEEDED(error)) self->Watch();
        opened(self, error, version);
    });
    if (FAILED(error)) return;
    HINTERNET socket = socket_;  // Lose may take the member away while a receive waits

    // Idle connections are normal: a receive that times out is simply repeated.
    DWORD forever = 0;
    WinHttpSetOption(socket_, WINHTTP_OPTION_RECEIVE_TIMEOUT, &forever, sizeof forever);
    std::string message;
    std::string buffer(1 << 16, '\0');
    for (;;) {
        DWORD read = 0;
        WINHTTP_WEB_SOCKET_BUFFER_TYPE type;
        DWORD result = WinHttpWebSocketReceive(socket, buffer.data(), static_cast<DWORD>(buffer.size()), &read, &type);
        if (result == ERROR_WINHTTP_TIMEOUT) continue;
        if (result != ERROR_SUCCESS || type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE) break;
        if (message.size() + read > kMaxMessageBytes) break;
        message.append(buffer.data(), read);
        if (type == WINHTTP_WEB_SOCKET_UTF8_FRAGMENT_BUFFER_TYPE || type == WINHTTP_WEB_SOCKET_BINARY_FRAGMENT_BUFFER_TYPE)
            continue;
        json parsed = json::parse(message, nullptr, false);
        message.clear();
        if (!parsed.is_object()) continue;
        std::string method = JsonString(parsed, "method");
        if (!method.empty() && !wanted_.count(method)) continue;
        PostTask([self, parsed = std::move(parsed)] { self->Dispatch(parsed); });
    }
    PostTask([self] { self->Lose(); });
}

void DevTools::Call(const std::string& method, json params, const std::string& session, Reply reply) {
    if (!open()) {
        if (reply) PostTask([reply] { reply(kNull, json{{"message", "not connected"}}); });
        return;
    }
    long long id = nextId_++;
    json message = {{"id", id}, {"method", method}, {"params", params.is_object() ? std::move(params) : json::object()}};
    if (!session.empty()) message["sessionId"] = session;
    if (reply) replies_[id] = std::move(reply);
    std::string text = message.dump(-1, ' ', false, json::error_handler_t::replace);
    // A failed send leaves the connection useless: it ends, once the caller is done.
    if (WinHttpWebSocketSend(socket_, WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE, text.data(),
                             static_cast<DWORD>(text.size())) != ERROR_SUCCESS)
        PostTask([self = shared_from_this()] { self->Lose(); });
}

// A browser that stops answering counts as gone: every few seconds a cheap
// command goes out, and one left unanswered too long ends the connection.
void DevTools::Watch() {
    RunLater(kPingInterval, [weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self || self->over_) return;
        ULONGLONG now = GetTickCount64();
        if (self->pingSent_ && now - self->pingSent_ >= kPingTimeout) return self->Lose();
        if (!self->pingSent_ && self->open()) {
            self->pingSent_ = now;
            self->Call("Browser.getVersion", json::object(), "", [weak](const json&, const json&) {
                if (auto self = weak.lock()) self->pingSent_ = 0;
            });
        }
        self->Watch();
    });
}

void DevTools::Listen(const std::string& session, Listener listener) { listeners_[session] = std::move(listener); }

void DevTools::Forget(const std::string& session) { listeners_.erase(session); }

void DevTools::Dispatch(const json& message) {
    if (message.contains("id")) {
        auto found = replies_.find(JsonNumber(message, "id"));
        if (found == replies_.end()) return;
        Reply reply = std::move(found->second);
        replies_.erase(found);
        reply(JsonObject(message, "result"), JsonObject(message, "error"));
        return;
    }
    auto found = listeners_.find(JsonString(message, "sessionId"));
    if (found == listeners_.end()) return;
    Listener listener = found->second;  // a copy: the listener may forget itself
    listener(JsonString(message, "method"), JsonObject(message, "params"));
}

void DevTools::Close() {
    if (ended_ || !socket_) return;
    ended_ = true;
    // The browser answers with its own close, which ends the reader.
    WinHttpWebSocketShutdown(socket_, WINHTTP_WEB_SOCKET_SUCCESS_CLOSE_STATUS, nullptr, 0);
}

void DevTools::Lose() {
    // Closing the handle also ends a receive that waits on it.
    if (HINTERNET socket = std::exchange(socket_, nullptr)) WinHttpCloseHandle(socket);
    End();
}

void DevTools::End() {
    if (over_) return;
    ended_ = over_ = true;
    // Whatever still waits for a reply hears that none will come.
    auto pending = std::move(replies_);
    replies_.clear();
    for (auto& [id, reply] : pending) reply(kNull, json{{"message", "connection closed"}});
    if (auto closed = std::move(closed_)) closed();
    listeners_.clear();
}
