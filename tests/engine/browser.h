// One web view as the engine keeps it: its window, history, shown page,
// resource filters and the handlers registered on it; and what happens in
// it: navigations, sub-resource requests, pop-ups, fullscreen, keys.
// The controller and view objects are two COM faces over one Browser.
#pragma once

#include "tests/engine/engine.h"
#include "tests/engine/page.h"

#include <memory>
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
    void Clear() { handlers_.clear(); }

private:
    std::vector<std::pair<__int64, Ref<H>>> handlers_;
    __int64 next_ = 1;
};

struct HistoryEntry {
    std::wstring uri;
    std::wstring html;  // the document of a string-loaded page, empty for web pages
};

struct Navigation {
    UINT64 id = 0;
    std::vector<std::wstring> hops;  // the address, then each address it redirects to
    std::wstring html;               // set for NavigateToString
    bool userInitiated = false;
    int historyIndex = -1;  // the entry that reload, back or forward returns to; -1 adds one
    COREWEBVIEW2_WEB_ERROR_STATUS failWith = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;  // 0: decided by address
};

struct Browser : std::enable_shared_from_this<Browser> {
    HWND window = nullptr;
    bool visible = false;
    bool closed = false;
    bool fullscreenElement = false;
    RECT bounds = {};
    // The two faces, passed as the sender of events; the controller keeps the view alive.
    ICoreWebView2Controller* controller = nullptr;
    ICoreWebView2* view = nullptr;
    Ref<ICoreWebView2Settings> settings;

    std::vector<HistoryEntry> history;
    int current = -1;
    Page page;
    UINT64 nextNavigationId = 1;
    std::vector<std::pair<std::wstring, COREWEBVIEW2_WEB_RESOURCE_CONTEXT>> filters;

    EventList<ICoreWebView2NavigationStartingEventHandler> navigationStarting;
    EventList<ICoreWebView2NavigationCompletedEventHandler> navigationCompleted;
    EventList<ICoreWebView2NewWindowRequestedEventHandler> newWindowRequested;
    EventList<ICoreWebView2WebResourceRequestedEventHandler> webResourceRequested;
    EventList<ICoreWebView2ContainsFullScreenElementChangedEventHandler> fullscreenChanged;
    EventList<ICoreWebView2AcceleratorKeyPressedEventHandler> acceleratorKeyPressed;
};
using BrowserPtr = std::shared_ptr<Browser>;

// controller.cpp / view.cpp / settings: the COM faces.
// A new controller (one reference for the caller) with its view window inside parent.
ICoreWebView2Controller* CreateController(HWND parent);
ICoreWebView2* CreateViewFace(const BrowserPtr& browser);
ICoreWebView2Settings* CreateSettings();

// browser.cpp: behaviour. Everything but keys happens later, from the message loop.
void StartNavigation(const BrowserPtr& browser, Navigation navigation);  // gives it the next id
void NavigateToHistory(const BrowserPtr& browser, int index);            // reload, back, forward
void RequestResource(const BrowserPtr& browser, const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context);
void RequestPopup(const BrowserPtr& browser, const std::wstring& uri);
void SetFullscreenElement(const BrowserPtr& browser, bool on);
// A key message reaching the view window; true when a handler took the key from the page.
bool DeliverKey(Browser& browser, UINT message, WPARAM key, LPARAM lParam);
void CloseBrowser(Browser& browser);

// commands.cpp: one control command; false when it is not understood.
bool RunCommand(const BrowserPtr& browser, const std::wstring& text);

// window.cpp
HWND CreateViewWindow(HWND parent, Browser* browser);
void ShowPage(Browser& browser, Page page);  // logs "page shown" and repaints
void OpenPopupWindow(const std::wstring& uri);
