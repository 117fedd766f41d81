// A site's own program: made with velotide.exe --make-program (its faults
// said on standard error), run against the test engine as a program of its
// own beside Velotide, made again to the same bytes, and refused when its
// preset is damaged; its version block its own, and a signed velotide.exe's
// signature left out of it.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "app/app_icon.h"
#include "app/commands.h"
#include "app/exe_path.h"
#include "tests/support/app_session.h"

namespace {

const std::wstring kDemoIcon = WinPathFromUnix(VELOTIDE_SOURCE_UNIX_DIR "/docs/demo-site/icon.png");
const wchar_t kProgramClass[] = L"VelotideMain.Program.acme-board-52748f3d";

// exe run with arguments and its standard error a pipe, as a console runs
// it: the exit code (STILL_ACTIVE when it didn't end in time) and what it
// wrote there.
DWORD RunWithStandardError(const std::wstring& exe, const std::wstring& arguments, std::string* error) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherited, 1 << 16)) return STILL_ACTIVE;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = write;
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    DWORD code = STILL_ACTIVE;
    if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(write);
    // What is in the pipe once it ended: under Wine a service that COM
    // starts may hold the pipe's other end for good.
    char buffer[4096];
    for (DWORD got, left; PeekNamedPipe(read, nullptr, 0, nullptr, &left, nullptr) && left &&
                          ReadFile(read, buffer, sizeof buffer, &got, nullptr);)
        error->append(buffer, got);
    CloseHandle(read);
    return code;
}

std::wstring MakeArguments(const std::wstring& out, const std::wstring& rest) {
    return L"--make-program \"" + out + L"\" " + rest;
}

bool FolderIsEmpty(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    bool empty = true;
    if (search == INVALID_HANDLE_VALUE) return true;
    do empty = empty && (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L".."));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

// The preset resource of a program file, as it holds it.
std::string PresetOf(const std::wstring& exe) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    std::string text = module ? ExeResource(module, MAKEINTRESOURCEW(3), RT_RCDATA) : "";
    if (module) FreeLibrary(module);
    return text;
}

TEST(SiteProgramAppTest, EachFaultInTheArgumentsIsOneLineOnStandardErrorAndNothingIsWritten) {
    ScratchDir dir, inputs;
    const std::wstring out = dir / L"Acme Board.exe", site = L"--url https://site.example/ ";
    WriteFileBytes(inputs / L"photo.ico", ReadFileBytes(WinPathFromUnix(VELOTIDE_SOURCE_UNIX_DIR "/tests/data/photo.jpg")));
    std::string huge(30 << 20, '\0');
    huge.replace(0, 8, "\x89PNG\r\n\x1A\n");
    WriteFileBytes(inputs / L"huge.png", huge);
    // An image the directory puts past the file's end.
    WriteFileBytes(inputs / L"outside.ico", std::string("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\xE8\3\0\0\x16\0\0\0", 22));
    const struct {
        std::wstring arguments;
        const char* said;  // a part of the line that names the fault
    } kCases[] = {
        {MakeArguments(out, site + L"--name " + std::wstring(200, L'a')), "longer than 64 characters"},
        {MakeArguments(out, site + L"--name \"Acme\tBoard\""), "control character"},
        {MakeArguments(out, site + L"--name Aux"), "\xE2\x80\x9C" "Aux\xE2\x80\x9D is a name Windows keeps for a device"},
        {MakeArguments(out, site + L"--name \"Acme: Board\""), "can't hold"},
        {MakeArguments(out, site + L"--name \"!!\""), "needs a letter or a digit"},
        {MakeArguments(out, site + L"--name Acme --icon \"" + inputs / L"photo.ico" + L"\""), "is not an .ico file"},
        {MakeArguments(out, site + L"--name Acme --icon \"" + inputs / L"huge.png" + L"\""), "larger than 4 MB"},
        {MakeArguments(out, site + L"--name Acme --icon \"" + inputs / L"outside.ico" + L"\""),
         "Image 1 of the icon \xE2\x80\x9C"},
        {MakeArguments(out, site + L"--name Acme --icon \"" + inputs / L"none.png" + L"\""), "can't be read"},
        {MakeArguments(dir / L"missing\\Acme.exe", site + L"--name Acme"), "Could not write"},
        {MakeArguments(VelotideExePath(), site + L"--name Acme"), "is this program itself"},
        {MakeArguments(out, L"--url ftp://site.example/ --name Acme"), "is not a site's address"},
        {MakeArguments(out, L"--name Acme"), "--url is needed"},
        {MakeArguments(out, site + L"--name Acme --allow notasite://x"), "--allow"},
        {MakeArguments(out, site + L"--name Acme --notifications maybe"), "allow, block or ask"},
        {MakeArguments(out, site + L"--name Acme --background"), "\xE2\x80\x9C--background\xE2\x80\x9D is not a word"},
        {L"--make-program " + site + L"--name Acme", "needs the file to write"},
        {MakeArguments(out, site + L"--name Acme --version 1.2.3.4.5"), "--version takes"},
        {MakeArguments(out, site + L"--name Acme --version 2..1"), "--version takes"},
        {MakeArguments(out, site + L"--name Acme --version 65536"), "--version takes"},
        {MakeArguments(out, site + L"--name Acme --version v2"), "--version takes"},
        {MakeArguments(out, site + L"--name Acme --publisher " + std::wstring(65, L'a')), "--publisher takes"},
        {MakeArguments(out, site + L"--name Acme --publisher \"Acme\tLtd\""), "--publisher takes"},
        {MakeArguments(out, site + L"--name Acme --publisher"), "--publisher needs a value"},
    };
    const std::string exe = ReadFileBytes(VelotideExePath());
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments.substr(0, 120)));
        std::string error;
        EXPECT_EQ(RunWithStandardError(VelotideExePath(), c.arguments, &error), 2u);
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), error.size() - 1) << error;  // one line
        EXPECT_TRUE(FolderIsEmpty(dir.path()));
    }
    EXPECT_EQ(ReadFileBytes(VelotideExePath()), exe);
}

// Made with a name, a site, a PNG icon, an allowed site and an answer; made
// again to the same bytes; run as its own program beside Velotide, with the
// person's own answers added to what it came with.
TEST(SiteProgramAppTest, AProgramMadeFromANameASiteAndAPngRunsAsItselfBesideVelotide) {
    ScratchDir dir;
    const std::wstring program = dir / L"Acme Board.exe", again = dir / L"again.exe";
    const std::wstring arguments = L"--url site.example --name \" Acme Board \" --icon \"" + kDemoIcon +
                                   L"\" --allow https://signin.example/path --notifications allow";
    std::string error;
    ASSERT_EQ(RunWithStandardError(VelotideExePath(), MakeArguments(program, arguments), &error), 0u) << error;
    ASSERT_EQ(RunWithStandardError(VelotideExePath(), MakeArguments(again, arguments), &error), 0u) << error;
    EXPECT_EQ(ReadFileBytes(program), ReadFileBytes(again));
    EXPECT_EQ(PresetOf(program),
              "url=https://site.example\r\nnotifications=allow\r\nname=Acme Board\r\nallow=https://signin.example\r\n"
              "id=acme-board-52748f3d\r\n");
    // Its icon is the PNG's, read back from its resources.
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module);
    EXPECT_TRUE(WriteProgramIcon(dir / L"icon.ico", module));
    FreeLibrary(module);
    EXPECT_EQ(IconCentre(dir / L"icon.ico"), 0xFF14345Au);

    // A program made from the program carries the new preset alone.
    ASSERT_EQ(RunWithStandardError(program, MakeArguments(again, L"--url other.example --name Other"), &error), 0u);
    EXPECT_EQ(PresetOf(again), "url=https://other.example\r\nname=Other\r\nid=other-c7304bd8\r\n");

    // Velotide's own settings name another site; the program's the person's own answers.
    AppSession app("url=https://plain.example/\r\n");
    const std::wstring folder = app.dataDir() + L"\\Programs\\acme-board-52748f3d";
    ASSERT_TRUE(SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) == ERROR_SUCCESS);
    WriteFileBytes(folder + L"\\config.ini",
                   "url=https://elsewhere.example/\r\nname=Other\r\nnotifications=block\r\nallow=https://more.example\r\n"
                   "tray=1\r\n");
    app.RunInstead(program, kProgramClass);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("page shown https://site.example/"));
    EXPECT_EQ(TitleOf(app.mainWindow()), L"Acme Board");
    // Its own icon in the notification area (off its window: Wine's tray sits in the top left).
    SetWindowPos(app.mainWindow(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(PumpUntil([&] { return TrayIconCentre() == RGB(0x14, 0x34, 0x5A); }));
    EXPECT_NE(app.LastLog("environment requested").find("\\Programs\\acme-board-52748f3d\\WebView2"), std::string::npos);
    ASSERT_TRUE(app.Page(L"permission 4"));  // the person's "block" stands over the "allow" it came with
    ASSERT_TRUE(app.WaitForLog("permission result"));
    EXPECT_EQ(app.CountLog("permission remembered deny 4 https://site.example/"), 1u);
    for (const char* allowed : {"https://signin.example/", "https://more.example/"}) {
        size_t done = app.CountLog("navigation completed");
        ASSERT_TRUE(app.Page(L"navigate " + std::wstring(allowed, allowed + strlen(allowed))));
        ASSERT_TRUE(app.WaitForLog("navigation completed", done + 1));
        EXPECT_EQ(app.LastLog("page shown"), std::string("page shown ") + allowed);
    }
    // The site is fixed: the address prompt never opens.
    app.Command(ID_SITE_CHANGE);
    PumpFor(500);
    EXPECT_FALSE(FindProcessWindow(app.process().id(), L"VelotidePrompt"));

    // Plain Velotide starts beside it, on its own site.
    ChildProcess plain(VelotideExePath(), L"", app.environment());
    HWND plainWindow = plain.WaitForWindow(L"VelotideMain");
    ASSERT_TRUE(plainWindow);
    EXPECT_TRUE(app.WaitForLog("page shown https://plain.example/"));
    PostMessageW(plainWindow, WM_COMMAND, ID_SITE_QUIT, 0);
    EXPECT_EQ(plain.WaitForExit(), 0u);
    EXPECT_TRUE(IsWindow(app.mainWindow()));
    EXPECT_EQ(app.Quit(), 0u);
    // What it came with stays in the exe: its settings keep the person's own.
    std::string settings = ReadFileBytes(folder + L"\\config.ini");
    EXPECT_NE(settings.find("notifications=block\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("allow=https://more.example\r\n"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("signin.example"), std::string::npos) << settings;
}

// The program's version block names its owner, itself and its own version,
// in the texts and in the fixed numbers; Velotide in none of them.
TEST(SiteProgramAppTest, AProgramsVersionBlockNamesItsOwnerAndItsOwnVersion) {
    ScratchDir dir;
    const std::wstring program = dir / L"Acme Board.exe";
    const struct {
        std::wstring more;  // after --url and --name
        const wchar_t *company, *version;
        UINT64 fixed;  // the file and product version
    } kCases[] = {
        {L"--publisher \"B\u00E9la & Co\" --version 65535.0.1.7", L"B\u00E9la & Co", L"65535.0.1.7",
         0xFFFF000000010007},
        {L"--version 3", L"site.example", L"3", 0x0003000000000000},
        {L"", L"site.example", L"1.0.0.0", 0x0001000000000000},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.more));
        const std::wstring arguments = L"--url https://site.example/x --name \"Acme Board\" " + c.more;
        std::string error, block;
        ASSERT_EQ(RunWithStandardError(VelotideExePath(), MakeArguments(program, arguments), &error), 0u) << error;
        block.resize(GetFileVersionInfoSizeW(program.c_str(), nullptr));
        ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
        const std::pair<const wchar_t*, const wchar_t*> kTexts[] = {
            {L"CompanyName", c.company}, {L"FileDescription", L"Acme Board"}, {L"ProductName", L"Acme Board"},
            {L"InternalName", L"acme-board-52748f3d"}, {L"OriginalFilename", L"acme-board-52748f3d.exe"},
            {L"FileVersion", c.version}, {L"ProductVersion", c.version}};
        for (const auto& [key, text] : kTexts) {
            wchar_t* value = nullptr;
            UINT length = 0;
            VerQueryValueW(block.data(), (L"\\StringFileInfo\\040904B0\\" + std::wstring(key)).c_str(),
                           reinterpret_cast<void**>(&value), &length);
            EXPECT_EQ(std::wstring(value && length ? value : L"<none>"), text) << key;
        }
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(UINT64(fixed->dwFileVersionMS) << 32 | fixed->dwFileVersionLS, c.fixed);
        EXPECT_EQ(UINT64(fixed->dwProductVersionMS) << 32 | fixed->dwProductVersionLS, c.fixed);
    }
}

// velotide.exe as a release signs it: the header's security entry names a
// certificate table (not a real one) at tableAt, the file's end when 0, and
// its checksum is its own.
std::string WithSignature(std::string exe, DWORD tableAt) {
    const size_t optional = *reinterpret_cast<const DWORD*>(&exe[0x3C]) + 24, entry = optional + 112 + 8 * 4;
    const DWORD at = tableAt ? tableAt : static_cast<DWORD>(exe.size()), size = 16;
    exe.append("\x10\0\0\0\0\x02\x02\0not sign", size);
    memcpy(&exe[entry], &at, 4);
    memcpy(&exe[entry + 4], &size, 4);
    memset(&exe[optional + 64], 0x5A, 4);
    return exe;
}

// A program made from a signed velotide.exe is the one made from the unsigned
// exe, not one with a broken signature; a table that isn't the file's end is
// refused, not cut off with what follows it.
TEST(SiteProgramAppTest, AProgramMadeFromASignedVelotideCarriesNoSignature) {
    ScratchDir dir;
    const std::wstring arguments = L"--url site.example --name Acme", program = dir / L"program.exe";
    std::string error;
    ASSERT_EQ(RunWithStandardError(VelotideExePath(), MakeArguments(program, arguments), &error), 0u) << error;
    const std::string plain = ReadFileBytes(program), exe = ReadFileBytes(VelotideExePath());
    for (DWORD tableAt : {0u, 0x400u}) {
        WriteFileBytes(dir / L"signed.exe", WithSignature(exe, tableAt));
        DeleteFileW(program.c_str());
        EXPECT_EQ(RunWithStandardError(dir / L"signed.exe", MakeArguments(program, arguments), &error),
                  tableAt ? 2u : 0u);
        EXPECT_EQ(ReadFileBytes(program), tableAt ? "" : plain) << error;
    }
}

// A preset that can't be read or names no valid site: said, exit code 2.
TEST(SiteProgramAppTest, AProgramWhosePresetIsDamagedSaysSoAndEnds) {
    ScratchDir dir;
    const std::wstring program = dir / L"Acme.exe";
    std::string error;
    ASSERT_EQ(RunWithStandardError(VelotideExePath(), MakeArguments(program, L"--url site.example --name Acme"), &error),
              0u);
    AppSession app;  // for its own per-user folder
    for (const std::string& preset : {std::string("url=ftp://site.example/\r\nname=Acme\r\n"), std::string("name=Acme\r\n"),
                                      std::string("url=https://site.example/\r\n"), std::string("\xFF\xFE\0u\0r\0l", 8)}) {
        SCOPED_TRACE(testing::PrintToString(preset));
        HANDLE update = BeginUpdateResourceW(program.c_str(), FALSE);
        ASSERT_TRUE(update);
        ASSERT_TRUE(UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(3), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                    const_cast<char*>(preset.data()), static_cast<DWORD>(preset.size())));
        ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
        ChildProcess start(program, L"", app.environment());
        EXPECT_EQ(DismissMessageBox(start), L"This program's site settings are damaged.");
        EXPECT_EQ(start.WaitForExit(), 2u);
    }
    EXPECT_FALSE(FileExists(app.dataDir()));
}

// Inside a site app, Site > Save as a program file... asks where and writes
// the app as a program: its name, site, allowed sites and icon.
TEST(SiteProgramAppTest, ASiteAppIsSavedAsAProgramWhereThePersonSays) {
    ScratchDir dir;
    const std::wstring program = dir / L"Team.exe";
    AppSession app;
    const std::wstring folder = app.dataDir() + L"\\Apps\\team-mail";
    ASSERT_TRUE(SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) == ERROR_SUCCESS);
    WriteFileBytes(folder + L"\\config.ini", "url=https://site.example/\r\nname=Team Mail\r\nallow=https://signin.example\r\n");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(WriteIconFromPng(ReadFileBytes(kDemoIcon), folder + L"\\icon.ico"));
    app.RunInstead(VelotideExePath(), L"VelotideMain.App.team-mail");
    ASSERT_TRUE(app.Start(true, SW_SHOWNORMAL, L"--app team-mail"));
    app.Command(ID_SITE_SAVE_PROGRAM);
    HWND dialog = app.process().WaitForWindow(L"#32770");
    ASSERT_TRUE(dialog);
    // The file name's field, once the dialog has made it.
    HWND edit = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        EnumChildWindows(dialog, [](HWND child, LPARAM found) -> BOOL {
            wchar_t name[16] = L"";
            GetClassNameW(child, name, 16);
            if (!wcscmp(name, L"Edit") && IsWindowVisible(child)) *reinterpret_cast<HWND*>(found) = child;
            return !*reinterpret_cast<HWND*>(found);
        }, reinterpret_cast<LPARAM>(&edit));
        return edit != nullptr;
    }));
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return FileExists(program); }, 15000));
    EXPECT_EQ(PresetOf(program),
              "url=https://site.example/\r\nname=Team Mail\r\nallow=https://signin.example\r\nid=team-mail-52748f3d\r\n");
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module);
    EXPECT_TRUE(WriteProgramIcon(dir / L"icon.ico", module));
    FreeLibrary(module);
    EXPECT_EQ(IconCentre(dir / L"icon.ico"), IconCentre(folder + L"\\icon.ico"));
    EXPECT_EQ(app.Quit(), 0u);
}

}  // namespace
