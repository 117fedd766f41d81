#include "settings/app_names.h"

#include <windows.h>

bool IsValidAppId(const std::wstring& id) {
    if (id.empty() || id.size() > kMaxAppIdLength || id[0] == L'-') return false;
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
    // A device name, alone or before an extension, opens the device instead.
    return IsDeviceName(file.substr(0, file.find(L'.'))) ? file + L" app" : file;
}

bool IsDeviceName(std::wstring stem) {
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (const wchar_t* d : kDevices)
        if (stem == d) return true;
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'0' &&
           stem[3] <= L'9';
}

std::wstring ProgramIdFromName(const std::wstring& name) {
    return AppIdFromName(name, [](const std::wstring&) { return false; });
}

NameFault ProgramNameFault(const std::wstring& name, bool asFileName) {
    if (name.empty()) return NameFault::kEmpty;
    if (name.size() > kMaxProgramNameLength) return NameFault::kTooLong;
    for (wchar_t c : name)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return NameFault::kControl;
    if (IdBase(name).empty()) return NameFault::kNoLetterOrDigit;
    if (IsDeviceName(ProgramIdFromName(name)) || (asFileName && IsDeviceName(name.substr(0, name.find(L'.')))))
        return NameFault::kDevice;
    if (asFileName && ShortcutFileName(name, L"") != name) return NameFault::kNotAFileName;
    return NameFault::kNone;
}
