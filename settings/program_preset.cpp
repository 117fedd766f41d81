#include "settings/program_preset.h"

#include "settings/allowed_origins.h"
#include "settings/app_names.h"
#include "settings/config_store.h"
#include "settings/site_address.h"

std::string PresetText(const ProgramPreset& preset) {
    AppState settings;
    settings.siteUrl = preset.siteUrl;
    settings.appName = preset.name;
    settings.allowedOrigins = preset.allowedOrigins;
    settings.notifications = preset.notifications;
    std::string text = ConfigText(settings, {"url=", "name=", "notifications=", "allow="});
    text += "id=";
    text += WideToUtf8(ProgramId(preset.name, SiteOrigin(preset.siteUrl)));
    text += "\r\n";
    return text;
}

bool ReadPreset(const std::string& text, ProgramPreset* preset) {
    AppState read;
    ReadConfigText(text, read);
    if (!NormalizeSiteAddress(read.siteUrl) || ProgramNameFault(read.appName, false) != NameFault::kNone) return false;
    // The id is made, never taken from the line: a program can't claim
    // another's folder and settings by naming its id.
    preset->id = ProgramId(read.appName, text.find("\nid=") == std::string::npos ? std::wstring()
                                                                                 : SiteOrigin(read.siteUrl));
    preset->name = read.appName;
    preset->siteUrl = read.siteUrl;
    preset->allowedOrigins.clear();
    for (const std::wstring& address : read.allowedOrigins) AddAllowedOrigin(preset->allowedOrigins, address);
    preset->notifications = read.notifications;
    return true;
}
