#include "settings/config_store.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "settings/allowed_origins.h"
#include "settings/replace_file.h"
#include "settings/site_address.h"

// Always opened through this wide path (_wfopen): a byte path would go through
// the ANSI code page and miss a data directory named outside it.
static std::wstring ConfigPath() { return g_app.dataDir + L"\\config.ini"; }

static void ApplyLine(std::string line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    if (line.rfind("url=", 0) == 0)
        g_app.siteUrl = Utf8ToWide(line.substr(4));
    else if (line.rfind("blockAds=", 0) == 0)
        g_app.blockAds = line.substr(9) != "0";
    else if (line.rfind("allow=", 0) == 0)
        g_app.allowedOrigins.push_back(Utf8ToWide(line.substr(6)));  // checked once all are read
}

// Byte by byte, so that a NUL inside a line (a UTF-16 file) stays part of it.
// A read error ends reading and drops the line it cut short.
static void ReadLines(FILE* file) {
    std::string line;
    for (;;) {
        int c = getc(file);
        if (c == EOF) {
            if (!ferror(file) && !line.empty()) ApplyLine(line);
            return;
        }
        if (c == '\n') {
            ApplyLine(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
}

void LoadConfig() {
    if (FILE* file = _wfopen(ConfigPath().c_str(), L"rt")) {
        ReadLines(file);
        fclose(file);
    }
    if (!g_app.siteUrl.empty() && !NormalizeSiteAddress(g_app.siteUrl)) g_app.siteUrl.clear();
    g_app.homeOrigin = SiteOrigin(g_app.siteUrl);
    // Each reduced to its origin, in file order; invalid ones and repeats go.
    std::vector<std::wstring> allowed;
    for (const std::wstring& address : g_app.allowedOrigins) AddAllowedOrigin(allowed, address);
    g_app.allowedOrigins.swap(allowed);
}

// The new settings replace config.ini only once written completely, so a full
// disk or a crash mid-write never costs the old file.
void SaveConfig() {
    std::string text = "url=" + WideToUtf8(g_app.siteUrl) + "\r\n";
    text += std::string("blockAds=") + (g_app.blockAds ? "1" : "0") + "\r\n";
    for (const std::wstring& origin : g_app.allowedOrigins) text += "allow=" + WideToUtf8(origin) + "\r\n";
    ReplaceFileWhole(ConfigPath(), text);
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring Utf8ToWide(const std::string& bytes) {
    if (bytes.empty()) return {};
    int length = static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, text.data(), size);
    return text;
}
