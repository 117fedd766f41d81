#include "settings/config_store.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_state.h"
#include "settings/allowed_origins.h"
#include "settings/replace_file.h"
#include "settings/site_address.h"
#include "settings/window_place.h"

// Always opened through this wide path (_wfopen): a byte path would go through
// the ANSI code page and miss a data directory named outside it.
static std::wstring ConfigPath() { return g_app.dataDir + L"\\config.ini"; }

// The lines config.ini knows, in the order they are written: each key, the
// setting that may be fixed for the person (whose own lines are then written
// back as they were read), what reading the value after it sets, and the
// lines to write, each with its line end ("" leaves the key out; allow= may
// stand any number of times).
struct ConfigLine {
    const char* key;
    bool FixedSettings::*fixedBy;
    void (*read)(AppState& settings, const std::string& value);
    std::string (*write)(const AppState& settings);
};

// A site's own program keeps its name in its exe, and its site (fixed): its
// config.ini holds only what the person answered beyond its preset.
static bool IsProgram(const AppState& a) { return !a.program.id.empty(); }

// A value as one line: a line break inside it (a name pasted from several
// lines, say) becomes a space, so no value ever starts a line of its own.
static std::string LineValue(const std::wstring& value) {
    std::string bytes = WideToUtf8(value);
    for (char& c : bytes)
        if (c == '\r' || c == '\n') c = ' ';
    return bytes;
}

// "sleepAfter=": whole minutes, digits only, more than a day counting as a
// day; anything else (a sign, a fraction, nothing) leaves the setting as it was.
static void ReadSleepAfter(AppState& settings, const std::string& value) {
    const unsigned kDay = 24 * 60;
    unsigned minutes = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return;
        minutes = std::min(minutes * 10 + (c - '0'), kDay + 1);
    }
    if (!value.empty()) settings.sleepAfterMinutes = std::min(minutes, kDay);
}

const ConfigLine kLines[] = {
    {"url=", &FixedSettings::site, [](AppState& a, const std::string& value) { a.siteUrl = Utf8ToWide(value); },
     [](const AppState& a) { return "url=" + LineValue(a.siteUrl) + "\r\n"; }},
    {"blockAds=", &FixedSettings::blockAds, [](AppState& a, const std::string& value) { a.blockAds = value != "0"; },
     [](const AppState& a) { return std::string("blockAds=") + (a.blockAds ? "1" : "0") + "\r\n"; }},
    {"window=", nullptr, [](AppState& a, const std::string& value) { ParseWindowPlace(value, &a.place); },
     [](const AppState& a) { return a.place.known ? "window=" + FormatWindowPlace(a.place) + "\r\n" : std::string(); }},
    // Written only once the person has answered otherwise than the program
    // was made (or turned it on): a file without them is the plain program's.
    {"notifications=", &FixedSettings::notifications,
     // Another word is ignored: the answer stays the one before (a
     // program's own, say), not back to asking.
     [](AppState& a, const std::string& value) {
         if (value == "allow" || value == "block")
             a.notifications = value == "allow" ? NotificationsAnswer::kAllow : NotificationsAnswer::kBlock;
     },
     [](const AppState& a) {
         if (a.notifications == a.program.notifications) return std::string();
         return std::string("notifications=") + (a.notifications == NotificationsAnswer::kAllow ? "allow" : "block") +
                "\r\n";
     }},
    // A site app's name; plain Velotide has none.
    {"name=", nullptr, [](AppState& a, const std::string& value) { a.appName = Utf8ToWide(value); },
     [](const AppState& a) {
         return a.appName.empty() || IsProgram(a) ? std::string() : "name=" + LineValue(a.appName) + "\r\n";
     }},
    {"tray=", &FixedSettings::keepInTray, [](AppState& a, const std::string& value) { a.keepInTray = value == "1"; },
     [](const AppState& a) { return std::string(a.keepInTray ? "tray=1\r\n" : ""); }},
    // Minutes out of sight before a site that may not notify sleeps; written
    // only when not the default.
    {"sleepAfter=", nullptr, ReadSleepAfter,
     [](const AppState& a) {
         return a.sleepAfterMinutes == AppState::kDefaultSleepAfter
                    ? std::string()
                    : "sleepAfter=" + std::to_string(a.sleepAfterMinutes) + "\r\n";
     }},
    // Checked and reduced to origins once all are read.
    {"allow=", &FixedSettings::allowedSites,
     [](AppState& a, const std::string& value) { a.allowedOrigins.push_back(Utf8ToWide(value)); },
     [](const AppState& a) {
         std::string lines;
         const std::vector<std::wstring>& preset = a.program.allowedOrigins;
         for (const std::wstring& origin : a.allowedOrigins)
             if (std::find(preset.begin(), preset.end(), origin) == preset.end())
                 lines += "allow=" + LineValue(origin) + "\r\n";
         return lines;
     }},
};

static void ApplyLine(std::string line, AppState& settings) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    for (const ConfigLine& known : kLines) {
        size_t length = strlen(known.key);
        if (line.compare(0, length, known.key) != 0) continue;
        known.read(settings, line.substr(length));
        settings.linesAsRead.push_back(line);
        return;
    }
}

// The lines read for a setting fixed for the person, as they were.
static std::string LinesAsRead(const AppState& settings, const char* key) {
    std::string lines;
    for (const std::string& line : settings.linesAsRead)
        if (line.compare(0, strlen(key), key) == 0) lines += line + "\r\n";
    return lines;
}

void ReadConfigText(const std::string& text, AppState& settings) {
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        ApplyLine(text.substr(start, end - start), settings);
        start = end + 1;
    }
}

// Byte by byte, so that a NUL inside a line (a UTF-16 file) stays part of it.
// A read error ends reading and drops the line it cut short.
static std::string ReadAll(FILE* file) {
    std::string text;
    for (int c; (c = getc(file)) != EOF;) text += static_cast<char>(c);
    if (ferror(file)) text.erase(text.rfind('\n') + 1);
    return text;
}

void LoadConfig() {
    // A site's own program starts from its preset: config.ini adds to its
    // allowed sites and may answer notifications otherwise; its site and
    // name stay its own whatever the file says.
    const ProgramPreset& program = g_app.program;
    if (IsProgram(g_app)) {
        g_app.allowedOrigins = program.allowedOrigins;
        g_app.notifications = program.notifications;
    }
    // In binary: text mode would end the file at a Ctrl+Z byte (a site
    // app's name taken from a page's title may hold one), and the lines after
    // it would be lost at the next save. Line ends are taken apart here.
    if (FILE* file = _wfopen(ConfigPath().c_str(), L"rb")) {
        ReadConfigText(ReadAll(file), g_app);
        g_app.configUnread = ferror(file) != 0;  // read in part (a locked range): the rest is not known
        fclose(file);
    } else {
        g_app.configUnread = GetFileAttributesW(ConfigPath().c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    if (IsProgram(g_app)) {
        g_app.siteUrl = program.siteUrl;
        g_app.appName = program.name;
    }
    if (!g_app.siteUrl.empty() && !NormalizeSiteAddress(g_app.siteUrl)) g_app.siteUrl.clear();
    g_app.homeOrigin = SiteOrigin(g_app.siteUrl);
    // Each reduced to its origin, in file order; invalid ones and repeats go.
    std::vector<std::wstring> allowed;
    for (const std::wstring& address : g_app.allowedOrigins) AddAllowedOrigin(allowed, address);
    g_app.allowedOrigins.swap(allowed);
}

// The new settings replace config.ini only once written completely, so a full
// disk or a crash mid-write never costs the old file; and a file that could
// not be read is never replaced, since what it held is not known.
// A kiosk writes nothing: its settings come from its command line, and
// nobody there may change them (nothing is lost, as nothing changes).
bool SaveConfig() {
    if (g_app.kiosk.on) return true;
    return !g_app.configUnread && WriteConfig(g_app.dataDir, g_app);
}

bool WriteConfig(const std::wstring& dataDir, const AppState& settings) {
    return ReplaceFileWhole(dataDir + L"\\config.ini", ConfigText(settings));
}

std::string ConfigText(const AppState& settings, std::initializer_list<std::string_view> keys) {
    std::string text;
    for (const ConfigLine& known : kLines) {
        if (keys.size() && std::find(keys.begin(), keys.end(), known.key) == keys.end()) continue;
        bool fixed = known.fixedBy && settings.fixed.*known.fixedBy;
        text += fixed ? LinesAsRead(settings, known.key) : known.write(settings);
    }
    return text;
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
