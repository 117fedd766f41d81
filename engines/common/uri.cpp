#include "engines/common/uri.h"

#include "engines/common/text.h"

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

std::wstring HostOf(const std::wstring& uri) {
    size_t scheme = uri.find(L"://");
    if (scheme == std::wstring::npos) return L"";
    size_t begin = scheme + 3;
    size_t end = uri.find_first_of(L"/?#", begin);
    std::wstring authority = uri.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
    size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) authority.erase(0, at + 1);
    size_t colon = authority.rfind(L':');
    if (colon != std::wstring::npos && authority.find(L']', colon) == std::wstring::npos) authority.erase(colon);
    for (wchar_t& c : authority) c = LowerAscii(c);
    return authority;
}
