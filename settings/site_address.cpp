#include "settings/site_address.h"
// placeholder until the rules land
std::wstring LowerCase(std::wstring text) { return text; }
bool NormalizeSiteAddress(std::wstring&) { return false; }
std::wstring SiteOrigin(const std::wstring&) { return {}; }
std::wstring SiteHost(const std::wstring&) { return {}; }
