// The settings file config.ini in the data directory: "url=" and "blockAds="
// lines, UTF-8, CR LF line ends. Read once at start-up, rewritten whole on
// every change.
#pragma once

#include <string>

// Reads dataDir\config.ini into siteUrl and blockAds (missing file: defaults),
// normalises siteUrl (cleared when invalid) and sets homeOrigin.
void LoadConfig();

// Writes siteUrl and blockAds to config.ini.tmp, then moves it over config.ini,
// so the old file stays intact unless the new one was written completely.
// Failures are silent: the values live on in memory.
void SaveConfig();

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
