// The address rules both engines apply: the data address of a string-loaded
// document, resource filter globs and hosts.
#pragma once

#include <string>

// "data:text/html," followed by the HTML with control characters, space, '%',
// '#' and every non-ASCII character (as UTF-8 bytes) percent-encoded.
std::wstring DataUriFromHtml(const std::wstring& html);
// Whole-string glob: '*' any run of characters, '?' exactly one; letters
// A to Z match either case, as scheme and host are case-blind.
bool GlobMatch(const std::wstring& pattern, const std::wstring& text);
// The address as the runtime reports it: for http(s), ws(s) and ftp the
// scheme lower-cased, the host as browsers form it (FormHost), the scheme's
// default port dropped, "\" in the path as "/" and an empty path given as
// "/"; user information stays. Other addresses unchanged.
std::wstring CanonicalUri(const std::wstring& uri);
// The host of "scheme://[user@]host[:port]/..." as CanonicalUri forms it (one
// that browsers can't form lower-cased as typed); empty without "://".
std::wstring HostOf(const std::wstring& uri);
// Whether a browser hands uri to another program (mailto:, tel:,
// ms-settings:...): an address of a scheme that is not one of its own.
bool IsExternalAddress(const std::wstring& uri);
// The origin of a web address as the runtime names an asking page's:
// "scheme://host[:port]/" in canonical form; "null" for addresses without one
// (data:, about:).
std::wstring OriginOf(const std::wstring& uri);
