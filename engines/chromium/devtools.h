// A connection to a running Chromium's DevTools endpoint, over WinHTTP's
// WebSocket. A reader thread receives and parses the messages; every reply
// and every event is handled later on the thread that opened the connection,
// from its message loop, like every other completion of the engine.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "engines/common/text.h"

using json = nlohmann::json;

// Members of a parsed message, without exceptions: "" / 0 / null when absent
// or of another type.
std::string JsonString(const json& object, const char* key);
long long JsonNumber(const json& object, const char* key);
const json& JsonObject(const json& object, const char* key);

// Binary data travels as base64 both ways.
std::string ToBase64(const std::string& bytes);
std::string FromBase64(const std::string& text);

class DevTools : public std::enable_shared_from_this<DevTools> {
public:
    // result and error: the reply's members; error is null on success.
    using Reply = std::function<void(const json& result, const json& error)>;
    using Listener = std::function<void(const std::string& method, const json& params)>;
    using Opened = std::function<void(const std::shared_ptr<DevTools>& devtools, HRESULT error,
                                      const std::string& browserVersion)>;

    // Connects to "127.0.0.1:port" on a thread of its own; opened runs later,
    // here, with S_OK and the browser's version, or with the failure. Events
    // whose method is not in wanted are dropped on the reader thread.
    static void Open(const std::wstring& endpoint, std::set<std::string> wanted, Opened opened);
    ~DevTools();

    // Sends a command to the browser (session "") or to an attached target.
    void Call(const std::string& method, json params, const std::string& session = "", Reply reply = nullptr);
    // Events of a session ("" for the browser's own) go to its listener.
    void Listen(const std::string& session, Listener listener);
    void Forget(const std::string& session);
    // Runs once when the connection ends (the browser went away, hangs, or Close).
    void OnClosed(std::function<void()> closed) { closed_ = std::move(closed); }
    bool open() const { return socket_ != nullptr && !ended_; }
    void Close();
    // What it holds, for the engine's stats.
    size_t pendingReplies() const { return replies_.size(); }
    size_t listeners() const { return listeners_.size(); }

    // A message larger than this is no DevTools peer's: it ends the connection.
    static constexpr size_t kMaxMessageBytes = 32u << 20;

private:
    DevTools(std::set<std::string> wanted) : wanted_(std::move(wanted)) {}
    void Run(std::wstring endpoint, Opened opened);  // the reader thread
    void Dispatch(const json& message);
    void Watch();  // the liveness check
    void Lose();  // the connection is gone or useless: ends it now
    void End();

    const std::set<std::string> wanted_;
    HINTERNET session_ = nullptr, connection_ = nullptr, socket_ = nullptr;
    long long nextId_ = 1;
    std::map<long long, Reply> replies_;
    std::map<std::string, Listener> listeners_;
    std::function<void()> closed_;
    bool ended_ = false;  // no more sends
    bool over_ = false;   // End has run
    ULONGLONG pingSent_ = 0;  // of the unanswered liveness check, or 0
};
