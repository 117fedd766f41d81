// Starts one program and times it from the outside, inside Wine:
//   launch_timer [--class NAME] [--quit-command ID] [--log PATH PREFIX] [--dialog]
//                [--settle MS] [--timeout MS] EXE
// The clock starts just before CreateProcess. "visible" is the first poll
// that finds a visible top-level window of class NAME owned by the process;
// "event" the first poll that finds a line starting with PREFIX in the log at
// PATH (deleted before the start), or with --dialog a visible message box of
// the process. After that the program is given time to settle (input idle,
// then MS more), its peak working set is read, and it is closed: the message
// box first, then WM_COMMAND ID (or WM_CLOSE) to its window.
// Prints one line: visible_ms=... event_ms=... peak_ws=... exit=...
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

struct Options {
    const wchar_t* exe = nullptr;
    const wchar_t* windowClass = L"VelotideMain";
    int quitCommand = 0;  // 0: WM_CLOSE
    const wchar_t* logPath = nullptr;
    std::string logPrefix;
    bool dialog = false;
    DWORD settleMs = 250;
    DWORD timeoutMs = 30000;
};

// Looked up by class, so that each poll costs the wineserver a few requests
// rather than one per window on the desktop: the program being timed shares
// that single-threaded server.
static HWND FindVisibleWindow(DWORD pid, const wchar_t* className) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// True when a line of the file at path starts with prefix. The file is read
// only when its size changed since the last look.
static bool LogHasLine(const wchar_t* path, const std::string& prefix) {
    static ULONGLONG seenSize = ~0ull;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &attributes)) return false;
    ULONGLONG size = (static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    if (size == seenSize) return false;
    seenSize = size;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        seenSize = ~0ull;  // look again next time
        return false;
    }
    std::string text;
    char chunk[4096];
    DWORD got;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) text.append(chunk, got);
    CloseHandle(file);
    return text.rfind(prefix, 0) == 0 || text.find("\n" + prefix) != std::string::npos;
}

static double Milliseconds(LARGE_INTEGER from) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls done() every millisecond until it holds; false when the process ended
// or the time ran out first.
template <typename Done>
static bool PollUntil(HANDLE process, LARGE_INTEGER start, DWORD timeoutMs, Done done) {
    for (;;) {
        if (done()) return true;
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || Milliseconds(start) > timeoutMs) return false;
        Sleep(1);
    }
}

static bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == L"--class" && hasValue) {
            options.windowClass = argv[++i];
        } else if (arg == L"--quit-command" && hasValue) {
            options.quitCommand = _wtoi(argv[++i]);
        } else if (arg == L"--log" && i + 2 < argc) {
            options.logPath = argv[++i];
            for (const wchar_t* c = argv[++i]; *c; ++c) options.logPrefix += static_cast<char>(*c);
        } else if (arg == L"--dialog") {
            options.dialog = true;
        } else if (arg == L"--settle" && hasValue) {
            options.settleMs = _wtoi(argv[++i]);
        } else if (arg == L"--timeout" && hasValue) {
            options.timeoutMs = _wtoi(argv[++i]);
        } else if (arg.rfind(L"--", 0) != 0 && !options.exe) {
            options.exe = argv[i];
        } else {
            return false;
        }
    }
    return options.exe != nullptr;
}

static int Fail(const char* what, PROCESS_INFORMATION& info) {
    printf("error=%s\n", what);
    if (info.hProcess) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    return 1;
}

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        fprintf(stderr, "usage: launch_timer [--class NAME] [--quit-command ID] [--log PATH PREFIX] [--dialog] "
                        "[--settle MS] [--timeout MS] EXE\n");
        return 2;
    }
    if (options.logPath) DeleteFileW(options.logPath);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    std::wstring commandLine = L"\"" + std::wstring(options.exe) + L"\"";
    PROCESS_INFORMATION info = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(options.exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return Fail("start", info);
    DWORD pid = info.dwProcessId;

    HWND window = nullptr;
    if (!PollUntil(info.hProcess, start, options.timeoutMs,
                   [&] { return (window = FindVisibleWindow(pid, options.windowClass)) != nullptr; }))
        return Fail("window", info);
    double visibleMs = Milliseconds(start);

    double eventMs = 0;
    HWND dialog = nullptr;
    if (options.logPath &&
        !PollUntil(info.hProcess, start, options.timeoutMs, [&] { return LogHasLine(options.logPath, options.logPrefix); }))
        return Fail("log", info);
    if (options.dialog &&
        !PollUntil(info.hProcess, start, options.timeoutMs, [&] { return (dialog = FindVisibleWindow(pid, L"#32770")); }))
        return Fail("dialog", info);
    if (options.logPath || options.dialog) eventMs = Milliseconds(start);

    WaitForInputIdle(info.hProcess, 5000);
    Sleep(options.settleMs);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory)) return Fail("memory", info);

    if (dialog) {
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        WaitForSingleObject(info.hProcess, 5000);
    }
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        if (options.quitCommand)
            PostMessageW(window, WM_COMMAND, options.quitCommand, 0);
        else
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) return Fail("close", info);
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    printf("visible_ms=%.3f event_ms=%.3f peak_ws=%llu exit=%lu\n", visibleMs, eventMs,
           static_cast<unsigned long long>(memory.PeakWorkingSetSize), exitCode);
    return 0;
}
