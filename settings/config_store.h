// The settings file config.ini in the data directory: "url=", "blockAds="
// and "window=" lines, UTF-8, CR LF line ends. Read once at start-up,
// rewritten whole on every change and at quit.
#pragma once

#include <string>

// Reads dataDir\config.ini into siteUrl, blockAds and place (missing file: defaults),
// normalises siteUrl (cleared when invalid) and sets homeOrigin. A file
// that exists but can't be opened sets configUnread.
void LoadConfig();

// Writes siteUrl, blockAds and place (once known) to config.ini.tmp, then moves it over config.ini,
// so the old file stays intact unless the new one was written completely.
// Failures are silent: the values live on in memory.
void SaveConfig();

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
