#include "settings/allowed_origins.h"

#include <algorithm>

#include "settings/site_address.h"

bool AddAllowedOrigin(std::vector<std::wstring>& origins, std::wstring address) {
    if (!NormalizeSiteAddress(address)) return false;
    std::wstring origin = SiteOrigin(address);
    if (std::find(origins.begin(), origins.end(), origin) != origins.end()) return false;
    origins.push_back(origin);
    return true;
}
