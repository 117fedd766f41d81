#include "engines/common/uri.h"

#include "engines/common/text.h"

#include <windows.h>

namespace {

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; }

}  // namespace

std::wstring DataUriFromHtml(const std::wstring& html) {
    static const char kHex[] = "0123456789ABCDEF";
    std::wstring uri = L"data:text/html,";
    for (unsigned char b : Utf8(html)) {
        if (b <= 0x20 || b >= 0x7F || b == '%' || b == '#') {
            uri += L'%';
            uri += static_cast<wchar_t>(kHex[b >> 4]);
            uri += static_cast<wchar_t>(kHex[b & 15]);
        } else {
            uri += static_cast<wchar_t>(b);
        }
    }
    return uri;
}

bool GlobMatch(const std::wstring& pattern, const std::wstring& text) {
    size_t p = 0, t = 0;
    size_t starAt = std::wstring::npos, resumeAt = 0;  // last '*' and where its run ends so far
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            resumeAt = t;
        } else if (p < pattern.size() && (pattern[p] == L'?' || LowerAscii(pattern[p]) == LowerAscii(text[t]))) {
            ++p;
            ++t;
        } else if (starAt != std::wstring::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

namespace {

// "scheme://userInfo@host:port" and the rest; hierarchical is false (and the
// rest the whole address) without "://".
struct UriParts {
    bool hierarchical = false;
    std::wstring scheme, userInfo, host, port, rest;
};

UriParts SplitUri(const std::wstring& uri) {
    UriParts parts;
    size_t scheme = uri.find(L"://");
    if (scheme == std::wstring::npos) {
        parts.rest = uri;
        return parts;
    }
    parts.hierarchical = true;
    for (wchar_t c : uri.substr(0, scheme)) parts.scheme += LowerAscii(c);
    size_t begin = scheme + 3;
    size_t end = uri.find_first_of(L"/?#", begin);
    std::wstring authority = uri.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
    parts.rest = end == std::wstring::npos ? L"" : uri.substr(end);
    size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) {
        parts.userInfo = authority.substr(0, at);
        authority.erase(0, at + 1);
    }
    size_t colon = authority.rfind(L':');
    if (colon != std::wstring::npos && authority.find(L']', colon) == std::wstring::npos) {
        parts.port = authority.substr(colon + 1);
        authority.erase(colon);
    }
    bool ascii = true;
    for (wchar_t c : authority) ascii = ascii && c < 0x80;
    wchar_t converted[512];
    // The runtime names an international host by its ASCII form. (IdnToAscii
    // maps "ß" to "ss" where the runtime keeps it: a host with "ß" is named
    // differently here.)
    int length = ascii ? 0 : IdnToAscii(0, authority.c_str(), static_cast<int>(authority.size()), converted, 512);
    if (length > 0) authority.assign(converted, length);
    for (wchar_t& c : authority) c = LowerAscii(c);
    parts.host = authority;
    return parts;
}

// The schemes whose addresses the URL standard puts in canonical form, with
// their default ports.
const wchar_t* DefaultPort(const std::wstring& scheme) {
    if (scheme == L"http" || scheme == L"ws") return L"80";
    if (scheme == L"https" || scheme == L"wss") return L"443";
    if (scheme == L"ftp") return L"21";
    return nullptr;
}

}  // namespace

std::wstring CanonicalUri(const std::wstring& uri) {
    UriParts parts = SplitUri(uri);
    const wchar_t* defaultPort = DefaultPort(parts.scheme);
    if (!parts.hierarchical || !defaultPort) return uri;
    std::wstring canonical = parts.scheme + L"://" + (parts.userInfo.empty() ? L"" : parts.userInfo + L"@") + parts.host;
    if (!parts.port.empty() && parts.port != defaultPort) canonical += L":" + parts.port;
    return canonical + (parts.rest.starts_with(L'/') ? L"" : L"/") + parts.rest;
}

std::wstring HostOf(const std::wstring& uri) { return SplitUri(uri).host; }

std::wstring OriginOf(const std::wstring& uri) {
    UriParts parts = SplitUri(uri);
    const wchar_t* defaultPort = DefaultPort(parts.scheme);
    if (!parts.hierarchical || !defaultPort || parts.host.empty()) return L"null";
    return parts.scheme + L"://" + parts.host + (parts.port.empty() || parts.port == defaultPort ? L"" : L":" + parts.port) +
           L"/";
}
