#include "tests/conformance/site.h"

#include <cstring>

namespace {

const char kPageTop[] =
    "<!doctype html><meta charset=utf-8><link rel=icon href=data:,>"
    "<style>body{font:16px sans-serif;margin:2em}</style>";

struct Page {
    const char* path;
    const char* title;
    const char* body;
};
const Page kPages[] = {
    {"/", "Conformance home", "<h1>The suite's site</h1><p>Home page.</p>"},
    {"/next", "Next page", "<p>Another page of the site.</p>"},
    {"/form", "Unsaved form",
     "<textarea id=text rows=5 cols=40></textarea><script>"
     "addEventListener('beforeunload', e => { if (text.value) { e.preventDefault(); e.returnValue = ''; } });"
     "</script>"},
};

// A one-page PDF saying "Velotide".
const char kPdf[] =
    "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
    "2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n"
    "3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 300 144]/Contents 4 0 R"
    "/Resources<</Font<</F1 5 0 R>>>>>>endobj\n"
    "4 0 obj<</Length 41>>stream\nBT /F1 24 Tf 40 60 Td (Velotide) Tj ET\nendstream endobj\n"
    "5 0 obj<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>endobj\ntrailer<</Root 1 0 R>>\n%%EOF\n";

std::string Reply(const std::string& status, const std::string& type, const std::string& body,
                  const std::string& extra = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n" + extra + "\r\n" +
           body;
}

std::string Answer(const std::string& target) {
    std::string path = target.substr(0, target.find('?'));
    std::string query = path.size() < target.size() ? target.substr(path.size() + 1) : "";
    if (path == "/redirect" && query.rfind("to=", 0) == 0)
        return Reply("302 Found", "text/plain", "", "Location: " + query.substr(3) + "\r\n");
    if (path == "/doc.pdf") return Reply("200 OK", "application/pdf", kPdf);
    for (const Page& page : kPages)
        if (path == page.path)
            return Reply("200 OK", "text/html; charset=utf-8",
                         std::string(kPageTop) + "<title>" + page.title + "</title>" + page.body);
    return Reply("404 Not Found", "text/plain", "not here");
}

}  // namespace

Site::Site() {
    if (Start()) thread_ = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
}

Site::~Site() {
    ending_ = true;
    Stop();
    if (thread_) {
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
}

bool Site::Start() {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    BOOL reuse = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    int size = sizeof address;
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(s, 16) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (s != INVALID_SOCKET) closesocket(s);
        return false;
    }
    port_ = ntohs(address.sin_port);
    listener_ = s;
    return true;
}

void Site::Stop() {
    SOCKET s = listener_.exchange(INVALID_SOCKET);
    if (s != INVALID_SOCKET) closesocket(s);
}

// Serves one connection at a time until the site is destroyed; while it is
// stopped, waits for it to start again.
DWORD WINAPI Site::Serve(void* self) {
    Site* site = static_cast<Site*>(self);
    while (!site->ending_) {
        SOCKET listener = site->listener_;
        if (listener == INVALID_SOCKET) {
            Sleep(50);
            continue;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener, &readable);
        timeval wait = {0, 200000};
        if (select(0, &readable, nullptr, nullptr, &wait) != 1) continue;
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client != INVALID_SOCKET) site->Answer(client);
    }
    return 0;
}

void Site::Answer(SOCKET client) {
    DWORD timeout = 5000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string request;
    char chunk[4096];
    int n;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
           (n = recv(client, chunk, sizeof chunk, 0)) > 0)
        request.append(chunk, n);
    size_t start = request.find(' '), end = request.find(' ', start + 1);
    if (start != std::string::npos && end != std::string::npos) {
        std::string reply = ::Answer(request.substr(start + 1, end - start - 1));
        send(client, reply.data(), static_cast<int>(reply.size()), 0);
    }
    shutdown(client, SD_SEND);
    closesocket(client);
}
