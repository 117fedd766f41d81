// The settings file config.ini in the data directory: "url=", "blockAds=" and
// any number of "allow=" lines (sites allowed for sign-in), UTF-8, CR LF line
// ends. Read once at start-up, rewritten whole on every change.
#pragma once

#include <string>

// Reads dataDir\config.ini into siteUrl, blockAds and allowedOrigins (missing
// file: defaults), normalises siteUrl (cleared when invalid), sets homeOrigin
// and reduces the allowed addresses to origins (invalid and repeated dropped).
void LoadConfig();

// Writes siteUrl, blockAds and allowedOrigins to config.ini.tmp, then moves it
// over config.ini, so the old file stays intact unless the new one was
// written completely.
// Failures are silent: the values live on in memory.
void SaveConfig();

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
