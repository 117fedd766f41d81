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

TEST_F(ProcessTest, SecondStartRestoresFirstWindowAndExitsZero) {
    CreateDirectoryW(DataDir().c_str(), nullptr);
    const std::string settings = "url=Host\r\nblockAds=0\r\n";
    WriteFileBytes(DataDir() + L"\\config.ini", settings);

    ChildProcess first(VelotideExePath());
    HWND window = first.WaitForWindow(L"VelotideMain");
    ASSERT_TRUE(window);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }));

    ChildProcess second(VelotideExePath());
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(window); }));
    EXPECT_EQ(ReadFileBytes(DataDir() + L"\\config.ini"), settings);
    EXPECT_TRUE(IsWindow(window));  // the first instance runs on
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

TEST_F(ProcessTest, LoaderOfResourceSizeIsKeptAndLoadedEvenWhenItDiffers) {
    const std::string loader = EmbeddedLoader();
    ASSERT_FALSE(loader.empty());
    const std::string patched = LoaderWithoutExport(loader);
    ASSERT_FALSE(patched == loader);
    CreateDirectoryW(DataDir().c_str(), nullptr);
    WriteFileBytes(DataDir() + L"\\WebView2Loader.dll", patched);

    ChildProcess app(VelotideExePath());
    EXPECT_EQ(DismissMessageBox(app), kLoaderFailedMessage);
    EXPECT_EQ(app.WaitForExit(), 1u);
    EXPECT_TRUE(ReadFileBytes(DataDir() + L"\\WebView2Loader.dll") == patched);
}

TEST_F(ProcessTest, LoaderOfOtherSizeIsRewrittenFromResource) {
    CreateDirectoryW(DataDir().c_str(), nullptr);
    WriteFileBytes(DataDir() + L"\\WebView2Loader.dll", "not a library");

    ChildProcess app(VelotideExePath());
    EXPECT_EQ(DismissMessageBox(app), kRuntimeMissingMessage);
    EXPECT_EQ(app.WaitForExit(), 1u);
    EXPECT_TRUE(ReadFileBytes(DataDir() + L"\\WebView2Loader.dll") == EmbeddedLoader());
}

TEST_F(ProcessTest, UnwritableLoaderFileIsLeftAloneAndStillLoaded) {
    CreateDirectoryW(DataDir().c_str(), nullptr);
    const std::wstring path = DataDir() + L"\\WebView2Loader.dll";
    WriteFileBytes(path, "not a library");
    // Held open for reading only: the program can't open it for writing but
    // can still load it. (A read-only attribute would do on Windows; Wine
    // running as root writes read-only files all the same.)
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    ChildProcess app(VelotideExePath());
    EXPECT_EQ(DismissMessageBox(app), kLoaderFailedMessage);
    EXPECT_EQ(app.WaitForExit(), 1u);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(path), "not a library");
}

}  // namespace
