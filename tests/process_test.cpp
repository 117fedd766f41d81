// velotide.exe as a user starts it: single instance, data directory, exit
// codes, engine start-up failures and loader extraction. Each test gets its
// own per-user folder (the prefix's "Local AppData"), so its data directory
// is fresh.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/test_support.h"

namespace {

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override { appData_ = std::make_unique<LocalAppDataOverride>(perUser.path()); }
    void TearDown() override { appData_.reset(); }

    std::wstring DataDir() const { return perUser / L"Velotide"; }

    ScratchDir perUser;

private:
    std::unique_ptr<LocalAppDataOverride> appData_;
};

TEST_F(ProcessTest, WithoutRuntimeShowsRuntimeMissingAndExitsOne) {
    ChildProcess app(VelotideExePath());
    ASSERT_TRUE(app.started());
    EXPECT_EQ(DismissMessageBox(app), kRuntimeMissingMessage);
    EXPECT_EQ(app.WaitForExit(), 1u);
    // The data directory was created under the per-user folder, with the loader in it.
    EXPECT_TRUE(FileExists(DataDir() + L"\\WebView2Loader.dll"));
    EXPECT_FALSE(FileExists(DataDir() + L"\\config.ini"));
}

TEST_F(ProcessTest, WithoutLocalAppDataUsesCurrentDirectory) {
    LocalAppDataOverride missing(perUser / L"does-not-exist");
    ScratchDir current;
    ChildProcess app(VelotideExePath(), current.path());
    DismissMessageBox(app);
    EXPECT_EQ(app.WaitForExit(), 1u);
    EXPECT_TRUE(FileExists(current / L"Velotide\\WebView2Loader.dll"));
    EXPECT_FALSE(FileExists(DataDir()));
}

// A second start brings the first window back only from the taskbar: a
// maximised window stays maximised.
TEST_F(ProcessTest, SecondStartRestoresAMinimisedFirstWindowAndExitsZero) {
    CreateDirectoryW(DataDir().c_str(), nullptr);
    const std::string settings = "url=Host\r\nblockAds=0\r\n";
    WriteFileBytes(DataDir() + L"\\config.ini", settings);
    struct Case {
        int show;
        bool iconic, zoomed;  // afterwards
    } cases[] = {{SW_MINIMIZE, false, false}, {SW_MAXIMIZE, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.show);
        ChildProcess first(VelotideExePath());
        HWND window = first.WaitForWindow(L"VelotideMain");
        ASSERT_TRUE(window);
        ShowWindow(window, c.show);
        ASSERT_TRUE(PumpUntil([&] { return (IsIconic(window) || IsZoomed(window)) != FALSE; }));

        ChildProcess second(VelotideExePath());
        EXPECT_EQ(second.WaitForExit(), 0u);
        PumpUntil([&] { return IsIconic(window) == c.iconic && IsZoomed(window) == c.zoomed; });
        EXPECT_EQ(IsIconic(window) != FALSE, c.iconic);
        EXPECT_EQ(IsZoomed(window) != FALSE, c.zoomed);
        EXPECT_EQ(ReadFileBytes(DataDir() + L"\\config.ini"), settings);
        EXPECT_TRUE(IsWindow(window));  // the first instance runs on
    }
}

// Patches the export name inside a copy of the loader: same size, loads, but
// no CreateCoreWebView2EnvironmentWithOptions.
std::string LoaderWithoutExport(std::string loader) {
    const std::string name = "CreateCoreWebView2EnvironmentWithOptions";
    size_t at = loader.find(name);
    if (at != std::string::npos) loader[at] = 'X';
    return loader;
}

std::string EmbeddedLoader() {
    HMODULE exe = LoadLibraryExW(VelotideExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(2), RT_RCDATA);
    std::string bytes;
    if (found)
        bytes.assign(static_cast<const char*>(LockResource(LoadResource(exe, found))), SizeofResource(exe, found));
    FreeLibrary(exe);
    return bytes;
}

// The same loader with another time stamp in its PE header: still a working
// loader, of the same size, but not the resource's bytes (an older Velotide's).
std::string OtherWorkingLoader(std::string loader) {
    size_t header = static_cast<unsigned char>(loader[0x3C]) | static_cast<unsigned char>(loader[0x3D]) << 8;
    loader[header + 8] ^= 0x5A;
    return loader;
}

FILETIME LastWrite(const std::wstring& path) {
    FILETIME written = {};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return written;
}

TEST_F(ProcessTest, LoaderFileIsRewrittenUnlessItHoldsTheResourceOrIsInUse) {
    const std::string loader = EmbeddedLoader();
    ASSERT_FALSE(loader.empty());
    // inUse: another running copy has the file loaded (it can't be replaced);
    // kept: what the file holds afterwards, when not the resource.
    const struct {
        const char* name;
        std::string before;
        bool inUse;
        const wchar_t* message;  // what start-up ends with, no runtime being installed
        std::string kept;
    } kCases[] = {
        {"same size, other bytes", LoaderWithoutExport(loader), false, kRuntimeMissingMessage, ""},
        {"an older working loader", OtherWorkingLoader(loader), false, kRuntimeMissingMessage, ""},
        {"other size", "not a library", false, kRuntimeMissingMessage, ""},
        {"the resource's bytes", loader, false, kRuntimeMissingMessage, ""},
        {"older loader in use", OtherWorkingLoader(loader), true, kRuntimeMissingMessage, OtherWorkingLoader(loader)},
        {"damaged loader in use", "not a library", true, kLoaderFailedMessage, "not a library"},
    };
    const std::wstring path = DataDir() + L"\\WebView2Loader.dll";
    CreateDirectoryW(DataDir().c_str(), nullptr);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.before, c.inUse ? loader : "");
        WriteFileBytes(path, c.before);
        FILETIME old = {0x12345678, 0x01D00000};  // in 2015: any rewrite changes it
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &old);
        CloseHandle(file);
        // Open without delete sharing, as a loaded image is: it can be read and
        // loaded, not replaced.
        HANDLE held = c.inUse ? CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
                              : INVALID_HANDLE_VALUE;

        ChildProcess app(VelotideExePath());
        EXPECT_EQ(DismissMessageBox(app), c.message);
        EXPECT_EQ(app.WaitForExit(), 1u);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_TRUE(ReadFileBytes(path) == (c.kept.empty() ? loader : c.kept));
        EXPECT_FALSE(FileExists(path + L".tmp"));
        FILETIME now = LastWrite(path);
        bool untouched = CompareFileTime(&now, &old) == 0;
        EXPECT_EQ(untouched, c.before == loader || c.inUse);
    }
}

}  // namespace
