// What a site address is: trimmed, completed with "https://" and checked by
// plain substring searches, no URL parser. The navigation policy and the ad
// filter rely on exactly this edge behaviour.
#pragma once

#include <string>

// Each UTF-16 code unit through towlower in the classic locale: only A-Z change.
std::wstring LowerCase(std::wstring text);

// Trims white space, prefixes "https://" when the text holds no "://", and
// says whether the result is an http(s) address with a non-empty host. The
// address is rewritten in place, also when the answer is false.
bool NormalizeSiteAddress(std::wstring& address);

// Lower-cased scheme and authority: everything up to the first "/", "?" or
// "#" after the first "://"; empty when there is no "://".
std::wstring SiteOrigin(const std::wstring& address);

// Lower-cased host of SiteOrigin: the authority up to its first ":".
std::wstring SiteHost(const std::wstring& address);
