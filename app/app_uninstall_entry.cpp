#include "app/app_uninstall_entry.h"

#include <windows.h>

#include "app/command_line.h"

// The entry's text values and the fields they hold, as Windows names them.
static const struct {
    const wchar_t* value;
    std::wstring UninstallEntry::*field;
} kTexts[] = {
    {L"DisplayName", &UninstallEntry::name},
    {L"DisplayIcon", &UninstallEntry::icon},
    {L"Publisher", &UninstallEntry::publisher},
    {L"InstallLocation", &UninstallEntry::folder},
};

static std::wstring EntryKey(const std::wstring& id) {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velotide.App." + id;
}

static bool SetValue(HKEY key, const wchar_t* name, DWORD type, const void* data, size_t size) {
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) ==
           ERROR_SUCCESS;
}

static bool SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return SetValue(key, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool WriteUninstallEntry(const std::wstring& id, const UninstallEntry& entry) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, EntryKey(id).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD one = 1;
    bool ok = SetText(key, L"UninstallString", L"\"" + entry.exe + L"\" --remove-app " + id) &&
              SetValue(key, L"NoModify", REG_DWORD, &one, sizeof one) &&
              SetValue(key, L"NoRepair", REG_DWORD, &one, sizeof one);
    for (const auto& text : kTexts) ok = ok && SetText(key, text.value, entry.*text.field);
    RegCloseKey(key);
    if (!ok) DeleteUninstallEntry(id);
    return ok;
}

// A text value of the entry; false when it's missing.
static bool GetText(const std::wstring& key, const wchar_t* name, std::wstring* text) {
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return false;
    *text = value;
    return true;
}

bool ReadUninstallEntry(const std::wstring& id, UninstallEntry* entry) {
    std::wstring key = EntryKey(id);
    for (const auto& text : kTexts)
        if (!GetText(key, text.value, &(entry->*text.field))) return false;
    if (!GetText(key, L"UninstallString", &entry->exe)) return false;
    entry->exe = ParseCommandLine(entry->exe.c_str()).program;
    return true;
}

bool DeleteUninstallEntry(const std::wstring& id) {
    LSTATUS status = RegDeleteKeyW(HKEY_CURRENT_USER, EntryKey(id).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
