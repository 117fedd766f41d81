#include "settings/site_address.h"

#include <cwctype>

#include "settings/web_host.h"

// The program never calls setlocale, so towlower works in the classic locale
// and leaves everything but A-Z alone.
std::wstring LowerCase(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

// Only the prefix is lowered: the answer is the same as for the whole
// address, and this runs for every navigation.
bool StartsWithScheme(const std::wstring& address, const std::wstring& scheme) {
    return LowerCase(address.substr(0, scheme.size())) == scheme;
}

bool IsMessageAddress(const std::wstring& address) {
    return StartsWithScheme(address, L"data:") || StartsWithScheme(address, L"about:");
}

static std::wstring Trim(const std::wstring& text) {
    size_t end = text.size();
    while (end > 0 && iswspace(text[end - 1])) --end;
    size_t start = 0;
    while (start < end && iswspace(text[start])) ++start;
    return text.substr(start, end - start);
}

namespace {

struct Origin {
    std::wstring scheme;  // lower-cased; empty, with the rest, when there is no "://"
    std::wstring host;    // as browsers form it
    std::wstring port;    // empty for the scheme's default
    bool hostFormed = true;
};

// Digits without leading zeros; other text as it stands.
std::wstring PortNumber(const std::wstring& port) {
    if (port.empty() || port.find_first_not_of(L"0123456789") != std::wstring::npos) return port;
    size_t first = port.find_first_not_of(L'0');
    return first == std::wstring::npos ? L"0" : port.substr(first);
}

Origin ParseOrigin(const std::wstring& address) {
    Origin origin;
    size_t marker = address.find(L"://");
    if (marker == std::wstring::npos) return origin;
    origin.scheme = LowerCase(address.substr(0, marker));
    size_t end = address.find_first_of(IsSpecialScheme(origin.scheme) ? L"/?#\\" : L"/?#", marker + 3);
    std::wstring authority =
        address.substr(marker + 3, end == std::wstring::npos ? std::wstring::npos : end - marker - 3);
    // User information never belongs to the origin: the host follows the last "@".
    size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) authority.erase(0, at + 1);
    // An IPv6 literal keeps its brackets and the colons inside them.
    size_t hostEnd = authority.find(L':', authority.starts_with(L'[') ? authority.find(L']') : 0);
    origin.hostFormed = FormHost(authority.substr(0, hostEnd), origin.host);
    if (hostEnd != std::wstring::npos) origin.port = PortNumber(authority.substr(hostEnd + 1));
    if ((origin.scheme == L"http" && origin.port == L"80") || (origin.scheme == L"https" && origin.port == L"443"))
        origin.port.clear();
    return origin;
}

}  // namespace

bool NormalizeSiteAddress(std::wstring& address) {
    address = Trim(address);
    if (address.empty()) return false;
    if (address.find(L"://") == std::wstring::npos) address = L"https://" + address;
    std::wstring lower = LowerCase(address);
    if (lower.rfind(L"http://", 0) != 0 && lower.rfind(L"https://", 0) != 0) return false;
    // A port is digits up to 65535 (none: the scheme's own); browsers load
    // no address with another, so the view would stay as it was, unexplained.
    Origin origin = ParseOrigin(address);
    const std::wstring& port = origin.port;
    return !origin.host.empty() && origin.hostFormed && port.find_first_not_of(L"0123456789") == std::wstring::npos &&
           (port.size() < 5 || (port.size() == 5 && port <= L"65535"));
}

std::wstring SiteOrigin(const std::wstring& address) {
    Origin origin = ParseOrigin(address);
    if (origin.scheme.empty() && address.find(L"://") == std::wstring::npos) return {};
    return origin.scheme + L"://" + origin.host + (origin.port.empty() ? L"" : L":" + origin.port);
}

std::wstring SiteHost(const std::wstring& address) { return ParseOrigin(address).host; }
