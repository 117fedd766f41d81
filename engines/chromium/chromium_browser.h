// One web view backed by a page of a real Chromium: its own browser context
// and page target, driven over the DevTools protocol. It reports what
// Chromium does as WebView2 events and carries out what the program's
// handlers answer; it decides nothing itself.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>

#include "engines/chromium/devtools.h"
#include "engines/chromium/frame.h"
#include "engines/common/browser.h"

class PageApi;

class ChromiumBrowser : public Browser {
public:
    // Downloads go to downloadFolder (DownloadFolder); none when it is empty.
    ChromiumBrowser(std::shared_ptr<DevTools> devtools, HWND parent, const std::wstring& downloadFolder);

    // Takes over the page target, which waits before it runs: turns on every
    // domain the view needs, then lets it run; done gets the outcome.
    void Attach(const std::string& context, const std::string& target, const std::string& session,
                std::function<void(HRESULT)> done);
    const std::string& target() const { return target_; }
    // A page this one opened (window.open, target=_blank), held before it
    // loads; openerFrame is the frame that asked for it.
    void OnOpenedTarget(const std::string& target, const std::string& session, const std::string& openerFrame);
    // Whether target is one of the page's cross-site frames or workers.
    bool HasChild(const std::string& target) const;
    // What the environment holds, for the stats command.
    std::function<std::wstring()> environmentStats;
    // The browser context is its profile's, kept when the view closes (unless the profile was deleted).
    bool keepsContext = false;

    void Navigate(const std::wstring& uri) override;
    void NavigateToString(const std::wstring& html) override;
    void GoToHistory(int offset) override;
    bool CanGoToHistory(int offset) const override;
    std::wstring Source() const override { return source_; }
    void FiltersChanged() override;
    void DocumentScriptAdded(const std::wstring& script) override;
    void CarryPermissionState(COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                              COREWEBVIEW2_PERMISSION_STATE state) override;  // page_api.cpp
    void LoadFavicon(std::function<void(std::string image)> done) override;  // page_api.cpp
    void Freeze(bool frozen, std::function<void(bool done)> done) override;
    void TrimMemory() override;
    void VisibilityChanged() override;
    void Close() override;
    void ClearBrowsingData() override;

    // From the view window.
    const Frame& frame() const { return frame_; }
    void Resize(int width, int height);  // in the window's pixels; the page's scale follows its DPI
    int width() const { return width_; }
    int height() const { return height_; }
    // A key message at the view; true when a handler took it.
    bool DeliverKey(UINT message, WPARAM key, LPARAM lParam);
    void DeliverCharacter(wchar_t character);
    bool keyTaken() const { return swallowCharacters_; }  // the last key-down was a handler's
    // A mouse message at the view (wheel positions in screen coordinates, as Windows gives them).
    void DeliverMouse(UINT message, WPARAM wParam, LPARAM lParam);
    // A control command ("script <js>": the page runs it as if the user had
    // clicked); false when it is not understood.
    bool RunCommand(const std::wstring& text);

private:
    // A top-level navigation, by the loader id Chromium gives it.
    struct Navigation {
        UINT64 id = 0;
        std::wstring uri;
        int httpStatus = 0;
        bool userInitiated = false;
        bool done = false;
        bool failed = false;  // failed with failure; completed once Chromium's error page commits
        COREWEBVIEW2_WEB_ERROR_STATUS failure = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
        // Its request was refused for a certificate not valid, this status.
        COREWEBVIEW2_WEB_ERROR_STATUS refusedCertificate = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
        bool loading = false;  // its document has committed and not loaded yet
        bool aborted = false;  // ended without a document (net::ERR_ABORTED); a download or not, Chromium says
        std::string download{};  // the guid of the download Chromium made of it
    };
    struct Download {
        std::wstring uri, path;
        bool told = false;   // DownloadStarting has been raised
        std::string ended;   // "completed" or "canceled" once Chromium says so
    };

    void Call(const std::string& method, json params = json::object(), DevTools::Reply reply = nullptr);
    void OnEvent(const std::string& method, const json& params);
    void OnRequestPaused(const json& params);
    void OnAuthRequired(const std::string& session, const json& params);
    void OnCertificateError(const std::string& session, const json& params);
    void OnNavigationStarted(const json& params);
    void OnDocumentShown(const json& frame);
    void OnLoaded(const std::string& loader);
    void OnLoadingFailed(const json& params);
    void OnScreencastFrame(const json& params);
    // downloads.cpp
    void AllowDownloads();
    void OnDownloadWillBegin(const json& params);
    void EndAbortedLoad(Navigation& navigation);
    void TellDownload(const std::string& guid);
    void OnDownloadProgress(const json& params);
    void EndDownload(const std::string& guid, const std::string& state);
    void Complete(Navigation& navigation, COREWEBVIEW2_WEB_ERROR_STATUS status, bool success, int httpStatus);
    Navigation& BeginNavigation(const std::string& loader, const std::wstring& uri, bool userGesture);
    void OnDocumentRequest(const json& params);
    void OnFrameDocumentRequest(const json& params);
    void JudgeRunningNavigation(Navigation& navigation, bool redirected);
    void Answer(const std::string& session, const json& params, RequestSource source);
    void Settle(const std::string& session, const std::string& method, json params, const std::string& loader);
    void OnChildAttached(const json& params);
    void OnChildEvent(const std::string& session, const std::string& method, const json& params);
    void ForgetChild(const std::string& session);
    static json ChildAutoAttach();
    void StartLocalNavigation(const std::wstring& uri);
    void OnDialogOpening(const json& params);
    void OnWindowOpen(const std::string& opener, const json& params);
    std::string OpenerKey(const std::string& frame) const;
    void PairOpenedWindows(const std::string& opener);
    void SweepOpenedWindows();
    void SendMouseMove();
    std::wstring Stats() const;
    void RefreshHistory();
    json FetchPatterns() const;

    std::shared_ptr<DevTools> devtools_;
    std::shared_ptr<PageApi> pageApi_;  // notifications, permissions, title and icon
    std::string context_, target_, session_;
    bool ready_ = false;
    int width_ = 0, height_ = 0;
    std::wstring source_ = L"about:blank";
    Frame frame_;
    std::wstring firstFrameOf_;  // a document shown since the last frame: the next frame is its first

    UINT64 nextNavigationId_ = 1;
    bool programNavigation_ = false;  // the next document request was asked for by the program
    std::map<std::string, Navigation> navigations_;
    int pendingLocal_ = 0;  // data: and about: loads the program asked for that Chromium has not answered yet

    std::map<std::string, std::string> frameOrigins_;  // the document's in-process frames, by id
    std::string mainOrigin_;
    // The web origins whose documents the view showed since its data was last
    // cleared (the first thousand): what clearing it must reach.
    std::set<std::string> shownOrigins_;
    static constexpr size_t kShownOriginsKept = 1000;
    struct Child {
        RequestSource source;
        std::string target;  // a cross-site frame's target id is its frame id
    };
    std::map<std::string, Child> children_;  // sessions of cross-site frames and workers

    std::vector<long long> historyEntries_;
    int historyIndex_ = -1;
    std::wstring downloadFolder_;
    std::map<std::string, Download> downloads_;  // under way, by Chromium's guid

    std::map<std::string, bool> userGestures_;  // a top-level document request's user gesture, until it pauses

    // Pop-ups by the frame that opened them ("" for the page's own session):
    // Page.windowOpen's address and the new target, each in order, each
    // waiting for the other a short while at most.
    struct Opened {
        std::wstring uri;
        std::string target, session;
        ULONGLONG at = 0;
        bool userGesture = false;  // Page.windowOpen's: the person clicked
    };
    std::map<std::string, std::deque<Opened>> openedUris_, openedTargets_;

    json pendingMove_;          // the latest mouse move not sent yet
    bool moveInFlight_ = false;  // a move is on its way: the next waits for its reply
    double scale_ = 1;           // device pixels per CSS pixel, the window's DPI over 96

    std::map<WPARAM, std::string> keysDown_;  // DOM key values of the keys held
    bool swallowCharacters_ = false;  // the key-down was handled: its characters go nowhere
    int clickCount_ = 1;              // of the last button press, for its release
    wchar_t highSurrogate_ = 0;
};

// downloads.cpp: the folder downloads go to, made inside the user-data
// folder; empty when there is none.
std::wstring DownloadFolder(const std::wstring& userDataFolder);
// Lets a window the program won't show run with every request held, fails
// its first request and closes it: it loads nothing.
void DiscardWindow(const std::shared_ptr<DevTools>& devtools, const std::string& target, const std::string& session,
                   bool loadsFromNetwork);

// view_window.cpp: the view, a child window of parent, hidden until shown.
HWND CreateViewWindow(HWND parent, ChromiumBrowser* browser);
