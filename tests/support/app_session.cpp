#include "tests/support/app_session.h"

#include "app/command_line.h"
#include "tests/support/engine_install.h"

AppSession::AppSession(const std::string& configIni, Engine engine,
                       const std::vector<std::pair<std::wstring, std::wstring>>& extraEnvironment)
    : appData_(std::make_unique<LocalAppDataOverride>(perUser_.path())),
      logPath_(perUser_ / L"engine.log"),
      engine_(engine) {
    if (!configIni.empty()) {
        CreateDirectoryW(dataDir().c_str(), nullptr);
        WriteFileBytes(dataDir() + L"\\config.ini", configIni);
    }
    auto variables = extraEnvironment;
    variables.emplace_back(L"VELOTIDE_TEST_ENGINE_LOG", logPath_);
    if (engine == Engine::kTest)
        variables.emplace_back(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", InstallTestEngine(runtimeRoot_.path()));
    if (engine == Engine::kChromium) {
        variables.emplace_back(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",
                               InstallTestEngine(runtimeRoot_.path(), L"130.0.2849.80", ChromiumEngineDllPath()));
        variables.emplace_back(L"VELOTIDE_CHROMIUM_DEVTOOLS", ChromiumDevToolsEndpoint());
    }
    environment_ = EnvironmentWith(variables);
}

AppSession::~AppSession() {
    if (process_ && process_->WaitForExit(0) == STILL_ACTIVE) Quit();
    process_.reset();
}

bool AppSession::Start(bool expectView, WORD showCommand, const std::wstring& arguments) {
    process_ = std::make_unique<ChildProcess>(exe_, perUser_.path(), environment_.c_str(), showCommand, arguments);
    // A site app's window, and a site's own program's, have a class of their own.
    std::wstring app = ParseCommandLine((L"velotide.exe " + arguments).c_str()).app;
    std::wstring windowClass = app.empty() ? L"VelotideMain" : L"VelotideMain.App." + app;
    mainWindow_ = process_->WaitForWindow((windowClass_.empty() ? windowClass : windowClass_).c_str());
    if (!mainWindow_ || !PumpUntil([&] { return IsWindowVisible(mainWindow_) || view(); })) return false;
    if (engine_ == Engine::kNone || !expectView) return true;
    return PumpUntil([&] { return view() != nullptr; }) && WaitForLog("visible 1");
}

std::vector<std::string> AppSession::Log() const { return ReadEngineLog(logPath_); }

size_t AppSession::CountLog(const std::string& prefix) const {
    return LogLines(prefix).size();
}

std::vector<std::string> AppSession::LogLines(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : Log())
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

std::string AppSession::LastLog(const std::string& prefix) const {
    std::vector<std::string> lines = LogLines(prefix);
    return lines.empty() ? "" : lines.back();
}

bool AppSession::WaitForLog(const std::string& prefix, size_t count, DWORD timeoutMs) const {
    return PumpUntil([&] { return CountLog(prefix) >= count; }, timeoutMs);
}

HWND AppSession::view() const { return FindEngineView(mainWindow_); }

bool AppSession::Page(const std::wstring& command) const { return SendEngineCommand(view(), command); }

void AppSession::Command(int id) const { PostMessageW(mainWindow_, WM_COMMAND, id, 0); }

DWORD AppSession::Quit() {
    Command(106);
    return process_->WaitForExit();
}
