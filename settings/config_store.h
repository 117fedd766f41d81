// The settings file config.ini in the data directory: "url=", "blockAds=",
// "window=", "notifications=" (allow or block), "tray=" (1), "sleepAfter="
// (minutes) and any number of
// "allow=" lines (sites allowed for sign-in), UTF-8, CR LF line ends. Read once at start-up, rewritten whole on every
// change and at quit.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/app_state.h"

// Reads dataDir\config.ini into siteUrl, blockAds, place and allowedOrigins
// (missing file: defaults; a site's own program starts from its preset and
// keeps its site and name), normalises siteUrl (cleared when invalid), sets
// homeOrigin and reduces the allowed addresses to origins (invalid and
// repeated dropped). A file that exists but can't be opened, or can't be
// read whole, sets configUnread.
// The lines of known keys are kept as read (linesAsRead).
void LoadConfig();

// Writes siteUrl, blockAds, place (once known) and allowedOrigins to
// config.ini.tmp, then moves it over config.ini, so the old file stays intact
// unless the new one was written completely. Nothing is written while
// configUnread holds, nor in a kiosk. False when the settings were not saved:
// the values live on in memory for this run. For a setting fixed for the
// person the lines read at start are written instead, so the person's own stay.
bool SaveConfig();
// The same file, with these settings, in another data directory (a new site
// app's); false when it could not be written.
bool WriteConfig(const std::wstring& dataDir, const AppState& settings);

// The lines of settings as config.ini holds them; only the lines of keys
// ("url=", "allow=", ...) when they are given.
std::string ConfigText(const AppState& settings, std::initializer_list<std::string_view> keys = {});
// Text of such lines read into settings as LoadConfig reads the file, with
// no checks: values as they stand, allow= lines appended as they are.
void ReadConfigText(const std::string& text, AppState& settings);

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
