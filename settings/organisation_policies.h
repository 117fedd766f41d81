// What an organisation fixes for Velotide: values under
// SOFTWARE\Policies\Velotide, the machine's (HKLM) over the user's (HKCU),
// as Group Policy writes them from the ADMX templates (packaging/policy).
// Read once at start, so a change applies at the next start. Here: which
// values the program reads and what a value read comes to; the registry is
// read in settings/policy_registry.
#pragma once

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

inline constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Velotide";
// The site the machine package was installed with (SITEURL): HKLM's value
// Url under a key of the package's own, never the policies', which are Group
// Policy's to write and remove. Read after both policies' Url.
inline constexpr wchar_t kInstalledKey[] = L"SOFTWARE\\Velotide";

enum class PolicyKind {
    kAddress,  // REG_SZ: a site address, which the address rules check
    kOrigins,  // a key whose REG_SZ values are origins (any names)
    kNumber,   // REG_DWORD within the value's range
};

// What one policy came to: not set, or set with its value. An address the
// address rules refuse is set all the same, and refused: an administrator
// must hear of it.
struct PolicySetting {
    bool set = false;
    bool refused = false;
    DWORD number = 0;
    std::wstring address;  // normalised, unless refused (then as set)
    std::vector<std::wstring> origins;
};

struct Policies {
    PolicySetting url, allowedSites, blockAds, notifications, keepInNotificationArea, startWithWindows, createApps,
        otherSitesBar, kiosk;
    bool urlInstalled = false;  // url is the package's site, no policy's
};

struct PolicyValue {
    const wchar_t* name;  // under kPolicyKey: the value's name, or the key's for kOrigins
    PolicyKind kind;
    DWORD lowest, highest;  // kNumber's range
    PolicySetting Policies::*setting;
};

// Every value the program reads, in one place: the templates' check
// (tests/policy_templates_test.py) holds the ADMX to this list. The switches
// that only turn something off take 0 alone; Kiosk, which only turns kiosk
// mode on, takes 1 alone.
inline constexpr PolicyValue kPolicyValues[] = {
    {L"Url", PolicyKind::kAddress, 0, 0, &Policies::url},
    {L"AllowedSites", PolicyKind::kOrigins, 0, 0, &Policies::allowedSites},
    {L"BlockAds", PolicyKind::kNumber, 0, 1, &Policies::blockAds},
    {L"Notifications", PolicyKind::kNumber, 0, 1, &Policies::notifications},
    {L"KeepInNotificationArea", PolicyKind::kNumber, 0, 1, &Policies::keepInNotificationArea},
    {L"StartWithWindows", PolicyKind::kNumber, 0, 0, &Policies::startWithWindows},
    {L"CreateApps", PolicyKind::kNumber, 0, 0, &Policies::createApps},
    {L"OtherSitesBar", PolicyKind::kNumber, 0, 0, &Policies::otherSitesBar},
    {L"Kiosk", PolicyKind::kNumber, 1, 1, &Policies::kiosk},
};

// The most sites AllowedSites lists; further values are not read.
inline constexpr size_t kMaxPolicyOrigins = 256;

// A value as one root of the registry holds it.
struct RawPolicyValue {
    DWORD type = REG_NONE;  // REG_NONE also when absent
    std::string data;       // its bytes
    bool tooLong = false;   // larger than any value the program takes: its bytes were not read
    std::vector<RawPolicyValue> entries;  // a kOrigins key's values; none when the key is absent or empty
};

// One root's values, in the order of kPolicyValues.
struct RawPolicies {
    RawPolicyValue values[std::size(kPolicyValues)];
};

// What the machine's and the user's values come to. A value of the wrong
// type, out of range or longer than an address can be is ignored, as if
// absent; the machine's wins over the user's where it counts. An empty
// AllowedSites key counts as absent; its entries that aren't origins are
// dropped, the rest kept. Where neither names a site, the package's installed
// one (a REG_SZ) fixes it alike; one the address rules refuse, or too long
// to be read, is refused: the package was given it.
Policies DecidePolicies(const RawPolicies& machine, const RawPolicies& user, const RawPolicyValue& installedUrl);

// Puts what policies fix into g_app (after LoadConfig): the fixed settings'
// values and marks, and the commands turned off. Url fixes plain Velotide's
// site only: a site app and a site's own program keep their own, and a
// program its allowed sites beside the organisation's.
void PutPoliciesInForce(const Policies& policies);
