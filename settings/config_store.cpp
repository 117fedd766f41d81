#include "settings/config_store.h"
// placeholder until the store lands
void LoadConfig() {}
void SaveConfig() {}
std::string WideToUtf8(const std::wstring&) { return {}; }
std::wstring Utf8ToWide(const std::string&) { return {}; }
