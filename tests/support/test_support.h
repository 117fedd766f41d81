// Shared helpers for the tests: Windows paths of build outputs, scratch
// folders, files as bytes, message pumping, the per-user data folder of the
// Wine prefix, and started processes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// "Z:\..." for a path of the Linux build tree (Wine maps / to Z:).
std::wstring WinPathFromUnix(const std::string& unixPath);
std::wstring VelotideExePath();

// The DPI the Wine prefix was set to for this run (VELOTIDE_TEST_DPI, 96
// unless set): what the program's windows must be scaled to.
UINT ExpectedDpi();
std::wstring BuildDirPath();

std::string ReadFileBytes(const std::wstring& path);  // empty when missing
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// A fresh, uniquely named folder under %TEMP%, removed with its contents.
class ScratchDir {
public:
    explicit ScratchDir(const std::wstring& suffix = L"");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Dispatches this thread's messages until done() holds or the time is up,
// asking done() again every pollMs at most.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000, DWORD pollMs = 10);
void PumpFor(DWORD ms);

// Points CSIDL_LOCAL_APPDATA of the prefix at another folder for the life of
// the object (the "Local AppData" user shell folder), then puts it back.
class LocalAppDataOverride {
public:
    explicit LocalAppDataOverride(const std::wstring& folder);
    ~LocalAppDataOverride();
    LocalAppDataOverride(const LocalAppDataOverride&) = delete;
    LocalAppDataOverride& operator=(const LocalAppDataOverride&) = delete;

private:
    bool hadValue_ = false;
    DWORD type_ = REG_EXPAND_SZ;
    std::wstring oldValue_;
};

// This process's environment plus the given NAME=value entries, as the
// double-null-terminated block CreateProcessW takes.
std::wstring EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& extra);

// velotide.exe (or another program) started with CreateProcessW.
class ChildProcess {
public:
    // arguments: what follows the quoted exe on the command line.
    ChildProcess(const std::wstring& exe, const std::wstring& workingDir = L"",
                 const wchar_t* environment = nullptr, WORD showCommand = SW_SHOWNORMAL,
                 const std::wstring& arguments = L"");
    ~ChildProcess();  // terminates the process if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    // The process's top-level window of the given class, waited for.
    HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs = 10000) const;
    // The exit code, or STILL_ACTIVE when it has not ended in time.
    DWORD WaitForExit(DWORD timeoutMs = 10000) const;

private:
    PROCESS_INFORMATION info_ = {};
};

// The message box of the process: its text, once shown, with button (OK
// unless named) pressed on it.
std::wstring DismissMessageBox(const ChildProcess& process, int button = IDOK);

// The program's own prompt window of the process (its page dialogs too), once
// shown: its title and the texts of its controls in order, joined by "|";
// typed put into its field (when it has one and typed is not null), then
// button pressed.
std::wstring AnswerPrompt(const ChildProcess& process, int button, const wchar_t* typed = nullptr);

// The pixel in the middle of an .ico file's 16-pixel image, as ARGB; 0 when
// it can't be read.
DWORD IconCentre(const std::wstring& path);

// The program's start-up failure messages.
extern const wchar_t kRuntimeMissingMessage[];
extern const wchar_t kLoaderFailedMessage[];
extern const wchar_t kNoViewMessage[];

// The middle pixel of the notification area's first icon (Wine's tray, in
// the top left of the screen).
COLORREF TrayIconCentre();

// A window's text (a title, an edit field's text), asked of the window
// itself: another process's edit field keeps its text to itself otherwise.
// "" when its thread hangs.
std::wstring TitleOf(HWND window);

// The monitor the window is on (rcMonitor, rcWork).
MONITORINFO MonitorOf(HWND window);
std::string RectText(const RECT& r);  // "left,top,right,bottom"

// The top-level windows of the given class that belong to process pid, and the first of them.
std::vector<HWND> ProcessWindows(DWORD pid, const wchar_t* className);
HWND FindProcessWindow(DWORD pid, const wchar_t* className);
