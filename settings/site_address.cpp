#include "settings/site_address.h"

#include <cwctype>

// The program never calls setlocale, so towlower works in the classic locale
// and leaves everything but A-Z alone.
std::wstring LowerCase(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

static std::wstring Trim(const std::wstring& text) {
    size_t end = text.size();
    while (end > 0 && iswspace(text[end - 1])) --end;
    size_t start = 0;
    while (start < end && iswspace(text[start])) ++start;
    return text.substr(start, end - start);
}

bool NormalizeSiteAddress(std::wstring& address) {
    address = Trim(address);
    if (address.empty()) return false;
    if (address.find(L"://") == std::wstring::npos) address = L"https://" + address;
    std::wstring lower = LowerCase(address);
    if (lower.rfind(L"http://", 0) != 0 && lower.rfind(L"https://", 0) != 0) return false;
    return !SiteHost(address).empty();
}

std::wstring SiteOrigin(const std::wstring& address) {
    size_t marker = address.find(L"://");
    if (marker == std::wstring::npos) return {};
    size_t end = address.find_first_of(L"/?#", marker + 3);
    return LowerCase(address.substr(0, end));
}

std::wstring SiteHost(const std::wstring& address) {
    std::wstring origin = SiteOrigin(address);
    size_t marker = origin.find(L"://");
    if (marker == std::wstring::npos) return {};
    size_t start = marker + 3;
    size_t port = origin.find(L':', start);  // npos: no port, the host runs to the end
    return origin.substr(start, port == std::wstring::npos ? std::wstring::npos : port - start);
}
