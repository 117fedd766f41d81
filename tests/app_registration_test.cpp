// What makes a site app a program of its own to Windows: its .ico file, its Start menu shortcut
// read back through the shell, its Settings > Apps entry, and an exe that moved named anew.
#include <gtest/gtest.h>

#include <initguid.h>
#include <wincodec.h>

#include <functional>
#include <vector>

#include "app/app_icon.h"
#include "app/app_shortcut.h"
#include "app/app_uninstall_entry.h"
#include "app/com_ref.h"
#include "app/exe_path.h"
#include "app/steps_with_undo.h"
#include "tests/support/test_support.h"

namespace {

const bool kCom = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

// A w x h PNG of one colour (BGRA), as a site might give.
std::string Png(IWICImagingFactory* wic, UINT w, UINT h, DWORD colour) {
    std::vector<DWORD> pixels(w * h, colour);
    ComRef<IStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    std::string png(64 * 1024, '\0');
    ULONG read = 0;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    wic->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    encoder->Initialize(stream, WICBitmapEncoderNoCache);
    encoder->CreateNewFrame(&frame, nullptr);
    frame->Initialize(nullptr);
    frame->SetSize(w, h);
    frame->SetPixelFormat(&format);
    frame->WritePixels(h, w * 4, w * h * 4, reinterpret_cast<BYTE*>(pixels.data()));
    frame->Commit();
    encoder->Commit();
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    stream->Read(&png[0], static_cast<ULONG>(png.size()), &read);
    return png.substr(0, read);
}

// The .ico's image of size as the window's icon: its pixels (BGRA); zeros when it doesn't load.
std::vector<DWORD> IconPixels(const std::wstring& path, int size) {
    std::vector<DWORD> pixels(size * size);
    ICONINFO icon = {};
    HANDLE loaded = LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE);
    if (loaded && GetIconInfo(static_cast<HICON>(loaded), &icon))
        GetBitmapBits(icon.hbmColor, size * size * 4, pixels.data());
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    DestroyIcon(static_cast<HICON>(loaded));
    return pixels;
}

TEST(AppRegistration, IconTable) {
    ComRef<IWICImagingFactory> wic;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&wic)));
    ScratchDir dir;
    const std::wstring path = dir / L"icon.ico";
    // A non-square image leaves the square's corners transparent: a margin.
    const struct { UINT width, height; bool margin; } kCases[] = {
        {16, 16, false}, {300, 300, false}, {1, 1, false}, {64, 32, true}, {20, 100, true}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        ASSERT_TRUE(WriteIconFromPng(Png(wic, c.width, c.height, 0x80FF0000), path));  // half transparent red
        // The sizes the file's directory offers, each as the window's icon, its colour whole.
        std::string ico = ReadFileBytes(path);
        std::vector<UINT> sizes;
        for (size_t i = 0; ico.size() >= 6 + 16 * (i + 1) && i < BYTE(ico[4]); ++i)
            sizes.push_back(BYTE(ico[6 + 16 * i]) ? BYTE(ico[6 + 16 * i]) : 256);
        EXPECT_EQ(sizes, (std::vector<UINT>{16, 24, 32, 48, 256}));
        for (int size : sizes) {
            std::vector<DWORD> pixels = IconPixels(path, size);
            DWORD middle = pixels[size / 2 * size + size / 2];
            EXPECT_TRUE(middle >> 24 == 0x80 && (middle >> 16 & 255) >= 253) << std::hex << middle;
            EXPECT_EQ(pixels[0], c.margin ? 0 : middle);
        }
    }
    for (const char* notAnImage : {"", "<html>not found</html>"})
        EXPECT_FALSE(WriteIconFromPng(notAnImage, dir / L"none.ico") || FileExists(dir / L"none.ico"));
    HMODULE exe = LoadLibraryExW(VelotideExePath().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    EXPECT_TRUE(WriteProgramIcon(dir / L"icon.ico", exe));  // for a site that gives no image
    FreeLibrary(exe);
    // The very file the exe's icon was built from.
    EXPECT_EQ(ReadFileBytes(dir / L"icon.ico"),
              ReadFileBytes(WinPathFromUnix(VELOTIDE_SOURCE_UNIX_DIR "/resources/velotide.ico")));
    EXPECT_FALSE(WriteProgramIcon(dir / L"none.ico") || FileExists(dir / L"none.ico"));  // this program has none
}

// A value of app id's entry as text, a (small) number in decimal.
std::wstring EntryText(const std::wstring& id, const wchar_t* name) {
    wchar_t value[2048] = L"";
    DWORD type = 0, size = sizeof value;
    std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velotide.App." + id;
    RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, value, &size);
    return type == REG_DWORD ? std::to_wstring(value[0]) : value;
}

// An app's shortcut and entry written, read back and removed; one names an exe that has moved since.
TEST(AppRegistration, ShortcutAndEntryTable) {
    ScratchDir dir;
    ASSERT_TRUE(FileExists(ThisExePath()));
    const struct { std::wstring id, name, exe; bool gone; } kCases[] = {
        {L"mail", L"Mail", ThisExePath(), false},
        {L"board-2", L"Team \"Board\" 2", dir / L"old place\\velotide.exe", true}};
    for (const auto& c : kCases) {
        // The key is the prefix's, shared with tests running beside this one: an id of this run alone.
        const std::wstring id = c.id + L"-test-" + std::to_wstring(GetCurrentProcessId()), lnk = dir / L"App.lnk";
        const Shortcut s = {c.exe, L"--app " + id, dir / (id + L".ico"), L"Velotide.App." + id, c.name};
        const UninstallEntry e = {c.name, s.icon, c.id + L".example.com", dir.path(), c.exe};
        Shortcut shortcut;
        UninstallEntry entry;
        ASSERT_TRUE(WriteShortcut(lnk, s) && WriteUninstallEntry(id, e));
        ASSERT_TRUE(ReadShortcut(lnk, &shortcut) && ReadUninstallEntry(id, &entry));
        EXPECT_EQ(std::tie(shortcut.target, shortcut.arguments, shortcut.icon, shortcut.description),
                  std::tie(s.target, s.arguments, s.icon, s.description));
        // Wine's shortcuts take properties and keep none: no id comes back there.
        EXPECT_EQ(shortcut.appUserModelId,
                  GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") ? L"" : s.appUserModelId);
        EXPECT_EQ(std::tie(entry.name, entry.icon, entry.publisher, entry.folder, entry.exe),
                  std::tie(e.name, e.icon, e.publisher, e.folder, e.exe));
        EXPECT_EQ(EntryText(id, L"UninstallString"), L"\"" + c.exe + L"\" --remove-app " + id);
        EXPECT_EQ(EntryText(id, L"NoModify") + EntryText(id, L"NoRepair"), L"11");
        EXPECT_EQ(std::pair(ExeIsGone(shortcut.target), ExeIsGone(entry.exe)), std::pair(c.gone, c.gone));
        EXPECT_TRUE(DeleteShortcut(lnk) && DeleteUninstallEntry(id));
        EXPECT_FALSE(ReadShortcut(lnk, &shortcut) || ReadUninstallEntry(id, &entry));
        EXPECT_TRUE(DeleteShortcut(lnk) && DeleteUninstallEntry(id));  // gone already: nothing left to do
    }
}

// A failed step undoes those before it, never itself (what was in its way is another's).
TEST(AppRegistration, AFailedStepUndoesOnlyTheStepsBeforeIt) {
    struct Step { std::function<bool(int)> run; std::function<void(int)> undo; };
    for (auto [fails, undone] : {std::pair<size_t, std::string>{0, ""}, {2, "10"}, {4, "3210"}, {5, ""}}) {
        std::string done;
        std::vector<Step> steps;
        for (size_t i = 0; i < 5; ++i)
            steps.push_back({[=](int) { return i != fails; }, [&, i](int) { done += char('0' + i); }});
        EXPECT_EQ(RunStepsWithUndo(steps.data(), steps.size(), 0), fails);
        EXPECT_EQ(done, undone) << fails;
    }
}

}  // namespace
