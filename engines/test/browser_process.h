// The runtime's processes belong to a user-data folder: every environment
// made on the same folder, by this program or another, runs on one browser
// process, and the first one starts it. The test engine has no processes of
// its own; it models the sharing with a named file mapping per folder that
// holds the browser's name, which lives as long as an environment holds it.
// A browser that starts, or the last to end, removes the folders of the
// profiles deleted meanwhile, as the runtime does once no browser needs them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class BrowserProcess {
public:
    // The browser of the folder: the one running, or a new one. Logs
    // "browser started <name>" or "browser joined <name>".
    static std::shared_ptr<BrowserProcess> Join(const std::wstring& userDataFolder);
    ~BrowserProcess();

    const std::wstring& name() const { return name_; }

private:
    HANDLE mapping_ = nullptr;
    std::wstring name_, userDataFolder_;
};
