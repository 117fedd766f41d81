// A registry value set for the life of the object, for tests that change
// settings of the Wine prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Sets value name (L"" for the key's default value) of key under root, in the
// registry view given (KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0); afterwards
// puts back a value it replaced, or deletes the value and the keys it created.
class RegistryValueOverride {
public:
    RegistryValueOverride(HKEY root, REGSAM view, const std::wstring& key, const std::wstring& name,
                          const std::wstring& value);
    // The same with a value of any type, given as its bytes.
    RegistryValueOverride(HKEY root, REGSAM view, const std::wstring& key, const std::wstring& name, DWORD type,
                          const std::string& data);
    ~RegistryValueOverride();
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

private:
    HKEY root_;
    REGSAM view_;
    std::wstring key_, name_;
    std::vector<std::wstring> created_;
    bool hadValue_ = false;
    DWORD oldType_ = REG_SZ;
    std::string oldValue_;
};
