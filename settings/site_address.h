// What a site address is: trimmed, completed with "https://" and checked by
// plain substring searches. Addresses are compared the way the engine forms
// them: an origin is scheme, host and port in canonical form, whatever form
// the address was typed in.
#pragma once

#include <string>

// The longest site address the program takes, in UTF-16 code units: what the
// prompt's field holds.
inline constexpr size_t kMaxAddressLength = 2047;

// Each UTF-16 code unit through towlower in the classic locale: only A-Z change.
std::wstring LowerCase(std::wstring text);

// Whether address starts with scheme (lower-case, "data:" or "http://") in
// any letter case.
bool StartsWithScheme(const std::wstring& address, const std::wstring& scheme);

// The addresses the program's own pages, loaded from a string, arrive with:
// "data:" and "about:" (any case).
bool IsMessageAddress(const std::wstring& address);

// Trims white space, prefixes "https://" when the text holds no "://", and
// says whether the result is an http(s) address with a non-empty host that
// browsers can form (FormHost). The address is rewritten in place (keeping
// the case and form it was typed in), also when the answer is false.
bool NormalizeSiteAddress(std::wstring& address);

// The origin as the engine forms it: the lower-cased scheme, "://", the host
// (after the last "@" of the authority, as FormHost gives it: escapes
// decoded, an international name in its ASCII form, an IPv4 address in
// dotted decimal, an IPv6 literal in its brackets) and the port unless it is
// the scheme's default. The authority ends at the first "/", "?" or "#" after
// the first "://", or "\" for the schemes browsers read it in; empty when
// there is no "://".
std::wstring SiteOrigin(const std::wstring& address);

// The host of SiteOrigin, without the port.
std::wstring SiteHost(const std::wstring& address);
