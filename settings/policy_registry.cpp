#include "settings/policy_registry.h"

#include "settings/site_address.h"

// Bytes enough for the longest address and its terminator; a larger value is
// never one the program takes, and its bytes are not read.
static const DWORD kMaxValueBytes = (kMaxAddressLength + 1) * sizeof(wchar_t);

static RawPolicyValue ReadValue(HKEY key, const wchar_t* name) {
    RawPolicyValue raw;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return raw;
    raw.type = type;
    if (size > kMaxValueBytes) {
        raw.tooLong = true;
        return raw;
    }
    raw.data.resize(size);
    // Changed or gone since it was sized: as if absent.
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(raw.data.data()), &size) != ERROR_SUCCESS ||
        type != raw.type)
        return {};
    raw.data.resize(size);
    return raw;
}

// The first kMaxPolicyOrigins values of a key, whatever their names.
static void ReadEntries(HKEY key, const wchar_t* name, RawPolicyValue& raw) {
    HKEY list;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &list) != ERROR_SUCCESS) return;
    wchar_t entry[256];  // longer value names are skipped
    for (DWORD i = 0; i < kMaxPolicyOrigins; ++i) {
        DWORD length = ARRAYSIZE(entry);
        LSTATUS status = RegEnumValueW(list, i, entry, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) break;
        raw.entries.push_back(ReadValue(list, entry));
    }
    RegCloseKey(list);
}

RawPolicies ReadRawPolicies(HKEY root) {
    RawPolicies raw;
    HKEY key;
    if (RegOpenKeyExW(root, kPolicyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return raw;
    for (size_t i = 0; i < std::size(kPolicyValues); ++i) {
        if (kPolicyValues[i].kind == PolicyKind::kOrigins)
            ReadEntries(key, kPolicyValues[i].name, raw.values[i]);
        else
            raw.values[i] = ReadValue(key, kPolicyValues[i].name);
    }
    RegCloseKey(key);
    return raw;
}

Policies ReadPolicies() {
    HKEY key;
    const bool open = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstalledKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    const RawPolicyValue installedUrl = open ? ReadValue(key, L"Url") : RawPolicyValue();
    if (open) RegCloseKey(key);
    return DecidePolicies(ReadRawPolicies(HKEY_LOCAL_MACHINE), ReadRawPolicies(HKEY_CURRENT_USER), installedUrl);
}
