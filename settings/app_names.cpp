#include "settings/app_names.h"

#include <windows.h>

#include <algorithm>

bool IsDeviceName(const std::wstring& name) {
    // Windows takes the part before the first dot, less the spaces before
    // that dot, as the name: "nul.txt" and "Aux .lnk" are devices too.
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (stem == device) return true;
    // COM1 to COM9 and LPT1 to LPT9, and the superscript digits Windows
    // takes for 1, 2 and 3; 0 is refused by some versions of Windows too.
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) &&
           ((stem[3] >= L'0' && stem[3] <= L'9') || stem[3] == 0xB9 || stem[3] == 0xB2 || stem[3] == 0xB3);
}

bool IsValidAppId(const std::wstring& id) {
    if (id.empty() || id.size() > kMaxAppIdLength || id[0] == L'-' || IsDeviceName(id)) return false;
    for (wchar_t c : id)
        if (!((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-')) return false;
    return true;
}

// Letters with accents as their base letter and the accent apart ("é" as
// "e" and a combining mark), so that the letter stays.
static std::wstring Decomposed(const std::wstring& text) {
    if (text.empty()) return text;
    int size = FoldStringW(MAP_COMPOSITE, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return text;
    std::wstring folded(size, L'\0');
    FoldStringW(MAP_COMPOSITE, text.c_str(), static_cast<int>(text.size()), folded.data(), size);
    return folded;
}

// The id's letters and digits, the rest as single "-"; empty when none are left.
static std::wstring IdBase(const std::wstring& name) {
    std::wstring base;
    for (wchar_t c : Decomposed(name)) {
        if (c >= L'A' && c <= L'Z') c += L'a' - L'A';
        bool kept = (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
        if (kept)
            base += c;
        else if (!base.empty() && base.back() != L'-' && !(c >= 0x300 && c <= 0x36F))  // not an accent
            base += L'-';
    }
    while (!base.empty() && base.back() == L'-') base.pop_back();
    return base;
}

std::wstring AppIdFromName(const std::wstring& name, bool (*taken)(const std::wstring& id)) {
    std::wstring base = IdBase(name);
    if (base.empty()) base = L"app";
    if (IsDeviceName(base)) base += L"-app";  // "Aux" would give a folder Windows opens as a device
    std::wstring id = base.substr(0, kMaxAppIdLength);
    for (int n = 2; taken(id); ++n) {
        std::string digits = std::to_string(n);
        std::wstring suffix = L"-" + std::wstring(digits.begin(), digits.end());
        id = base.substr(0, kMaxAppIdLength - suffix.size());
        while (!id.empty() && id.back() == L'-') id.pop_back();
        id += suffix;
    }
    return id;
}

std::wstring ShortcutFileName(const std::wstring& name, const std::wstring& fallback) {
    std::wstring file;
    for (wchar_t c : name)
        if (c >= 0x20 && !wcschr(L"\\/:*?\"<>|", c)) file += c;
    while (!file.empty() && (file.back() == L'.' || file.back() == L' ')) file.pop_back();
    size_t start = file.find_first_not_of(L' ');
    file = start == std::wstring::npos ? L"" : file.substr(start);
    if (file.empty()) return fallback;
    // A device name, alone or before an extension, opens the device instead:
    // the words go after the name itself, before any extension ("Nul app.dev").
    if (IsDeviceName(file)) file.insert(file.substr(0, file.find(L'.')).find_last_not_of(L' ') + 1, L" app");
    return file;
}

std::wstring ProgramId(const std::wstring& name, const std::wstring& origin) {
    std::wstring id = AppIdFromName(name, [](const std::wstring&) { return false; });
    if (origin.empty()) return id;
    UINT32 hash = 2166136261u;  // FNV-1a over the origin's UTF-16 units
    for (wchar_t c : origin) hash = (hash ^ c) * 16777619u;
    wchar_t suffix[10];
    wsprintfW(suffix, L"-%08x", hash);
    id.resize(std::min(id.size(), kMaxAppIdLength - 9));
    while (id.back() == L'-') id.pop_back();  // the name's id begins with a letter or digit
    return id += suffix;
}

NameFault ProgramNameFault(const std::wstring& name, bool asFileName) {
    if (name.empty()) return NameFault::kEmpty;
    if (name.size() > kMaxProgramNameLength) return NameFault::kTooLong;
    for (wchar_t c : name)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return NameFault::kControl;
    if (IdBase(name).empty()) return NameFault::kNoLetterOrDigit;
    if (!asFileName) return NameFault::kNone;
    if (IsDeviceName(name)) return NameFault::kDevice;
    return ShortcutFileName(name, L"") == name ? NameFault::kNone : NameFault::kNotAFileName;
}
