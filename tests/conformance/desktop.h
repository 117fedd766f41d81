// What the suite sees and does on the desktop: velotide.exe started and
// ended, its windows read with Win32, keys and clicks sent with SendInput,
// the screen saved to a file.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls until check holds, for at most timeoutMs; whether it held.
bool Until(const std::function<bool()>& check, DWORD timeoutMs = 10000);

// The user's local application data folder (where Velotide keeps its
// settings and profile) pointed elsewhere for the life of the object, and
// put back afterwards.
class LocalAppDataRedirect {
public:
    explicit LocalAppDataRedirect(const std::wstring& folder);
    ~LocalAppDataRedirect();

private:
    bool had_ = false;
    DWORD type_ = REG_EXPAND_SZ;
    std::wstring old_;
};

// One run of velotide.exe.
class Velotide {
public:
    explicit Velotide(const std::wstring& exe) : exe_(exe) {}
    ~Velotide();  // ends it if it still runs
    Velotide(const Velotide&) = delete;
    Velotide& operator=(const Velotide&) = delete;

    // Starts it with these arguments; true once it shows a main window.
    bool Start(const std::wstring& arguments = L"", DWORD timeoutMs = 30000);
    HWND window() const { return window_; }
    DWORD pid() const { return pid_; }
    bool Running() const;
    // Its exit code once it ended within timeoutMs, else STILL_ACTIVE.
    DWORD Wait(DWORD timeoutMs);

private:
    std::wstring exe_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);
std::string WindowText(HWND window);
// Visible top-level windows, of one process or (pid 0) of every process.
std::vector<HWND> TopWindows(DWORD pid = 0);
// The first visible window under parent (itself included) whose text
// contains part; null when none.
HWND FindByText(HWND parent, const std::string& part);
RECT MonitorRect(HWND window);
bool SameRect(const RECT& a, const RECT& b);
std::string Describe(const RECT& r);

// Keys as a person presses them, into the window that has the keyboard
// (window is brought to the front first). mods: VK_CONTROL, VK_MENU, 0.
void PressKey(HWND window, WORD vk, WORD mods = 0);
// A left click in the middle of the window.
void ClickOn(HWND window);
// The whole screen as a 24-bit BMP file; false when it could not be written.
bool SaveScreen(const std::wstring& path);
