// Where the organisation's policies (settings/organisation_policies) meet the
// window: the menu commands they take away, and what the program says when
// they keep it from starting.
#pragma once

#include <string>

// Whether menu command id may run: false for one whose setting a policy
// fixes or that a policy turns off. Its menu item is greyed, and the command
// does nothing however it arrives (a shortcut, a posted message).
bool CommandAvailable(int id);

// The Url policy, or the site the package was installed with (installed),
// names an address the address rules refuse: said, and exit code 2, with
// nothing changed.
int SayPolicyUrlIsInvalid(const std::wstring& address, bool installed);
// --app while the organisation turned site apps off: said, and exit code 2.
int SaySiteAppsAreOff();
