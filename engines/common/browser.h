// One web view as an engine keeps it, whatever stands behind it: its window,
// the handlers registered on it, its resource filters, and the raising of
// each event with the log line that goes with it. The controller and view
// faces (controller.cpp, view.cpp) are two COM objects over one Browser; each
// engine derives its own Browser and carries out what the faces ask of it.
#pragma once

#include "engines/common/engine.h"
#include "engines/common/profile.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The handlers of one event, each held with a reference until removed or closed.
template <class H>
class EventList {
public:
    HRESULT Add(H* handler, EventRegistrationToken* token) {
        if (!handler || !token) return E_POINTER;
        token->value = next_++;
        handlers_.emplace_back(token->value, Ref<H>(handler));
        return S_OK;
    }
    HRESULT Remove(EventRegistrationToken token) {
        std::erase_if(handlers_, [&](const auto& entry) { return entry.first == token.value; });
        return S_OK;
    }
    // A copy, so that a handler may add or remove handlers while it runs.
    std::vector<Ref<H>> Snapshot() const {
        std::vector<Ref<H>> copy;
        for (const auto& entry : handlers_) copy.push_back(entry.second);
        return copy;
    }
    // Lets go of every handler; the number of them someone else still holds
    // (a program must not keep a closed view's handlers alive).
    size_t Clear() {
        size_t held = 0;
        for (const auto& entry : handlers_) {
            ULONG count = entry.second->AddRef();  // ours, the list's and any others
            entry.second->Release();
            held += count > 2;
        }
        handlers_.clear();
        return held;
    }

private:
    std::vector<std::pair<__int64, Ref<H>>> handlers_;
    __int64 next_ = 1;
};

// A resource filter as the view was given it. Added without source kinds
// (AddWebResourceRequestedFilter), it reports requests of the main frame and
// its same-origin frames only; with them, requests of those kinds.
struct ResourceFilter {
    std::wstring pattern;
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT context;
    bool withKinds;
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds;
    bool operator==(const ResourceFilter&) const = default;
};

// Where a request comes from.
enum class RequestSource { kFrame, kCrossOriginFrame, kDedicatedWorker, kSharedWorker, kServiceWorker };

class Browser : public std::enable_shared_from_this<Browser> {
public:
    virtual ~Browser() = default;

    // What the view face asks of the engine. Everything happens later, from
    // the message loop; the faces refuse calls once the browser is closed.
    virtual void Navigate(const std::wstring& uri) = 0;
    virtual void NavigateToString(const std::wstring& html) = 0;
    virtual void GoToHistory(int offset) = 0;  // 0 reloads, -1 goes back, 1 forward
    virtual bool CanGoToHistory(int offset) const = 0;
    virtual std::wstring Source() const = 0;
    virtual void FiltersChanged() {}
    // The profile keeps another state for origin and kind (DEFAULT: none),
    // which what stands behind the view is to follow from now on.
    virtual void CarryPermissionState(COREWEBVIEW2_PERMISSION_KIND, const std::wstring&, COREWEBVIEW2_PERMISSION_STATE) {}
    // The profile's browsing data is cleared: what stands behind the view
    // forgets what it keeps for sites (cookies, storage, cache).
    virtual void ClearBrowsingData() {}
    // The bytes of the icon at faviconUri, later, from the message loop; ""
    // when there is none or it can't be had.
    virtual void LoadFavicon(std::function<void(std::string image)> done) = 0;
    // Stops the page (frozen: its timers and animations stand still) or lets
    // it run again; done(false) when it can't sleep now. The test engine's
    // page runs nothing by itself: it sleeps unless it plays audio.
    virtual void Freeze(bool frozen, std::function<void(bool done)> done) = 0;
    // A script to run in every document from now on, before the document's
    // own, in every frame (AddScriptToExecuteOnDocumentCreated); it is in
    // documentScripts already.
    virtual void DocumentScriptAdded(const std::wstring&) {}
    // The memory target went LOW: what stands behind the view gives back what it can.
    virtual void TrimMemory() {}
    // The view was shown or hidden (visible says which).
    virtual void VisibilityChanged() {}
    // Closes for good: the window goes and every handler is dropped.
    virtual void Close();

    HWND window = nullptr;  // the view: a child of the window given to the environment
    bool visible = false;
    bool closed = false;
    bool fullscreenElement = false;
    bool suspended = false;  // TrySuspend succeeded, and the view has not been resumed since
    COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL memoryTarget = COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_NORMAL;
    RECT bounds = {};
    // The two faces, passed as the sender of events; the controller keeps the view alive.
    ICoreWebView2Controller* controller = nullptr;
    ICoreWebView2* view = nullptr;
    Ref<ICoreWebView2Settings> settings;
    std::vector<ResourceFilter> filters;
    std::vector<std::wstring> documentScripts;  // in the order they were added
    // The profile the view was made with: the permissions its pages were
    // given for good.
    Ref<Profile> profile;
    std::wstring title = L"about:blank";  // the top document's
    std::wstring faviconUri;              // the page's icon, "" for none
    // What documents were told for the permissions they asked, as
    // "<document> <kind> <origin>": granted or not; the newest last, a few dozen at most.
    std::vector<std::pair<std::wstring, bool>> documentPermissions;

    EventList<ICoreWebView2NavigationStartingEventHandler> navigationStarting;
    EventList<ICoreWebView2NavigationCompletedEventHandler> navigationCompleted;
    EventList<ICoreWebView2NewWindowRequestedEventHandler> newWindowRequested;
    EventList<ICoreWebView2WebResourceRequestedEventHandler> webResourceRequested;
    EventList<ICoreWebView2ContainsFullScreenElementChangedEventHandler> fullscreenChanged;
    EventList<ICoreWebView2AcceleratorKeyPressedEventHandler> acceleratorKeyPressed;
    EventList<ICoreWebView2ProcessFailedEventHandler> processFailed;
    EventList<ICoreWebView2ContentLoadingEventHandler> contentLoading;
    EventList<ICoreWebView2SourceChangedEventHandler> sourceChanged;
    EventList<ICoreWebView2DownloadStartingEventHandler> downloadStarting;
    EventList<ICoreWebView2LaunchingExternalUriSchemeEventHandler> launchingExternalUriScheme;
    EventList<ICoreWebView2BasicAuthenticationRequestedEventHandler> basicAuthenticationRequested;
    EventList<ICoreWebView2ServerCertificateErrorDetectedEventHandler> serverCertificateErrorDetected;
    EventList<ICoreWebView2PermissionRequestedEventHandler> permissionRequested;
    EventList<ICoreWebView2DocumentTitleChangedEventHandler> documentTitleChanged;
    EventList<ICoreWebView2FaviconChangedEventHandler> faviconChanged;
    EventList<ICoreWebView2NotificationReceivedEventHandler> notificationReceived;
    EventList<ICoreWebView2ScriptDialogOpeningEventHandler> scriptDialogOpening;
    EventList<ICoreWebView2SaveAsUIShowingEventHandler> saveAsUIShowing;
};
using BrowserPtr = std::shared_ptr<Browser>;

// The controller face (one reference for the caller) over a browser whose
// window exists; it makes the view face and the settings object too.
ICoreWebView2Controller* CreateControllerFace(const BrowserPtr& browser);

// Registers a window class of the engine's module once.
void RegisterEngineClass(const wchar_t* name, WNDPROC procedure);
// The view window (class kEngineViewClass, the engine's own procedure): a
// hidden child of parent, shown when the program says so; GWLP_USERDATA holds
// browser once the window exists.
HWND CreateEngineView(HWND parent, WNDPROC procedure, Browser* browser);
// The text of a control command that reached the view as WM_COPYDATA; false
// for data of any other kind.
bool ReadEngineCommand(LPARAM copyData, std::wstring* text);

// Raising events. Each writes the engine's log line and returns what the
// program's handlers decided; nothing is raised once the browser is closed.

// NavigationStarting for one hop; true when a handler cancelled it.
bool RaiseNavigationStarting(Browser& browser, const std::wstring& uri, UINT64 id, bool userInitiated,
                             bool redirected);
// success with status 0 for a document that loaded; otherwise the failure's
// status, which is 0 when the server answered with an error status. The
// answer's HTTP status, 0 when none came.
void RaiseNavigationCompleted(Browser& browser, UINT64 id, COREWEBVIEW2_WEB_ERROR_STATUS status, bool success,
                              int httpStatus);
// Whether a resource filter matches the address, the context and the source.
bool MatchesFilter(const Browser& browser, const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                   RequestSource source);
// WebResourceRequested when a filter matches; the response a handler put, or
// null when the request goes to the network.
Ref<ICoreWebView2WebResourceResponse> RaiseWebResourceRequested(Browser& browser, const std::wstring& uri,
                                                                COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                                                                RequestSource source);
struct NewWindowAnswer {
    bool handled = false;
    Ref<ICoreWebView2> newWindow;  // a view the handler supplied, or null
};
// userInitiated: the page opened it in answer to the person's click or key.
NewWindowAnswer RaiseNewWindowRequested(Browser& browser, const std::wstring& uri, bool userInitiated);
// Logs how the request ended: "into given view", "swallowed" or "opened".
void LogPopup(const NewWindowAnswer& answer, const std::wstring& uri);
// ContentLoading: a new top-level document of navigation id commits, before
// any of its content runs; isErrorPage when it is the engine's own error page.
void RaiseContentLoading(Browser& browser, UINT64 id, bool isErrorPage);
// SourceChanged: the view's address (Source) is now another; isNewDocument
// FALSE for a change within the same document (a fragment, pushState).
void RaiseSourceChanged(Browser& browser, bool isNewDocument);
// BasicAuthenticationRequested for a request of uri that the server answered
// with a Basic challenge. What the handlers answered: cancel, or credentials
// (none given: the runtime's login dialog asks the person).
struct SignInAnswer {
    bool cancelled = false;
    std::wstring userName, password;
};
SignInAnswer RaiseBasicAuthenticationRequested(Browser& browser, const std::wstring& uri,
                                               const std::wstring& challenge);
// ServerCertificateErrorDetected for a request of uri whose certificate
// failed with status; the action the handlers put (DEFAULT when none did).
COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION RaiseServerCertificateErrorDetected(Browser& browser,
                                                                                 const std::wstring& uri,
                                                                                 COREWEBVIEW2_WEB_ERROR_STATUS status);
// A download of uri into resultFilePath begins, after the failed completion
// of the navigation that led to it: DownloadStarting when a handler is
// registered. True when a handler cancelled it.
bool RaiseDownloadStarting(Browser& browser, const std::wstring& uri, const std::wstring& resultFilePath);
// The page's "Save as" (a key, or the page asking): SaveAsUIShowing when a
// handler is registered; true when a handler cancelled it, otherwise the
// runtime's Save as dialog opens. Logs "save as cancelled" or "save as dialog".
bool RaiseSaveAsUIShowing(Browser& browser);
// LaunchingExternalUriScheme for a link of the page or of one of its frames,
// whose document has origin, to another program's address, before the
// runtime would ask "Open app?". True when a handler cancelled it; logs
// "launch cancelled" or "launch asked" (the runtime's question; nothing is
// launched).
bool RaiseLaunchingExternalUriScheme(Browser& browser, const std::wstring& uri, const std::wstring& origin,
                                     bool userInitiated);
// ProcessFailed. After the browser process, the browser is closed for good.
void RaiseProcessFailed(Browser& browser, COREWEBVIEW2_PROCESS_FAILED_KIND kind);
// ContainsFullScreenElementChanged, raised only when the state changes.
void RaiseFullscreenChanged(Browser& browser, bool on);
// DocumentTitleChanged: the top document's title is now title. A new
// document raises it whatever its title; within a document only a change does.
void RaiseDocumentTitleChanged(Browser& browser, const std::wstring& title, bool newDocument);
// FaviconChanged, when the page's icon is now at another address ("" for none).
void RaiseFaviconChanged(Browser& browser, const std::wstring& uri);
// A dialog of the page's script: alert, confirm, prompt, or the question of
// its beforeunload (whose message browsers leave empty).
struct ScriptDialog {
    COREWEBVIEW2_SCRIPT_DIALOG_KIND kind;
    std::wstring uri, message, defaultText;
};
// Asks the person, at once or later; done gets the answer (OK or Leave, and
// a prompt's text) unless the view closed first. With the runtime's default
// dialogs on, its own boxes ask, owned by the program's window (its prompt
// the engines don't have: that ends as cancelled); with them off,
// ScriptDialogOpening is raised and its handlers answer, once every deferral
// completed (no handler: cancelled). Logs "dialog <kind> <message>" and
// "dialog answered ok|cancel|leave|stay [<text>]".
void OpenScriptDialog(Browser& browser, const ScriptDialog& dialog,
                      std::function<void(bool accepted, const std::wstring& text)> done);
// How a runtime reports a navigation the person stayed from (the page's
// beforeunload answered Stay): as completed and cancelled, under a number
// of its own, or (VELOTIDE_TEST_ENGINE_STAY=silent) with nothing at all.
bool StayRaisesNothing();
// TrySuspend of an invisible view: the page sleeps unless Freeze says it
// can't; done hears whether it does. Logs "suspended" or "suspend refused".
void SuspendPage(Browser& browser, std::function<void(bool slept)> done);
// Resume, or the view made visible: a suspended page runs again ("resumed").
void ResumePage(Browser& browser);
// A key message at the view: AcceleratorKeyPressed when it counts as an
// accelerator (Ctrl or Alt held, a system key, a key that types no
// character); true when a handler took the key from the page.
bool RaiseAcceleratorKey(Browser& browser, UINT message, WPARAM key, LPARAM lParam);
