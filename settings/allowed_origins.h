// Sites allowed for sign-in: origins besides the site's own whose pages may
// show in the view ("allow=" lines in config.ini).
#pragma once

#include <string>
#include <vector>

// Normalises address by the site address rules and appends its origin to
// origins; false, with origins unchanged, when the address is not a valid
// site address or its origin is listed already.
bool AddAllowedOrigin(std::vector<std::wstring>& origins, std::wstring address);
