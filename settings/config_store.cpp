#include "settings/config_store.h"

#include <windows.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "app/app_state.h"
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
}

// Writes text to path in text mode and forces it to disk; false on any error.
static bool WriteWholeFile(const std::wstring& path, const std::string& text) {
    FILE* file = _wfopen(path.c_str(), L"wt");
    if (!file) return false;
    bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = fflush(file) == 0 && ok;
    ok = _commit(_fileno(file)) == 0 && ok;
    return fclose(file) == 0 && ok;
}

// The new settings go to a temporary file first and replace config.ini only
// once complete, so a full disk or a crash mid-write never costs the old file.
void SaveConfig() {
    std::wstring path = ConfigPath();
    std::wstring temp = path + L".tmp";
    std::string text = "url=" + WideToUtf8(g_app.siteUrl) + "\nblockAds=" + (g_app.blockAds ? "1" : "0") + "\n";
    if (!WriteWholeFile(temp, text) ||
        !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileW(temp.c_str());
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
