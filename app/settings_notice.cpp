#include "app/settings_notice.h"

#include "app/site_bar.h"
#include "settings/config_store.h"

void SaveSettings() {
    static bool told = false;
    if (SaveConfig() || told) return;
    told = true;
    ShowBar(BarTopic::kSettings, L"Velotide can't save its settings file, so changes last only until it quits.", L"");
}
