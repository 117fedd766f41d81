// The suite's own web site, served on 127.0.0.1 from a thread of the suite:
// a few pages, a redirect and a PDF. It can stop and start again on the
// same port, as a server that goes down and comes back.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <string>

class Site {
public:
    Site();  // listening on a free port; port() is 0 when it could not
    ~Site();
    Site(const Site&) = delete;
    Site& operator=(const Site&) = delete;

    int port() const { return port_; }
    std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The same port under another host name: another site to the browser.
    std::string OtherOrigin() const { return "http://localhost:" + std::to_string(port_); }
    bool listening() const { return listener_ != INVALID_SOCKET; }
    void Stop();   // connections are refused from now on
    bool Start();  // on the same port again

private:
    static DWORD WINAPI Serve(void* self);
    void Answer(SOCKET client);
    std::atomic<SOCKET> listener_{INVALID_SOCKET};
    std::atomic<bool> ending_{false};
    HANDLE thread_ = nullptr;
    int port_ = 0;
};
