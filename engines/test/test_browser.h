// The test engine's browser: a history list and a shown page of its own, and
// what happens in it, driven by the program through the faces and by tests
// through control commands (commands.cpp).
#pragma once

#include "engines/common/browser.h"
#include "engines/test/browser_process.h"
#include "engines/common/notifications.h"
#include "engines/test/page.h"

#include <map>

struct HistoryEntry {
    std::wstring uri;
    std::wstring html;  // the document of a string-loaded page, empty for web pages
};

// What the last hop's server does before it answers: asks for a Basic
// sign-in, or presents a certificate that is not valid.
enum class Challenge { kNone, kSignIn, kBadCertificate };

struct Navigation {
    UINT64 id = 0;
    std::vector<std::wstring> hops;  // the address, then each address it redirects to
    std::wstring html;               // set for NavigateToString
    bool userInitiated = false;
    int historyIndex = -1;  // the entry that reload, back or forward returns to; -1 adds one
    COREWEBVIEW2_WEB_ERROR_STATUS failWith = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;  // 0: decided by address
    int httpStatus = 200;  // what the server answers, for a web page that loads
    Challenge challenge = Challenge::kNone;
    bool commits = true;   // false: no new document comes; the navigation fails with failWith
    bool download = false; //   and, when set, the answer is a file that is saved
};

class TestBrowser : public Browser {
public:
    void Navigate(const std::wstring& uri) override;
    void NavigateToString(const std::wstring& html) override;
    void GoToHistory(int offset) override;
    bool CanGoToHistory(int offset) const override;
    std::wstring Source() const override { return page.uri; }
    void LoadFavicon(std::function<void(std::string image)> done) override;
    // Nothing of the page runs by itself; one that plays audio can't sleep, as in the runtime.
    void Freeze(bool frozen, std::function<void(bool done)> done) override { done(!frozen || !playingAudio); }

    std::shared_ptr<TestBrowser> self() { return std::static_pointer_cast<TestBrowser>(shared_from_this()); }

    std::vector<HistoryEntry> history;
    int current = -1;
    // What "the server" of an address does: send every navigation to it on to another.
    std::map<std::wstring, std::wstring> redirects;
    Page page;
    UINT64 nextNavigationId = 1;
    bool beforeUnload = false;  // the shown page has a beforeunload handler
    bool playingAudio = false;  // the page plays sound (the "audio" command)
    std::shared_ptr<BrowserProcess> process;  // the browser it runs on
    UINT64 document = 0;        // the shown document, counted: what it was told lasts as long as it
    std::string favicon;        // the page's icon, a PNG
    bool faviconAnswered = true;  // false: its server never answers, so GetFavicon never completes
    std::vector<Ref<NotificationFace>> notifications;  // the shown document's, the newest last, a few at most
    // For each of documentScripts, the first document it reaches (those made after it was added).
    std::vector<UINT64> documentScriptsFrom;
    void DocumentScriptAdded(const std::wstring&) override { documentScriptsFrom.push_back(document + 1); }
};
using TestBrowserPtr = std::shared_ptr<TestBrowser>;

// test_browser.cpp: behaviour. Everything but keys happens later, from the message loop.
void StartNavigation(const TestBrowserPtr& browser, Navigation navigation);  // gives it the next id
// A navigation the program asked for: the page's beforeunload runs first (its
// question, when it has a handler), and only if the person leaves does it start.
void StartProgramNavigation(const TestBrowserPtr& browser, Navigation navigation);
// The page's script opens alert, confirm or prompt.
void OpenPageDialog(const TestBrowserPtr& browser, COREWEBVIEW2_SCRIPT_DIALOG_KIND kind, const std::wstring& message,
                    const std::wstring& defaultText);
void RequestResource(const TestBrowserPtr& browser, const std::wstring& uri,
                     COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, RequestSource source);
// The server of host refuses every connection from now on, or answers again.
void SetServerDown(const std::wstring& host, bool down);
// The page's processes fail as the runtime reports it.
void FailProcess(const TestBrowserPtr& browser, COREWEBVIEW2_PROCESS_FAILED_KIND kind);
// userInitiated: after the person's click, or by the page's script alone.
void RequestPopup(const TestBrowserPtr& browser, const std::wstring& uri, bool userInitiated);
// A frame of the page follows a link to uri, after a click or by its script
// alone: another program's address raises LaunchingExternalUriScheme (a
// frame's navigations raise nothing else); a web address just loads in it.
void FollowFrameLink(const TestBrowserPtr& browser, const std::wstring& uri, bool userInitiated);
void SetFullscreenElement(const TestBrowserPtr& browser, bool on);
// A key message reaching the view window.
void DeliverKey(TestBrowser& browser, UINT message, WPARAM key, LPARAM lParam);

// page_api.cpp: what a site kept open does, from the message loop.
// A new document shows: its title, no icon, nothing it was told yet.
void NewDocument(TestBrowser& browser);
// origin "" is the shown page's.
void AskPermission(const TestBrowserPtr& browser, COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                   bool userInitiated);
void MakeNotification(const TestBrowserPtr& browser, const std::wstring& title, const std::wstring& body);
// The page asks for what opens a dialog to files or a printer: print
// (print()), open-picker, save-picker, directory-picker (show...Picker()),
// file-input (a click on a file input), file-input-key (Space or Enter on
// one), save-as (the page's "Save as"); false for another word.
bool OpenFileDialog(const TestBrowserPtr& browser, const std::wstring& what);
// false when the page has no open notification of that title.
bool CloseNotification(const TestBrowserPtr& browser, const std::wstring& title);
void SetTitle(const TestBrowserPtr& browser, const std::wstring& title);
// uri "" drops the icon; answered false names one whose server never answers.
void SetFavicon(const TestBrowserPtr& browser, const std::wstring& uri, COLORREF color, bool answered);

// commands.cpp: one control command; false when it is not understood.
bool RunCommand(const TestBrowserPtr& browser, const std::wstring& text);

// window.cpp
HWND CreateViewWindow(HWND parent, TestBrowser* browser);
void ShowPage(TestBrowser& browser, Page page);  // logs "page shown" and repaints
void OpenPopupWindow(const std::wstring& uri);
