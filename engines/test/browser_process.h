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
#include <vector>

class Browser;

class BrowserProcess {
public:
    // The browser of the folder: the one running, or a new one. Logs
    // "browser started <name>" or "browser joined <name>".
    static std::shared_ptr<BrowserProcess> Join(const std::wstring& userDataFolder);
    ~BrowserProcess();

    const std::wstring& name() const { return name_; }
    // A view of this process runs on it: when the browser exits, it is lost.
    void AddView(const std::shared_ptr<Browser>& view) { views_.push_back(view); }
    // The browser process exits ("crash 0"): every view on it, in every
    // process, is lost for good (ProcessFailed, BROWSER_PROCESS_EXITED), and
    // the next environment on the folder starts a new browser.
    void Exit();

private:
    void OnExited();

    HANDLE mapping_ = nullptr;
    HANDLE exited_ = nullptr;  // signalled when the browser exits
    HANDLE wait_ = nullptr;    // this process's wait for it
    std::weak_ptr<BrowserProcess>* heard_ = nullptr;  // what the wait tells
    std::wstring name_, userDataFolder_;
    std::vector<std::weak_ptr<Browser>> views_;
};
