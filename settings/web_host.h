// How a browser names the host of a web address (the URL standard's host
// parser): percent-escapes decoded, international names in their ASCII form
// (UTS #46 non-transitional processing), IPv4 addresses in dotted decimal,
// IPv6 addresses compressed.
// Pure functions, shared by the program's address rules and the test engine,
// so that both name every host alike.
#pragma once

#include <string>

// Whether a lower-cased scheme is one the URL standard gives hosts and
// default ports to, where "\" separates the path like "/".
bool IsSpecialScheme(const std::wstring& scheme);

// The host a browser forms from the text between an address's user
// information and its port. False when the browser has none for it (such an
// address is invalid): host is then the text lower-cased, which never equals
// a host that has a form. Empty text gives the empty host.
bool FormHost(std::wstring text, std::wstring& host);
