#include "engines/common/uri.h"

#include <initializer_list>

#include "engines/common/text.h"
#include "settings/web_host.h"

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

bool IsExternalAddress(const std::wstring& uri) {
    size_t colon = uri.find(L':');
    if (colon == std::wstring::npos) return false;
    std::wstring scheme;
    for (wchar_t c : uri.substr(0, colon + 1)) scheme += LowerAscii(c);
    for (const wchar_t* own : {L"http:", L"https:", L"data:", L"about:", L"blob:", L"javascript:", L"chrome-error:"})
        if (scheme == own) return false;
    return true;
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
    size_t end = uri.find_first_of(IsSpecialScheme(parts.scheme) ? L"/?#\\" : L"/?#", begin);
    std::wstring authority = uri.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
    parts.rest = end == std::wstring::npos ? L"" : uri.substr(end);
    size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) {
        parts.userInfo = authority.substr(0, at);
        authority.erase(0, at + 1);
    }
    // The port follows the first ":" outside an IPv6 literal's brackets.
    size_t colon = authority.find(L':', authority.starts_with(L'[') ? authority.find(L']') : 0);
    if (colon != std::wstring::npos) parts.port = authority.substr(colon + 1);
    // The runtime names the host as browsers form it; one it can't form stays lower-cased.
    FormHost(authority.substr(0, colon), parts.host);
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
    // Its path is separated by "\" too, which becomes "/".
    std::wstring rest = parts.rest;
    for (size_t i = 0; i < rest.size() && rest[i] != L'?' && rest[i] != L'#'; ++i)
        if (rest[i] == L'\\') rest[i] = L'/';
    return canonical + (rest.starts_with(L'/') ? L"" : L"/") + rest;
}

std::wstring HostOf(const std::wstring& uri) { return SplitUri(uri).host; }

std::wstring OriginOf(const std::wstring& uri) {
    UriParts parts = SplitUri(uri);
    const wchar_t* defaultPort = DefaultPort(parts.scheme);
    if (!parts.hierarchical || !defaultPort || parts.host.empty()) return L"null";
    return parts.scheme + L"://" + parts.host + (parts.port.empty() || parts.port == defaultPort ? L"" : L":" + parts.port) +
           L"/";
}
