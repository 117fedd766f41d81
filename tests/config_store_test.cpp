#include <gtest/gtest.h>

#include "app/app_state.h"
#include "settings/config_store.h"
#include "tests/support/test_support.h"

namespace {

// Each test gets a fresh state record and its own data directory.
class ConfigStore : public testing::Test {
protected:
    explicit ConfigStore(const std::wstring& dirSuffix = L"") : dir_(dirSuffix) {
        g_app = AppState{};
        g_app.dataDir = dir_.path();
    }
    ~ConfigStore() override { g_app = AppState{}; }

    std::wstring ConfigPath() const { return dir_ / L"config.ini"; }
    std::wstring TempPath() const { return dir_ / L"config.ini.tmp"; }

    // Loads the given file into a fresh state record.
    void LoadFrom(const std::string& bytes) {
        g_app = AppState{};
        g_app.dataDir = dir_.path();
        WriteFileBytes(ConfigPath(), bytes);
        LoadConfig();
    }

    ScratchDir dir_;
};

TEST_F(ConfigStore, NoFileGivesDefaultsAndCreatesNothing) {
    LoadConfig();
    EXPECT_EQ(g_app.siteUrl, L"");
    EXPECT_TRUE(g_app.blockAds);
    EXPECT_EQ(g_app.homeOrigin, L"");
    EXPECT_FALSE(FileExists(ConfigPath()));
    EXPECT_FALSE(FileExists(TempPath()));
}

std::string Utf16FileBytes(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

struct LoadCase {
    const char* name;
    std::string file;
    const wchar_t* siteUrl;
    bool blockAds;
    const wchar_t* homeOrigin;
};

const LoadCase kLoadCases[] = {
    {"empty file", "", L"", true, L""},
    {"blank lines", "\r\n\r\n   \r\n\n", L"", true, L""},
    {"CR LF", "url=https://Host/a\r\nblockAds=0\r\n", L"https://Host/a", false, L"https://host"},
    {"LF", "url=https://Host/a\nblockAds=0\n", L"https://Host/a", false, L"https://host"},
    {"CR CR LF", "url=https://Host/a\r\r\nblockAds=0\r\r\n", L"https://Host/a", false, L"https://host"},
    {"no final line break", "url=https://Host\r\nblockAds=0", L"https://Host", false, L"https://host"},
    {"trailing spaces and CRs", "url=https://Host \r \r\r\nblockAds=0 \r  \n", L"https://Host", false,
     L"https://host"},
    {"keys in any order", "blockAds=0\r\nurl=https://Host\r\n", L"https://Host", false, L"https://host"},
    {"BOM hides the first line", "\xEF\xBB\xBFurl=https://Host\r\nblockAds=0\r\n", L"", false, L""},
    {"lines after a BOM count", "\xEF\xBB\xBF\r\nurl=https://Host\r\n", L"https://Host", true, L"https://host"},
    {"UTF-16 file", Utf16FileBytes(L"url=https://Host\r\nblockAds=0\r\n"), L"", true, L""},
    {"Ctrl+Z is no end of file", "name=Chat\x1A\r\nurl=https://Host\r\nblockAds=0\r\n", L"https://Host", false,
     L"https://host"},
    {"last url wins", "url=https://First\r\nurl=https://Second\r\n", L"https://Second", true, L"https://second"},
    {"last blockAds wins", "blockAds=0\r\nblockAds=1\r\nblockAds=0\r\n", L"", false, L""},
    {"empty url clears", "url=https://Host\r\nurl=\r\n", L"", true, L""},
    {"invalid later url clears", "url=https://Host\r\nurl=ftp://Other\r\n", L"", true, L""},
    {"rejected scheme", "url=ftp://Host\r\n", L"", true, L""},
    {"rejected empty host", "url=https:///Path\r\n", L"", true, L""},
    {"url trimmed and completed", "url=  Host  \r\n", L"https://Host", true, L"https://host"},
    {"equals kept in value", "url=https://Host/?a=b\r\n", L"https://Host/?a=b", true, L"https://host"},
    {"inner spaces kept", "url=https://Host/a b = c  \r\n", L"https://Host/a b = c", true, L"https://host"},
    {"UTF-8 address", "url=https://b\xC3\xBC" "cher.example/\xD0\x96\xE8\xA8\xAD\r\n",
     L"https://b\x00FC" L"cher.example/\x0416\x8A2D", true, L"https://xn--bcher-kva.example"},
    {"kept as typed, compared canonical", "url=http://me@Site.TEST:80\r\n", L"http://me@Site.TEST:80", true,
     L"http://site.test"},
    {"host without an ASCII form", "url=https://\xE2\x92\x88.example/\r\n", L"", true, L""},
    {"upper-case URL key", "URL=https://Host\r\n", L"", true, L""},
    {"space before url key", " url=https://Host\r\n", L"", true, L""},
    {"tab before url key", "\turl=https://Host\r\n", L"", true, L""},
    {"space before url equals", "url =https://Host\r\n", L"", true, L""},
    {"capital BlockAds key", "BlockAds=0\r\n", L"", true, L""},
    {"space before blockAds key", " blockAds=0\r\n", L"", true, L""},
    {"comments and sections ignored", "; note\r\n[main]\r\nother=1\r\nurl\r\nurl=https://Host\r\n", L"https://Host",
     true, L"https://host"},
};

TEST_F(ConfigStore, LoadTable) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.name);
        LoadFrom(c.file);
        EXPECT_EQ(g_app.siteUrl, c.siteUrl);
        EXPECT_EQ(g_app.blockAds, c.blockAds);
        EXPECT_EQ(g_app.homeOrigin, c.homeOrigin);
    }
}

// A preceding "blockAds=0" makes an "on" result prove that the line was read
// as a value, not skipped.
TEST_F(ConfigStore, BlockAdsOffOnlyForExactlyZero) {
    struct {
        const char* value;
        bool blockAds;
    } cases[] = {
        {"0", false}, {"0  ", false}, {"0\r", false}, {"1", true},     {"false", true},
        {"00", true}, {"", true},     {"0\t", true},  {" 0", true},    {"0 0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.value)));
        LoadFrom(std::string("blockAds=0\r\nblockAds=") + c.value + "\r\n");
        EXPECT_EQ(g_app.blockAds, c.blockAds);
    }
}

// "sleepAfter=" after a line of 7: minutes; a value that doesn't parse or is
// negative leaves the 7, more than a day is a day; written back unless 10.
TEST_F(ConfigStore, SleepAfterTable) {
    const struct {
        const char* value;
        unsigned minutes;
    } kCases[] = {{"0", 0},  {"1", 1},     {"10", 10}, {"1440", 1440}, {"1441", 1440}, {"99999999999999999999", 1440},
                  {"-5", 7}, {"5.5", 7},   {"", 7},    {" 5", 7},      {"abc", 7},     {"+5", 7}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.value);
        LoadFrom(std::string("sleepAfter=7\r\nsleepAfter=") + c.value + "\r\n");
        EXPECT_EQ(g_app.sleepAfterMinutes, c.minutes);
        SaveConfig();
        std::string line = "sleepAfter=" + std::to_string(c.minutes) + "\r\n";
        EXPECT_EQ(ReadFileBytes(ConfigPath()), "url=\r\nblockAds=1\r\n" + (c.minutes == 10 ? "" : line));
    }
}

// "window=left,top,right,bottom,maximised": a value that doesn't parse is
// ignored, so an earlier good line stays in force.
TEST_F(ConfigStore, WindowLineTable) {
    struct {
        const char* value;
        bool known;
        RECT normal;
        bool maximised;
    } cases[] = {
        {"120,90,1000,700,0", true, {120, 90, 1000, 700}, false},
        {"-1800,-20,-200,900,1", true, {-1800, -20, -200, 900}, true},
        {"120,90,1000,700,0  ", true, {120, 90, 1000, 700}, false},  // trailing spaces go, as on every line
        {"120,90,1000,700", false, {}, false},
        {"120,90,1000,700,0,5", false, {}, false},
        {"120,90,1000,700,2", false, {}, false},
        {"120,90,1000,700,", false, {}, false},
        {"120;90;1000;700;0", false, {}, false},
        {"120, 90,1000,700,0", false, {}, false},
        {"1000,90,120,700,0", false, {}, false},  // right before left
        {"120,700,1000,700,0", false, {}, false},  // no height
        {"120,90,1000,99999999999999,0", false, {}, false},
        {"a,b,c,d,0", false, {}, false},
        {"", false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        LoadFrom(std::string("window=") + c.value + "\r\n");
        EXPECT_EQ(g_app.place.known, c.known);
        if (!c.known) continue;
        EXPECT_TRUE(EqualRect(&g_app.place.normal, &c.normal));
        EXPECT_EQ(g_app.place.maximised, c.maximised);
        // Written back as read, after the other lines.
        SaveConfig();
        std::string value = c.value;
        value.erase(value.find_last_not_of(' ') + 1);
        EXPECT_EQ(ReadFileBytes(ConfigPath()), "url=\r\nblockAds=1\r\nwindow=" + value + "\r\n");
    }
    LoadFrom("window=120,90,1000,700,1\r\nwindow=nonsense\r\n");
    EXPECT_TRUE(g_app.place.known) << "a line that doesn't parse dropped the good one";
}

TEST_F(ConfigStore, SaveWritesExactBytes) {
    struct {
        const wchar_t* siteUrl;
        bool blockAds;
        std::string bytes;
    } cases[] = {
        {L"https://a.bc", true, "url=https://a.bc\r\nblockAds=1\r\n"},
        {L"", false, "url=\r\nblockAds=0\r\n"},
        {L"https://\x0416.example/\x8A2D", true, "url=https://\xD0\x96.example/\xE8\xA8\xAD\r\nblockAds=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.siteUrl)));
        g_app.siteUrl = c.siteUrl;
        g_app.blockAds = c.blockAds;
        SaveConfig();
        EXPECT_EQ(ReadFileBytes(ConfigPath()), c.bytes);
        EXPECT_FALSE(FileExists(TempPath()));
    }
    EXPECT_EQ(cases[0].bytes.size(), 30u);
    EXPECT_EQ(cases[1].bytes.size(), 18u);
}

TEST_F(ConfigStore, SaveThenLoadGivesTheSameSettings) {
    struct {
        const wchar_t* siteUrl;
        bool blockAds;
    } cases[] = {
        {L"https://Host:8080/Path?q=1#f", false},
        {L"", true},
        {L"https://\x043F\x0440\x0438\x043C\x0435\x0440.\x0440\x0444/\x8A2D\x5B9A", true},
        {L"http://b\x00FC" L"cher.example/\xD83D\xDE00", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.siteUrl)));
        g_app.siteUrl = c.siteUrl;
        g_app.blockAds = c.blockAds;
        SaveConfig();
        g_app = AppState{};
        g_app.dataDir = dir_.path();
        g_app.blockAds = !c.blockAds;
        LoadConfig();
        EXPECT_EQ(g_app.siteUrl, c.siteUrl);
        EXPECT_EQ(g_app.blockAds, c.blockAds);
    }
}

// Sites allowed for sign-in: what each file's allow= lines load as, and the
// lines a save writes for them, in the same order.
TEST_F(ConfigStore, AllowLinesLoadAsOriginsAndSaveInOrder) {
    const struct {
        const char* name;
        std::string lines;
        std::vector<std::wstring> origins;
    } kCases[] = {
        {"none", "", {}},
        {"reduced to the origin", "allow=https://Auth.Example/login?x=1#f \r\n", {L"https://auth.example"}},
        {"completed like the site address", "allow=  id.example:8443/path\r\n", {L"https://id.example:8443"}},
        {"order kept", "allow=https://b.example\r\nallow=http://a.example\r\n", {L"https://b.example", L"http://a.example"}},
        {"repeats dropped", "allow=https://a.example/x\r\nallow=HTTPS://A.example\r\nallow=https://a.example:443\r\n"
         "allow=https://me@a.example\r\nallow=http://a.example\r\n", {L"https://a.example", L"http://a.example"}},
        {"invalid dropped", "allow=ftp://a.example\r\nallow=\r\nallow=https://\r\nallow=https://ok.example\r\n",
         {L"https://ok.example"}},
        {"key is exact", "Allow=https://a.example\r\n allow=https://b.example\r\nallowed=https://c.example\r\n", {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        LoadFrom("url=https://site.example\r\n" + c.lines + "blockAds=0\r\n");
        EXPECT_EQ(g_app.allowedOrigins, c.origins);
        EXPECT_EQ(g_app.siteUrl, L"https://site.example");
        EXPECT_FALSE(g_app.blockAds);
        SaveConfig();
        std::string expected = "url=https://site.example\r\nblockAds=0\r\n";
        for (const std::wstring& origin : c.origins) expected += "allow=" + WideToUtf8(origin) + "\r\n";
        EXPECT_EQ(ReadFileBytes(ConfigPath()), expected);
    }
}

// A value never starts a line of its own: a line break inside a name is
// written as a space, and the file loads back with the site it had.
TEST_F(ConfigStore, ALineBreakInANameStaysInItsLine) {
    const struct {
        const wchar_t *name, *loaded;
    } kCases[] = {{L"Mail\r\nurl=https://evil.example", L"Mail  url=https://evil.example"},
                  {L"Mail\ntray=1", L"Mail tray=1"},
                  {L"Mail\rChat", L"Mail Chat"}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        LoadFrom("url=https://site.example\r\n");
        g_app.appName = c.name;
        SaveConfig();
        LoadFrom(ReadFileBytes(ConfigPath()));
        EXPECT_EQ(g_app.siteUrl, L"https://site.example");
        EXPECT_EQ(g_app.appName, c.loaded);
        EXPECT_FALSE(g_app.keepInTray);
    }
}

TEST_F(ConfigStore, SaveReplacesHandEditedFileWhole) {
    LoadFrom("; my comment\r\nurl=https://Host\r\nextra=1\r\nblockAds=0\r\n" + std::string(200, 'x') + "\r\n");
    ASSERT_EQ(g_app.siteUrl, L"https://Host");
    SaveConfig();
    EXPECT_EQ(ReadFileBytes(ConfigPath()), "url=https://Host\r\nblockAds=0\r\n");
}

// The old file must survive a save that can't finish: the new text is only
// put in place once it has been written completely.
TEST_F(ConfigStore, FailedSaveKeepsOldFile) {
    const std::string old = "url=https://Old\r\nblockAds=0\r\n; hand note\r\n";
    WriteFileBytes(ConfigPath(), old);
    g_app.siteUrl = L"https://New";
    g_app.blockAds = true;

    // Held open without FILE_SHARE_DELETE: config.ini can't be replaced.
    HANDLE held = CreateFileW(ConfigPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SaveConfig();
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), old);
    EXPECT_FALSE(FileExists(TempPath()));

    // A folder in the temporary file's place: the new text can't be written.
    ASSERT_TRUE(CreateDirectoryW(TempPath().c_str(), nullptr));
    SaveConfig();
    EXPECT_EQ(ReadFileBytes(ConfigPath()), old);
    ASSERT_TRUE(RemoveDirectoryW(TempPath().c_str()));

    // Once nothing is in the way the same save goes through.
    SaveConfig();
    EXPECT_EQ(ReadFileBytes(ConfigPath()), "url=https://New\r\nblockAds=1\r\n");
    EXPECT_FALSE(FileExists(TempPath()));
}

TEST_F(ConfigStore, SaveIntoMissingDirectoryCreatesNothing) {
    g_app.dataDir = dir_ / L"missing";
    g_app.siteUrl = L"https://Host";
    SaveConfig();
    EXPECT_FALSE(FileExists(g_app.dataDir));
    EXPECT_EQ(g_app.siteUrl, L"https://Host");
}

// A data directory whose name has no ANSI code page form (Cyrillic and CJK).
class ConfigStoreWidePath : public ConfigStore {
protected:
    ConfigStoreWidePath() : ConfigStore(L"-\x041D\x0430\x0441\x0442\x0440\x043E\x0439\x043A\x0438-\x8A2D\x5B9A") {}
};

TEST_F(ConfigStoreWidePath, SavesAndLoadsThroughTheWidePath) {
    ASSERT_TRUE(FileExists(dir_.path()));
    g_app.siteUrl = L"https://Host/\x0416";
    g_app.blockAds = false;
    SaveConfig();
    EXPECT_EQ(ReadFileBytes(ConfigPath()), "url=https://Host/\xD0\x96\r\nblockAds=0\r\n");
    EXPECT_FALSE(FileExists(TempPath()));

    LoadFrom("url=Other\r\nblockAds=0\r\n");
    EXPECT_EQ(g_app.siteUrl, L"https://Other");
    EXPECT_FALSE(g_app.blockAds);
    EXPECT_EQ(g_app.homeOrigin, L"https://other");
}

TEST(ConfigStoreUtf, ConversionTable) {
    struct {
        const wchar_t* wide;
        std::string utf8;
    } cases[] = {
        {L"", ""},
        {L"https://Host", "https://Host"},
        {L"\x00FC\x00DF", "\xC3\xBC\xC3\x9F"},
        {L"\x0416\x8A2D", "\xD0\x96\xE8\xA8\xAD"},
        {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8);
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
    }
    // Embedded NULs are text like any other code unit; nothing stops at them.
    EXPECT_EQ(WideToUtf8(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

}  // namespace
