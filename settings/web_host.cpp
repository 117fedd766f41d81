#include "settings/web_host.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

bool IsSpecialScheme(const std::wstring& scheme) {
    return scheme == L"https" || scheme == L"http" || scheme == L"wss" || scheme == L"ws" || scheme == L"ftp" ||
           scheme == L"file";
}

namespace {

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; }

std::wstring Lowered(std::wstring text) {
    for (wchar_t& c : text) c = LowerAscii(c);
    return text;
}

// Bit c - base set for each character c of chars in [base, base + 64).
constexpr uint64_t CharMask(const char* chars, int base) {
    uint64_t mask = 0;
    for (; *chars; ++chars)
        if (*chars >= base && *chars < base + 64) mask |= 1ull << (*chars - base);
    return mask;
}

// What no host may hold: the URL standard's forbidden domain code points,
// and "*", which Chromium writes as an escape (as it does a space, which the
// standard refuses) where the standard keeps it. No such host can be looked up.
bool IsForbidden(wchar_t c) {
    static constexpr const char* kForbidden = "#%*/:<>?@[\\]^|";
    static constexpr uint64_t kLow = CharMask(kForbidden, 0), kHigh = CharMask(kForbidden, 64);
    return c <= 0x20 || c == 0x7F || (c < 64 ? kLow >> c & 1 : c < 128 && kHigh >> (c - 64) & 1);
}

int HexValue(wchar_t c) {
    return c >= L'0' && c <= L'9' ? c - L'0' : (c | 0x20) >= L'a' && (c | 0x20) <= L'f' ? (c | 0x20) - L'a' + 10 : -1;
}

bool IsLabelDot(wchar_t c) { return c == L'.' || c == L'\x3002' || c == L'\xFF0E' || c == L'\xFF61'; }

std::u32string CodePoints(const wchar_t* text, size_t length) {
    std::u32string points;
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (IS_HIGH_SURROGATE(text[i]) && i + 1 < length && IS_LOW_SURROGATE(text[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        points += c;
    }
    return points;
}

void AppendUtf16(std::wstring& text, char32_t c) {
    if (c < 0x10000) {
        text += static_cast<wchar_t>(c);
    } else {
        text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

// Digits of value in radix 10 or 16 (lower-case), no leading zeros. Here
// rather than a printf, which would add some 20 KB to the program.
void AppendNumber(std::wstring& text, uint64_t value, uint32_t radix) {
    wchar_t digits[20], *end = digits + 20, *first = end;
    do *--first = L"0123456789abcdef"[value % radix];
    while (value /= radix);
    text.append(first, end);
}

// Percent-escapes decoded, the bytes read as UTF-8: a sequence that is no
// UTF-8 becomes U+FFFD, which IdnToAscii refuses.
std::wstring PercentDecoded(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0'), decoded;
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    for (size_t i = 0; i < bytes.size(); ++i) {
        int high = i + 2 < bytes.size() ? HexValue(static_cast<unsigned char>(bytes[i + 1])) : -1;
        int low = high >= 0 ? HexValue(static_cast<unsigned char>(bytes[i + 2])) : -1;
        if (bytes[i] == '%' && low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += bytes[i];
        }
    }
    int length = MultiByteToWideChar(CP_UTF8, 0, decoded.data(), static_cast<int>(decoded.size()), nullptr, 0);
    std::wstring out(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, decoded.data(), static_cast<int>(decoded.size()), out.data(), length);
    return out;
}

// UTS #46 "ignored" (Unicode 16, as browsers have it): mapped to nothing.
bool IsIgnored(char32_t c) {
    static const char32_t kRanges[][2] = {
        {0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x115F, 0x1160}, {0x17B4, 0x17B5}, {0x180B, 0x180F},
        {0x200B, 0x200B}, {0x2060, 0x2064}, {0x206A, 0x206F}, {0x3164, 0x3164}, {0xFE00, 0xFE0F},
        {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0100, 0xE01EF},
    };
    for (const auto& range : kRanges)
        if (c >= range[0] && c <= range[1]) return true;
    return false;
}

// Non-transitional processing keeps "ß", the final "ς" and the joiners (and
// lowers "ẞ" to "ß"), while IdnToAscii, on Windows as under Wine, maps them
// the transitional way to "ss", "σ" and nothing.
bool IsDeviation(char32_t c) { return c == 0xDF || c == 0x1E9E || c == 0x3C2 || c == 0x200C || c == 0x200D; }

// Code points of combining class 9 (virama) in the BMP (Unicode 15).
const char16_t kViramas[] = {
    0x094D, 0x09CD, 0x0A4D, 0x0ACD, 0x0B4D, 0x0BCD, 0x0C4D, 0x0CCD, 0x0D3B, 0x0D3C, 0x0D4D, 0x0DCA,
    0x0E3A, 0x0EBA, 0x0F84, 0x1039, 0x103A, 0x1714, 0x1715, 0x1734, 0x17D2, 0x1A60, 0x1B44, 0x1BAA,
    0x1BAB, 0x1BF2, 0x1BF3, 0x2D7F, 0xA806, 0xA82C, 0xA8C4, 0xA953, 0xA9C0, 0xAAF6, 0xABED,
};

// Joining types of the BMP's joining scripts and the combining diacritics
// (Unicode 15): each entry's type holds up to the next entry. 'D' joins on
// both sides, 'L' and 'R' on one, 'T' is transparent, 'U' does not join: a
// ZWNJ beside letters of other scripts is refused.
struct JoiningRun {
    char16_t first;
    char type;
};
const JoiningRun kJoining[] = {
    {0x0300, 'T'}, {0x0370, 'U'}, {0x0610, 'T'}, {0x061B, 'U'}, {0x061C, 'T'}, {0x061D, 'U'}, {0x0620, 'D'},
    {0x0621, 'U'}, {0x0622, 'R'}, {0x0626, 'D'}, {0x0627, 'R'}, {0x0628, 'D'}, {0x0629, 'R'}, {0x062A, 'D'},
    {0x062F, 'R'}, {0x0633, 'D'}, {0x0640, 'U'}, {0x0641, 'D'}, {0x0648, 'R'}, {0x0649, 'D'}, {0x064B, 'T'},
    {0x0660, 'U'}, {0x066E, 'D'}, {0x0670, 'T'}, {0x0671, 'R'}, {0x0674, 'U'}, {0x0675, 'R'}, {0x0678, 'D'},
    {0x0688, 'R'}, {0x069A, 'D'}, {0x06C0, 'R'}, {0x06C1, 'D'}, {0x06C3, 'R'}, {0x06CC, 'D'}, {0x06CD, 'R'},
    {0x06CE, 'D'}, {0x06CF, 'R'}, {0x06D0, 'D'}, {0x06D2, 'R'}, {0x06D4, 'U'}, {0x06D5, 'R'}, {0x06D6, 'T'},
    {0x06DD, 'U'}, {0x06DF, 'T'}, {0x06E5, 'U'}, {0x06E7, 'T'}, {0x06E9, 'U'}, {0x06EA, 'T'}, {0x06EE, 'R'},
    {0x06F0, 'U'}, {0x06FA, 'D'}, {0x06FD, 'U'}, {0x06FF, 'D'}, {0x0700, 'U'}, {0x070F, 'T'}, {0x0710, 'R'},
    {0x0711, 'T'}, {0x0712, 'D'}, {0x0715, 'R'}, {0x071A, 'D'}, {0x071E, 'R'}, {0x071F, 'D'}, {0x0728, 'R'},
    {0x0729, 'D'}, {0x072A, 'R'}, {0x072B, 'D'}, {0x072C, 'R'}, {0x072D, 'D'}, {0x072F, 'R'}, {0x0730, 'T'},
    {0x074B, 'U'}, {0x074D, 'R'}, {0x074E, 'D'}, {0x0759, 'R'}, {0x075C, 'D'}, {0x076B, 'R'}, {0x076D, 'D'},
    {0x0771, 'R'}, {0x0772, 'D'}, {0x0773, 'R'}, {0x0775, 'D'}, {0x0778, 'R'}, {0x077A, 'D'}, {0x0780, 'U'},
    {0x07CA, 'D'}, {0x07EB, 'T'}, {0x07F4, 'U'}, {0x07FD, 'T'}, {0x07FE, 'U'}, {0x0840, 'R'}, {0x0841, 'D'},
    {0x0846, 'R'}, {0x0848, 'D'}, {0x0849, 'R'}, {0x084A, 'D'}, {0x0854, 'R'}, {0x0855, 'D'}, {0x0856, 'R'},
    {0x0859, 'T'}, {0x085C, 'U'}, {0x0860, 'D'}, {0x0861, 'U'}, {0x0862, 'D'}, {0x0866, 'U'}, {0x0867, 'R'},
    {0x0868, 'D'}, {0x0869, 'R'}, {0x086B, 'U'}, {0x0870, 'R'}, {0x0883, 'U'}, {0x0886, 'D'}, {0x0887, 'U'},
    {0x0889, 'D'}, {0x088E, 'R'}, {0x088F, 'U'}, {0x0898, 'T'}, {0x08A0, 'D'}, {0x08AA, 'R'}, {0x08AD, 'U'},
    {0x08AE, 'R'}, {0x08AF, 'D'}, {0x08B1, 'R'}, {0x08B3, 'D'}, {0x08B9, 'R'}, {0x08BA, 'D'}, {0x08C9, 'U'},
    {0x08CA, 'T'}, {0x08E2, 'U'}, {0x08E3, 'T'}, {0x0900, 'U'}, {0x1807, 'D'}, {0x1808, 'U'}, {0x180B, 'T'},
    {0x180E, 'U'}, {0x180F, 'T'}, {0x1810, 'U'}, {0x1820, 'D'}, {0x1879, 'U'}, {0x1885, 'T'}, {0x1887, 'D'},
    {0x18A9, 'T'}, {0x18AA, 'D'}, {0x18AB, 'U'}, {0xA840, 'D'}, {0xA872, 'L'}, {0xA873, 'U'},
};

char JoiningType(char32_t c) {
    auto next = std::upper_bound(std::begin(kJoining), std::end(kJoining), c,
                                 [](char32_t point, const JoiningRun& run) { return point < run.first; });
    return next == std::begin(kJoining) ? 'U' : next[-1].type;
}

// RFC 5892's rules for a joiner at label[i]: after a virama, or (ZWNJ only)
// between a letter joining on its left and one joining on its right, with
// only transparent marks between them and it.
bool JoinerAllowed(const std::u32string& label, size_t i) {
    if (i > 0 && std::binary_search(std::begin(kViramas), std::end(kViramas), label[i - 1])) return true;
    if (label[i] != 0x200C) return false;
    size_t before = i, after = i + 1;
    while (before > 0 && JoiningType(label[before - 1]) == 'T') --before;
    while (after < label.size() && JoiningType(label[after]) == 'T') ++after;
    if (before == 0 || after == label.size()) return false;
    char left = JoiningType(label[before - 1]), right = JoiningType(label[after]);
    return (left == 'L' || left == 'D') && (right == 'R' || right == 'D');
}

// "xn--" and RFC 3492 with the parameters of IDNA, failing where its
// integers would overflow and past the 63 octets DNS allows a label (as
// IdnToAscii does for the labels it encodes).
bool Punycode(const std::u32string& label, std::wstring& out) {
    const uint32_t kBase = 36, kTmin = 1, kTmax = 26, kMaxLabel = 63;
    out = L"xn--";
    for (char32_t c : label)
        if (c < 0x80) out += static_cast<wchar_t>(c);
    if (out.size() >= kMaxLabel) return false;
    uint32_t basic = static_cast<uint32_t>(out.size() - 4), handled = basic;
    if (basic) out += L'-';
    auto digit = [](uint32_t d) { return static_cast<wchar_t>(d < 26 ? L'a' + d : L'0' + d - 26); };
    uint32_t n = 0x80, delta = 0, bias = 72;
    while (handled < label.size()) {
        uint32_t next = UINT32_MAX;
        for (char32_t c : label)
            if (c >= n && c < next) next = c;
        if (next - n > (UINT32_MAX - delta) / (handled + 1)) return false;
        delta += (next - n) * (handled + 1);
        n = next;
        for (char32_t c : label) {
            if (c < n && ++delta == 0) return false;
            if (c != n) continue;
            uint32_t q = delta;
            for (uint32_t k = kBase;; k += kBase) {
                uint32_t t = k <= bias ? kTmin : k >= bias + kTmax ? kTmax : k - bias;
                if (q < t) break;
                out += digit(t + (q - t) % (kBase - t));
                q = (q - t) / (kBase - t);
            }
            out += digit(q);
            if (out.size() > kMaxLabel) return false;
            // Bias adaptation.
            delta = handled == basic ? delta / 700 : delta / 2;
            delta += delta / (handled + 1);
            uint32_t k = 0;
            for (; delta > (kBase - kTmin) * kTmax / 2; k += kBase) delta /= kBase - kTmin;
            bias = k + (kBase - kTmin + 1) * delta / (delta + 38);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
    }
    return true;
}

// IdnToAscii of text without deviations, and its ASCII letters lowered
// (it keeps their case).
bool IdnAscii(const std::wstring& text, std::wstring& ascii) {
    wchar_t buffer[512];
    int length = IdnToAscii(0, text.c_str(), static_cast<int>(text.size()), buffer, 512);
    if (length <= 0) return false;
    ascii = Lowered(std::wstring(buffer, length));
    return true;
}

// The text between the deviations mapped by IdnToAscii (and read back), the
// deviations kept.
bool MapAroundDeviations(const std::u32string& label, std::u32string& mapped) {
    std::wstring piece, ascii;
    wchar_t buffer[512];
    for (size_t i = 0; i <= label.size(); ++i) {
        if (i < label.size() && !IsDeviation(label[i])) {
            AppendUtf16(piece, label[i]);
            continue;
        }
        if (!piece.empty()) {
            if (!IdnAscii(piece, ascii)) return false;
            int length = IdnToUnicode(0, ascii.c_str(), static_cast<int>(ascii.size()), buffer, 512);
            if (length <= 0) return false;
            mapped += CodePoints(buffer, length);
            piece.clear();
        }
        if (i < label.size()) mapped += label[i] == 0x1E9E ? U'\x00DF' : label[i];
    }
    return true;
}

// One label in its ASCII form: ignored code points dropped, the rest mapped
// by IdnToAscii but for the deviations, kept as browsers keep them (the
// joiners only where RFC 5892 allows them) and the label then encoded here.
bool LabelToAscii(const std::u32string& typed, std::wstring& ascii) {
    std::u32string label;
    bool plain = true, deviations = false;
    for (char32_t c : typed) {
        if (IsIgnored(c)) continue;
        label += c;
        plain = plain && c < 0x80;
        deviations = deviations || IsDeviation(c);
    }
    ascii.clear();
    if (plain) {
        for (char32_t c : label) ascii += LowerAscii(static_cast<wchar_t>(c));
        return true;
    }
    std::u32string mapped;
    if (!deviations) {
        std::wstring text;
        for (char32_t c : label) AppendUtf16(text, c);
        return IdnAscii(text, ascii) && ascii.find(L'.') == std::wstring::npos;
    }
    if (!MapAroundDeviations(label, mapped)) return false;
    for (size_t i = 0; i < mapped.size(); ++i)
        if ((mapped[i] == 0x200C || mapped[i] == 0x200D) && !JoinerAllowed(mapped, i)) return false;
    return Punycode(mapped, ascii);
}

// The URL standard's "domain to ASCII" of a name that holds more than plain
// ASCII: tabs and newlines dropped (browsers drop them from the whole
// address), escapes decoded, then each label in its ASCII form.
bool DomainToAscii(const std::wstring& text, std::wstring& ascii) {
    std::wstring name;
    for (wchar_t c : text)
        if (c != L'\t' && c != L'\n' && c != L'\r') name += c;
    if (name.find(L'%') != std::wstring::npos) name = PercentDecoded(name);
    // ASCII stays as it is through UTS #46 (but for its case), where
    // IdnToAscii would stop at a NUL.
    for (wchar_t c : name)
        if (IsForbidden(c)) return false;
    ascii.clear();
    std::wstring label;
    for (size_t start = 0, end = 0; start <= name.size(); start = end + 1) {
        end = start;
        while (end < name.size() && !IsLabelDot(name[end])) ++end;
        if (!LabelToAscii(CodePoints(name.data() + start, end - start), label)) return false;
        ascii += label;
        if (end < name.size()) ascii += L'.';
    }
    return true;
}

// A part of an IPv4 address: decimal, octal after "0", hexadecimal after
// "0x" (the host is lower-cased). Values past 2^32 are held there: no part
// may reach it.
bool Ipv4Number(std::wstring_view part, uint64_t& value) {
    if (part.empty()) return false;
    uint32_t radix = 10;
    if (part.size() > 1 && part[0] == L'0') {
        radix = part[1] == L'x' ? 16 : 8;
        part.remove_prefix(radix == 16 ? 2 : 1);
    }
    value = 0;
    for (wchar_t c : part) {
        uint32_t digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : 99;
        if (digit >= radix) return false;
        value = std::min<uint64_t>(value * radix + digit, 1ull << 32);
    }
    return true;
}

// Whether the host names an IPv4 address: its last part, a final dot aside,
// is all digits or a number in any form.
bool EndsInNumber(std::wstring_view host) {
    if (host.ends_with(L'.')) host.remove_suffix(1);
    size_t dot = host.rfind(L'.');
    std::wstring_view last = host.substr(dot == std::wstring_view::npos ? 0 : dot + 1);
    uint64_t value;
    return (!last.empty() && last.find_first_not_of(L"0123456789") == std::wstring_view::npos) ||
           Ipv4Number(last, value);
}

// An IPv4 address in any of the forms browsers read (one to four parts, the
// last filling the bytes left) rewritten in dotted decimal; false when it is
// none.
bool DottedDecimal(std::wstring& host) {
    std::wstring_view rest(host);
    if (rest.ends_with(L'.')) rest.remove_suffix(1);
    uint64_t address = 0, value = 0;
    for (int part = 1;; ++part) {
        size_t dot = rest.find(L'.');
        if (part > 4 || !Ipv4Number(rest.substr(0, dot), value)) return false;
        if (dot == std::wstring_view::npos) {
            int bytesLeft = 5 - part;
            if (value >> (8 * bytesLeft)) return false;
            address = address << (8 * bytesLeft) | value;
            break;
        }
        if (value > 255) return false;
        address = address << 8 | value;
        rest.remove_prefix(dot + 1);
    }
    host.clear();
    for (int shift = 24; shift >= 0; shift -= 8) {
        AppendNumber(host, address >> shift & 255, 10);
        if (shift) host += L'.';
    }
    return true;
}

// An ASCII name as browsers leave it: not empty, nothing forbidden, and an
// IPv4 address (which it is when it ends in a number) in dotted decimal.
bool IsFinishedName(std::wstring& host) {
    return !host.empty() && std::none_of(host.begin(), host.end(), IsForbidden) &&
           (!EndsInNumber(host) || DottedDecimal(host));
}

// An IPv6 literal, brackets included, in the form browsers write it:
// pieces in lower-case hexadecimal without leading zeros, the first longest
// run of two or more zero pieces as "::" (an IPv4 address at the end read as
// two pieces); false when it is none.
bool Ipv6Literal(const std::wstring& literal, std::wstring& host) {
    if (literal.size() < 3 || literal.back() != L']') return false;
    std::wstring_view in(literal.data() + 1, literal.size() - 2);
    auto at = [&in](size_t i) { return i < in.size() ? in[i] : L'\0'; };
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    uint32_t pieces[8] = {};
    int index = 0, compress = -1;
    size_t p = 0;
    if (at(0) == L':') {
        if (at(1) != L':') return false;
        p = 2;
        compress = ++index;
    }
    while (p < in.size()) {
        if (index == 8) return false;
        if (in[p] == L':') {
            if (compress >= 0) return false;
            ++p;
            compress = ++index;
            continue;
        }
        uint32_t value = 0;
        int length = 0;
        for (; length < 4 && HexValue(at(p)) >= 0; ++length, ++p) value = value * 16 + HexValue(at(p));
        if (at(p) == L'.') {
            if (length == 0 || index > 6) return false;
            p -= length;
            for (int seen = 0; seen < 4; ++seen) {
                if ((seen > 0 && at(p++) != L'.') || !isDigit(at(p))) return false;
                uint32_t number = 0;
                for (size_t start = p; isDigit(at(p)); ++p) {
                    if (p > start && number == 0) return false;  // no leading zeros
                    number = number * 10 + (at(p) - L'0');
                    if (number > 255) return false;
                }
                pieces[index] = pieces[index] << 8 | number;
                if (seen % 2) ++index;
            }
            if (p != in.size()) return false;
            break;
        }
        if (at(p) == L':' ? ++p == in.size() : p < in.size()) return false;
        pieces[index++] = value;
    }
    if (compress >= 0) {
        for (int swaps = index - compress, last = 7; last != 0 && swaps > 0; --last, --swaps)
            std::swap(pieces[last], pieces[compress + swaps - 1]);
    } else if (index != 8) {
        return false;
    }
    int runStart = -1, runLength = 1;
    for (int i = 0, j = 0; i < 8; i = j + 1) {
        j = i;
        while (j < 8 && !pieces[j]) ++j;
        if (j - i > runLength) runStart = i, runLength = j - i;
    }
    host = L"[";
    for (int i = 0; i < 8; ++i) {
        if (i == runStart) {
            host += i ? L":" : L"::";
            i += runLength - 1;
            continue;
        }
        AppendNumber(host, pieces[i], 16);
        if (i < 7) host += L':';
    }
    host += L']';
    return true;
}

}  // namespace

bool FormHost(std::wstring text, std::wstring& host) {
    for (wchar_t& c : text) c = LowerAscii(c);
    if (text.empty()) {
        host.clear();
        return true;
    }
    auto plain = [](wchar_t c) { return c < 0x80 && c != L'%' && c != L'\t' && c != L'\n' && c != L'\r'; };
    if (text[0] != L'[' && std::all_of(text.begin(), text.end(), plain)) {
        host.swap(text);  // the common case, formed where it stands (and left so when it fails)
        return IsFinishedName(host);
    }
    bool formed = text[0] == L'[' ? Ipv6Literal(text, host) : DomainToAscii(text, host) && IsFinishedName(host);
    if (!formed) host.swap(text);
    return formed;
}
