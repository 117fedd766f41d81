#include "tests/support/registry_override.h"

RegistryValueOverride::RegistryValueOverride(HKEY root, REGSAM view, const std::wstring& key,
                                             const std::wstring& name, const std::wstring& value)
    : RegistryValueOverride(root, view, key, name, REG_SZ,
                            std::string(reinterpret_cast<const char*>(value.c_str()),
                                        (value.size() + 1) * sizeof(wchar_t))) {}

RegistryValueOverride::RegistryValueOverride(HKEY root, REGSAM view, const std::wstring& key,
                                             const std::wstring& name, DWORD type, const std::string& data)
    : root_(root), view_(view), key_(key), name_(name) {
    // Walk down the key path, noting the keys that do not exist yet.
    for (size_t pos = key_.find(L'\\');; pos = key_.find(L'\\', pos + 1)) {
        std::wstring path = key_.substr(0, pos);
        HKEY opened;
        if (RegOpenKeyExW(root_, path.c_str(), 0, KEY_READ | view_, &opened) == ERROR_SUCCESS)
            RegCloseKey(opened);
        else
            created_.push_back(path);
        if (pos == std::wstring::npos) break;
    }
    HKEY opened;
    if (RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE | view_, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        return;
    wchar_t old[1024];
    DWORD size = sizeof old - sizeof(wchar_t);
    if (RegQueryValueExW(opened, name_.c_str(), nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS) {
        hadValue_ = true;
        oldValue_.assign(reinterpret_cast<const char*>(old), size);
    }
    RegSetValueExW(opened, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(opened);
}

RegistryValueOverride::~RegistryValueOverride() {
    HKEY opened;
    if (RegOpenKeyExW(root_, key_.c_str(), 0, KEY_WRITE | view_, &opened) == ERROR_SUCCESS) {
        if (hadValue_)
            RegSetValueExW(opened, name_.c_str(), 0, oldType_, reinterpret_cast<const BYTE*>(oldValue_.data()),
                           static_cast<DWORD>(oldValue_.size()));
        else
            RegDeleteValueW(opened, name_.c_str());
        RegCloseKey(opened);
    }
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) RegDeleteKeyExW(root_, it->c_str(), view_, 0);
}
