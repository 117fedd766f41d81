// velotide.exe run as a user runs it, against one of our engines: a fresh
// per-user folder (so a fresh data directory and settings file), the engine
// installed as the runtime, and its log to read what the view went through.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

// kNone leaves the runtime to be found, or not, the way an installed one is;
// kChromium needs the Chromium that the test fixture started.
enum class Engine { kNone, kTest, kChromium };

class AppSession {
public:
    // configIni: the settings file to start with ("" for none).
    // extraEnvironment: more NAME=value entries for the program (e.g. the
    // engine's failure switch).
    explicit AppSession(const std::string& configIni = "", Engine engine = Engine::kTest,
                        const std::vector<std::pair<std::wstring, std::wstring>>& extraEnvironment = {});
    ~AppSession();

    // Starts the program (a site app with "--app <id>") with these
    // arguments; true once its main window is shown (or, kept hidden, holds
    // the engine's view) and, when expectView holds and the engine is
    // installed, its view is visible.
    bool Start(bool expectView = true, WORD showCommand = SW_SHOWNORMAL, const std::wstring& arguments = L"");
    // Start runs exe (a site's own program) instead, whose window is of windowClass.
    void RunInstead(const std::wstring& exe, const std::wstring& windowClass) {
        exe_ = exe;
        windowClass_ = windowClass;
    }
    // What the program is started with, for another one beside it.
    const wchar_t* environment() const { return environment_.c_str(); }

    HWND mainWindow() const { return mainWindow_; }
    // The engine's view window now: a restarted engine makes a new one.
    HWND view() const;
    const ChildProcess& process() const { return *process_; }
    std::wstring dataDir() const { return perUser_ / L"Velotide"; }

    std::vector<std::string> Log() const;
    // Pumps until `count` log lines start with prefix; false on timeout.
    bool WaitForLog(const std::string& prefix, size_t count = 1, DWORD timeoutMs = 10000) const;
    size_t CountLog(const std::string& prefix) const;
    std::vector<std::string> LogLines(const std::string& prefix) const;
    std::string LastLog(const std::string& prefix) const;  // "" when none
    // Sends a control command to the engine (the page acts).
    bool Page(const std::wstring& command) const;
    // Posts a menu command to the main window.
    void Command(int id) const;
    // Quit from the menu; the exit code.
    DWORD Quit();

private:
    ScratchDir perUser_;
    ScratchDir runtimeRoot_;
    std::unique_ptr<LocalAppDataOverride> appData_;
    std::wstring logPath_;
    std::wstring environment_;
    std::unique_ptr<ChildProcess> process_;
    HWND mainWindow_ = nullptr;
    Engine engine_;
    std::wstring exe_ = VelotideExePath(), windowClass_;  // the class: from the arguments unless given
};
