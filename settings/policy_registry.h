// Reading the organisation's policies from the registry: the values of
// settings/organisation_policies under HKLM, then HKCU.
#pragma once

#include <windows.h>

#include "settings/organisation_policies.h"

// root's values under kPolicyKey; a key that can't be opened or read holds
// none.
RawPolicies ReadRawPolicies(HKEY root);

// What the machine's and the user's values come to, and the package's site.
Policies ReadPolicies();
