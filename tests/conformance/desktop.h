// What the suite sees and does on the desktop: velotide.exe started and
// ended, its windows read with Win32, keys and clicks sent with SendInput,
// the screen saved to a file.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

// Polls until check holds, for at most timeoutMs; whether it held. (Every
// 100 ms, not as PumpUntil: a check here is a request to the browser.)
bool Until(const std::function<bool()>& check, DWORD timeoutMs = 10000);

// One run of velotide.exe at a time.
class Velotide {
public:
    explicit Velotide(const std::wstring& exe) : exe_(exe) {}
    ~Velotide();  // asks it to close, and ends it if it still runs

    // Starts it (anew, once an earlier run has ended) with these arguments;
    // true once it shows a main window.
    bool Start(const std::wstring& arguments = L"", DWORD timeoutMs = 30000);
    HWND window() const { return window_; }
    DWORD pid() const { return process_ ? process_->id() : 0; }
    bool Running() const { return process_ && process_->WaitForExit(0) == STILL_ACTIVE; }
    // Its exit code once it ended within timeoutMs, else STILL_ACTIVE.
    DWORD Wait(DWORD timeoutMs) const { return process_ ? process_->WaitForExit(timeoutMs) : STILL_ACTIVE; }

private:
    std::wstring exe_;
    std::unique_ptr<ChildProcess> process_;
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
std::string Describe(const RECT& r);

// Keys as a person presses them, into the window that has the keyboard
// (window is brought to the front first). mods: VK_CONTROL, VK_MENU, 0.
void PressKey(HWND window, WORD vk, WORD mods = 0);
// A left click in the middle of the window.
void ClickOn(HWND window);
// The whole screen as a 24-bit BMP file; false when it could not be written.
bool SaveScreen(const std::wstring& path);
