// A small client of the Chrome DevTools Protocol, over plain sockets: the
// endpoint's list of pages (HTTP) and one page's session (WebSocket). It is
// what the suite knows of the browser behind the view, whichever it is.
#pragma once

#include <winsock2.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

using Json = nlohmann::json;
// The value at path ("/result/value") in json; null when there is none.
const Json& At(const Json& json, const std::string& path);
// The string at path; "" when there is none.
std::string Text(const Json& json, const std::string& path);
// text as a JSON string literal, quotes included.
inline std::string Quote(const std::string& text) { return Json(text).dump(); }

// One open page of the browser ("page" targets of /json/list).
struct PageTarget {
    std::string id, url, socketPath;
};
// The pages the endpoint ("127.0.0.1:PORT") lists; empty when it can't be reached.
std::vector<PageTarget> ListPages(const std::string& endpoint);

class PageSession {
public:
    // Connects to the page's WebSocket; connected() tells whether it did.
    PageSession(const std::string& endpoint, const PageTarget& page);
    ~PageSession();
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;
    bool connected() const { return socket_ != INVALID_SOCKET; }

    // Sends method with params (a JSON object) and returns its "result";
    // null on an error, a lost connection or no answer within timeoutMs.
    Json Call(const std::string& method, const std::string& params = "{}", DWORD timeoutMs = 10000);
    // Runs a script in the page and returns its value as a string (a promise
    // is awaited); gesture: as if the person had just clicked. "(error) ..."
    // when it threw or the page could not be reached.
    std::string Eval(const std::string& script, bool gesture = false, DWORD timeoutMs = 10000);
    // The first message that wanted holds of, of the events read so far or of
    // the messages read within timeoutMs; null when none. Events passed by
    // are kept for later.
    Json Read(const std::function<bool(const Json&)>& wanted, DWORD timeoutMs);

private:
    bool Send(const std::string& text);
    bool Receive(std::string& message, DWORD timeoutMs);  // one whole text message
    SOCKET socket_ = INVALID_SOCKET;
    int nextId_ = 1;
    std::vector<Json> events_;  // the events read while waiting for answers, oldest first
    std::string pending_;       // bytes read past the last frame
};
