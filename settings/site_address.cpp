#include "settings/site_address.h"

#include <windows.h>

#include <cwctype>

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
    std::wstring host;    // canonical
    std::wstring port;    // empty for the scheme's default
    bool hostHasAsciiForm = true;
};

// RFC 3492 with the parameters of IDNA; code points below 0x80 are copied.
std::wstring Punycode(const std::u32string& label) {
    const unsigned kBase = 36, kTmin = 1, kTmax = 26;
    std::wstring out;
    for (char32_t c : label)
        if (c < 0x80) out += static_cast<wchar_t>(c);
    size_t basic = out.size(), handled = basic;
    if (basic) out += L'-';
    auto digit = [](unsigned d) { return static_cast<wchar_t>(d < 26 ? L'a' + d : L'0' + d - 26); };
    unsigned n = 0x80, delta = 0, bias = 72;
    while (handled < label.size()) {
        char32_t next = 0x10FFFF;
        for (char32_t c : label)
            if (c >= n && c < next) next = c;
        delta += (next - n) * static_cast<unsigned>(handled + 1);
        n = next;
        for (char32_t c : label) {
            if (c < n) ++delta;
            if (c != n) continue;
            unsigned q = delta;
            for (unsigned k = kBase;; k += kBase) {
                unsigned t = k <= bias ? kTmin : k >= bias + kTmax ? kTmax : k - bias;
                if (q < t) break;
                out += digit(t + (q - t) % (kBase - t));
                q = (q - t) / (kBase - t);
            }
            out += digit(q);
            // Bias adaptation.
            delta = handled == basic ? delta / 700 : delta / 2;
            delta += delta / static_cast<unsigned>(handled + 1);
            unsigned k = 0;
            for (; delta > (kBase - kTmin) * kTmax / 2; k += kBase) delta /= kBase - kTmin;
            bias = k + (kBase - kTmin + 1) * delta / (delta + 38);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
    }
    return out;
}

// IdnToAscii of a whole name (mapped, NFKC, punycode per label), with the
// ASCII letters lowered: it keeps their case.
bool IdnAscii(const std::wstring& name, std::wstring& ascii) {
    wchar_t buffer[512];
    int length = IdnToAscii(0, name.c_str(), static_cast<int>(name.size()), buffer, 512);
    if (length <= 0) return false;
    ascii = LowerCase(std::wstring(buffer, length));
    return true;
}

// The engine keeps "ß" and the final "ς" (UTS #46 non-transitional
// processing, as the URL standard asks) and lowers "ẞ" to "ß", while
// IdnToAscii, on Windows as under Wine, still maps them the IDNA2003 way to
// "ss" and "σ".
bool IsKeptDeviation(wchar_t c) { return c == L'\x00DF' || c == L'\x1E9E' || c == L'\x03C2'; }

// A label holding "ß" or "ς": the text around them mapped by IdnToAscii and
// back, the label then encoded here.
bool LabelWithDeviations(const std::wstring& label, std::wstring& ascii) {
    std::u32string mapped;
    size_t start = 0;
    while (start <= label.size()) {
        size_t end = start;
        while (end < label.size() && !IsKeptDeviation(label[end])) ++end;
        if (end > start) {
            std::wstring piece;
            wchar_t buffer[512];
            if (!IdnAscii(label.substr(start, end - start), piece)) return false;
            int length = IdnToUnicode(0, piece.c_str(), static_cast<int>(piece.size()), buffer, 512);
            if (length <= 0) return false;
            for (int i = 0; i < length; ++i) {
                char32_t c = buffer[i];
                if (IS_HIGH_SURROGATE(buffer[i]) && i + 1 < length && IS_LOW_SURROGATE(buffer[i + 1]))
                    c = 0x10000 + ((c - 0xD800) << 10) + (buffer[++i] - 0xDC00);
                mapped += c;
            }
        }
        if (end < label.size()) mapped += label[end] == L'\x1E9E' ? U'\x00DF' : char32_t(label[end]);
        start = end + 1;
    }
    ascii = L"xn--" + Punycode(mapped);
    return true;
}

bool IsLabelDot(wchar_t c) { return c == L'.' || c == L'\x3002' || c == L'\xFF0E' || c == L'\xFF61'; }

bool HoldsKeptDeviation(const std::wstring& text) {
    for (wchar_t c : text)
        if (IsKeptDeviation(c)) return true;
    return false;
}

// The ASCII form of an international host name; false when it has none.
bool AsciiHostName(const std::wstring& name, std::wstring& ascii) {
    if (!HoldsKeptDeviation(name)) return IdnAscii(name, ascii);
    ascii.clear();
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsLabelDot(name[end])) ++end;
        std::wstring label = name.substr(start, end - start), labelAscii;
        if (!label.empty() && !(HoldsKeptDeviation(label) ? LabelWithDeviations(label, labelAscii)
                                                           : IdnAscii(label, labelAscii)))
            return false;
        ascii += labelAscii;
        if (end < name.size()) ascii += L'.';
        start = end + 1;
    }
    return true;
}

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
    size_t end = address.find_first_of(L"/?#", marker + 3);
    std::wstring authority =
        address.substr(marker + 3, end == std::wstring::npos ? std::wstring::npos : end - marker - 3);
    origin.scheme = LowerCase(address.substr(0, marker));
    // User information never belongs to the origin: the host follows the last "@".
    size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) authority.erase(0, at + 1);
    // An IPv6 literal keeps its brackets and the colons inside them.
    size_t hostEnd = authority.find(L':', authority.starts_with(L'[') ? authority.find(L']') : 0);
    origin.host = authority.substr(0, hostEnd);
    if (hostEnd != std::wstring::npos) origin.port = PortNumber(authority.substr(hostEnd + 1));
    bool ascii = true;
    for (wchar_t c : origin.host) ascii = ascii && c < 0x80;
    std::wstring converted;
    if (ascii)
        origin.host = LowerCase(origin.host);
    else if (AsciiHostName(origin.host, converted))
        origin.host = converted;
    else  // kept lower-cased: it can never equal an origin that has a host
        origin.host = LowerCase(origin.host), origin.hostHasAsciiForm = false;
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
    Origin origin = ParseOrigin(address);
    return !origin.host.empty() && origin.hostHasAsciiForm;
}

std::wstring SiteOrigin(const std::wstring& address) {
    Origin origin = ParseOrigin(address);
    if (origin.scheme.empty() && address.find(L"://") == std::wstring::npos) return {};
    return origin.scheme + L"://" + origin.host + (origin.port.empty() ? L"" : L":" + origin.port);
}

std::wstring SiteHost(const std::wstring& address) { return ParseOrigin(address).host; }
