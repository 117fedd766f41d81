// The view face (navigation, history, events, resource filters) and the
// settings object, over any engine's Browser.
#include "engines/common/browser.h"

#include <algorithm>

#include "engines/common/engine_protocol.h"
#include "engines/common/image.h"

namespace {

const HRESULT kClosed = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);

std::wstring HexCode(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// The whole chain up to ICoreWebView2_25, as a current runtime offers it.
#define VELOTIDE_WEBVIEW_CHAIN(X)                                                                              \
    X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) X(13) X(14) X(15) X(16) X(17) X(18) X(19) X(20)  \
    X(21) X(22) X(23) X(24)
// The interfaces whose every slot is left unimplemented; those of 4, 10, 14,
// 15 and 18 carry events the program registers, 13 the profile, 3 suspending
// and 19 the memory target: they are written out below.
#define VELOTIDE_UNIMPLEMENTED_CHAIN(X) \
    X(2) X(5) X(6) X(7) X(8) X(9) X(11) X(12) X(16) X(17) X(20) X(21) X(23)
#define VELOTIDE_IID_OF(number) &IID_ICoreWebView2_##number,
#define VELOTIDE_NOT_IMPLEMENTED(method, parameters) \
    HRESULT STDMETHODCALLTYPE method parameters override { return E_NOTIMPL; }
#define VELOTIDE_NOT_IMPLEMENTED_SLOTS(number) VELOTIDE_COREWEBVIEW2_##number##_METHODS(VELOTIDE_NOT_IMPLEMENTED)

class View : public ComObject<ICoreWebView2_25> {
public:
    explicit View(const BrowserPtr& browser)
        : ComObject({&IID_ICoreWebView2, VELOTIDE_WEBVIEW_CHAIN(VELOTIDE_IID_OF) & IID_ICoreWebView2_25}),
          b_(browser) {
        b_->view = this;
    }
    ~View() override {
        if (b_->view == this) b_->view = nullptr;
    }

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override {
        return OutRef(settings, b_->settings.get());
    }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override { return ReturnString(b_->Source(), uri); }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override {
        if (!uri) return E_INVALIDARG;
        if (b_->closed) return kClosed;
        ResumePage(*b_);  // a navigation wakes a suspended view, as in the runtime
        b_->Navigate(uri);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override {
        // As the runtime: no more than 2 MB of text.
        if (!html || wcslen(html) * sizeof(wchar_t) > 2 * 1024 * 1024) return E_INVALIDARG;
        if (b_->closed) return kClosed;
        ResumePage(*b_);
        b_->NavigateToString(html);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                     EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->navigationStarting.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override {
        return b_->navigationStarting.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                                 EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->contentLoading.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override {
        return b_->contentLoading.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler,
                                                EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->sourceChanged.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override {
        return b_->sourceChanged.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler*,
                                                 EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                      EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->navigationCompleted.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override {
        return b_->navigationCompleted.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler*,
                                                          EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler*,
                                                           EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                                                      EventRegistrationToken* token) override {
        // As a runtime that keeps the page's dialogs to itself.
        if (EngineVariable(kEngineDialogsVariable) == L"runtime") return E_NOTIMPL;
        return b_->closed ? kClosed : b_->scriptDialogOpening.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override {
        return b_->scriptDialogOpening.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                                                      EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->permissionRequested.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override {
        return b_->permissionRequested.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler,
                                                EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->processFailed.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override {
        return b_->processFailed.Remove(token);
    }
    // Kept for the view's later documents, and answered later with its id
    // (its number); the program may pass no handler.
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR script, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override {
        if (!script) return E_INVALIDARG;
        if (b_->closed) return kClosed;
        b_->documentScripts.push_back(script);
        EngineLog(L"document script added " + std::to_wstring(b_->documentScripts.size()));
        b_->DocumentScriptAdded(script);
        if (handler) {
            Ref<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler> done(handler);
            std::wstring id = std::to_wstring(b_->documentScripts.size());
            PostTask([done, id] { done->Invoke(S_OK, id.c_str()); });
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR, ICoreWebView2ExecuteScriptCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                             ICoreWebView2CapturePreviewCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reload() override {
        return GoTo(0);
    }
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler*,
                                                     EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* id) override { return Out(id, GetCurrentProcessId()); }
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* can) override { return Out(can, b_->CanGoToHistory(-1)); }
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* can) override { return Out(can, b_->CanGoToHistory(1)); }
    HRESULT STDMETHODCALLTYPE GoBack() override { return GoTo(-1); }
    HRESULT STDMETHODCALLTYPE GoForward() override { return GoTo(1); }
    HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR,
                                                               ICoreWebView2DevToolsProtocolEventReceiver**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->newWindowRequested.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override {
        return b_->newWindowRequested.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                                       EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->documentTitleChanged.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override {
        return b_->documentTitleChanged.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override { return ReturnString(b_->title, title); }
    HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
        ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler, EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->fullscreenChanged.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override {
        return b_->fullscreenChanged.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* contains) override {
        return Out(contains, b_->fullscreenElement);
    }
    HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                                                       EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->webResourceRequested.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override {
        return b_->webResourceRequested.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(const LPCWSTR uri,
                                                            const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override {
        return AddFilter(uri, context, false, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE);
    }
    HRESULT STDMETHODCALLTYPE
    RemoveWebResourceRequestedFilter(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override {
        return RemoveFilter(uri, context, false, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE);
    }
    HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler*,
                                                       EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken) override { return E_NOTIMPL; }

    VELOTIDE_UNIMPLEMENTED_CHAIN(VELOTIDE_NOT_IMPLEMENTED_SLOTS)

    // ICoreWebView2_3: only an invisible view can sleep, as in the runtime.
    HRESULT STDMETHODCALLTYPE TrySuspend(ICoreWebView2TrySuspendCompletedHandler* handler) override {
        if (!handler) return E_POINTER;
        if (b_->closed || b_->visible) return kClosed;
        Ref<ICoreWebView2TrySuspendCompletedHandler> done(handler);
        SuspendPage(*b_, [done](bool slept) { PostTask([done, slept] { done->Invoke(S_OK, slept); }); });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Resume() override {
        if (b_->closed) return kClosed;
        ResumePage(*b_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL* suspended) override { return Out(suspended, b_->suspended); }
    HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(LPCWSTR, LPCWSTR, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR) override { return E_NOTIMPL; }
    // ICoreWebView2_4
    HRESULT STDMETHODCALLTYPE add_FrameCreated(IUnknown*, EventRegistrationToken*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_DownloadStarting(ICoreWebView2DownloadStartingEventHandler* handler,
                                                   EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->downloadStarting.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) override {
        return b_->downloadStarting.Remove(token);
    }
    // ICoreWebView2_10
    HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(
        ICoreWebView2BasicAuthenticationRequestedEventHandler* handler, EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->basicAuthenticationRequested.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_BasicAuthenticationRequested(EventRegistrationToken token) override {
        return b_->basicAuthenticationRequested.Remove(token);
    }
    // ICoreWebView2_18
    HRESULT STDMETHODCALLTYPE add_LaunchingExternalUriScheme(
        ICoreWebView2LaunchingExternalUriSchemeEventHandler* handler, EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->launchingExternalUriScheme.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_LaunchingExternalUriScheme(EventRegistrationToken token) override {
        return b_->launchingExternalUriScheme.Remove(token);
    }
    // ICoreWebView2_13
    HRESULT STDMETHODCALLTYPE get_Profile(ICoreWebView2Profile** profile) override {
        return b_->closed ? kClosed : OutRef<ICoreWebView2Profile>(profile, b_->profile.get());
    }
    // ICoreWebView2_14
    HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(
        ICoreWebView2ServerCertificateErrorDetectedEventHandler* handler, EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->serverCertificateErrorDetected.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_ServerCertificateErrorDetected(EventRegistrationToken token) override {
        return b_->serverCertificateErrorDetected.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(IUnknown*) override { return E_NOTIMPL; }
    // ICoreWebView2_15
    HRESULT STDMETHODCALLTYPE add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                                 EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->faviconChanged.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) override {
        return b_->faviconChanged.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR* uri) override { return ReturnString(b_->faviconUri, uri); }
    HRESULT STDMETHODCALLTYPE GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
                                         ICoreWebView2GetFaviconCompletedHandler* handler) override;

    // ICoreWebView2_19
    HRESULT STDMETHODCALLTYPE get_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL* level) override {
        return Out(level, b_->memoryTarget);
    }
    HRESULT STDMETHODCALLTYPE put_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL level) override {
        bool low = level == COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_LOW;
        if (!low && level != COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL_NORMAL) return E_INVALIDARG;
        if (b_->closed) return kClosed;
        if (low && b_->memoryTarget != level) b_->TrimMemory();
        b_->memoryTarget = level;
        EngineLog(low ? L"memory target low" : L"memory target normal");
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(
        const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
        const COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) override {
        return AddFilter(uri, context, true, kinds);
    }
    HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(
        const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
        const COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) override {
        return RemoveFilter(uri, context, true, kinds);
    }
    // ICoreWebView2_24
    HRESULT STDMETHODCALLTYPE add_NotificationReceived(ICoreWebView2NotificationReceivedEventHandler* handler,
                                                       EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->notificationReceived.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_NotificationReceived(EventRegistrationToken token) override {
        return b_->notificationReceived.Remove(token);
    }
    // ICoreWebView2_25
    HRESULT STDMETHODCALLTYPE add_SaveAsUIShowing(ICoreWebView2SaveAsUIShowingEventHandler* handler,
                                                  EventRegistrationToken* token) override {
        return b_->closed ? kClosed : b_->saveAsUIShowing.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_SaveAsUIShowing(EventRegistrationToken token) override {
        return b_->saveAsUIShowing.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE ShowSaveAsUI(IUnknown*) override { return E_NOTIMPL; }

private:
    // The log names a filter by its pattern and context, and its source kinds
    // when it was given them.
    static std::wstring FilterText(const ResourceFilter& filter) {
        std::wstring text = filter.pattern + L" " + std::to_wstring(filter.context);
        if (!filter.withKinds) return text;
        return text + L" sources " +
               (filter.kinds == COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL
                    ? std::wstring(L"all")
                    : std::to_wstring(static_cast<unsigned>(filter.kinds)));
    }
    HRESULT AddFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, bool withKinds,
                      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) {
        if (!uri) return E_INVALIDARG;
        b_->filters.push_back({uri, context, withKinds, kinds});
        EngineLog(L"filter added " + FilterText(b_->filters.back()));
        b_->FiltersChanged();
        return S_OK;
    }
    HRESULT RemoveFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, bool withKinds,
                         COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) {
        if (!uri) return E_INVALIDARG;
        ResourceFilter filter{uri, context, withKinds, kinds};
        auto found = std::find(b_->filters.begin(), b_->filters.end(), filter);
        if (found == b_->filters.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        b_->filters.erase(found);
        EngineLog(L"filter removed " + FilterText(filter));
        b_->FiltersChanged();
        return S_OK;
    }

    HRESULT GoTo(int offset) {
        if (b_->closed) return kClosed;
        ResumePage(*b_);
        b_->GoToHistory(offset);
        return S_OK;
    }

    BrowserPtr b_;
};

// The current icon, in the format asked for, later: no icon (or one that
// could not be had) completes with S_OK and no stream, as the runtime does;
// one WIC can't read or write completes with its failure.
HRESULT View::GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format, ICoreWebView2GetFaviconCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    if (format != COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG && format != COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG)
        return E_INVALIDARG;
    if (b_->closed) return kClosed;
    Ref<ICoreWebView2GetFaviconCompletedHandler> done(handler);
    std::wstring uri = b_->faviconUri;
    b_->LoadFavicon([done, format, uri](std::string image) {
        IStream* stream = nullptr;
        HRESULT hr = image.empty() ? S_OK : EncodeImage(image, format, &stream);
        const wchar_t* kind = format == COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG ? L"jpeg " : L"png ";
        EngineLog(image.empty() ? L"favicon given none"
                  : SUCCEEDED(hr) ? L"favicon given " + std::wstring(kind) + uri
                                  : L"favicon failed " + HexCode(hr) + L" " + uri);
        done->Invoke(hr, stream);
        if (stream) stream->Release();
    });
    return S_OK;
}

// The settings that are on or off, each with the runtime's default (all on
// but saving passwords): those of ICoreWebView2Settings, then 3's keys; 4's
// and 5's are kept with no effect on the engines' pages, and 6's swiping
// too: the engines take no touch input.
#define VELOTIDE_ON_OFF_SETTINGS(X)                                                                            \
    X(IsScriptEnabled, true) X(IsWebMessageEnabled, true) X(AreDefaultScriptDialogsEnabled, true)              \
    X(IsStatusBarEnabled, true) X(AreDevToolsEnabled, true) X(AreDefaultContextMenusEnabled, true)             \
    X(AreHostObjectsAllowed, true) X(IsZoomControlEnabled, true) X(IsBuiltInErrorPageEnabled, true)            \
    X(AreBrowserAcceleratorKeysEnabled, true) X(IsPasswordAutosaveEnabled, false)                              \
    X(IsGeneralAutofillEnabled, true) X(IsPinchZoomEnabled, true) X(IsSwipeNavigationEnabled, true)
#define VELOTIDE_ON_OFF_INDEX(name, on) k##name,
#define VELOTIDE_ON_OFF_DEFAULT(name, on) on,
// Each is read back as put, and logged as "settings put <name>=<0|1>".
#define VELOTIDE_ON_OFF_SLOTS(name, on)                                                                        \
    HRESULT STDMETHODCALLTYPE get_##name(BOOL* v) override { return Out(v, on_[k##name]); }                    \
    HRESULT STDMETHODCALLTYPE put_##name(BOOL v) override { return Put(k##name, L## #name, v); }

class Settings : public ComObject<ICoreWebView2Settings7> {
public:
    Settings()
        : ComObject({&IID_ICoreWebView2Settings, &IID_ICoreWebView2Settings2, &IID_ICoreWebView2Settings3,
                     &IID_ICoreWebView2Settings4, &IID_ICoreWebView2Settings5, &IID_ICoreWebView2Settings6,
                     &IID_ICoreWebView2Settings7}) {}

    VELOTIDE_ON_OFF_SETTINGS(VELOTIDE_ON_OFF_SLOTS)
    // ICoreWebView2Settings2: the engines send Chromium's own user agent.
    HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR) override { return E_NOTIMPL; }
    // ICoreWebView2Settings7: kept and logged; the engines draw no PDF
    // viewer of their own (see the engines' READMEs).
    HRESULT STDMETHODCALLTYPE get_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS* items) override {
        return Out(items, hiddenPdfItems_);
    }
    HRESULT STDMETHODCALLTYPE put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS items) override {
        hiddenPdfItems_ = items;
        EngineLog(L"settings put HiddenPdfToolbarItems=" + std::to_wstring(static_cast<unsigned>(items)));
        return S_OK;
    }

private:
    enum { VELOTIDE_ON_OFF_SETTINGS(VELOTIDE_ON_OFF_INDEX) kCount };

    HRESULT Put(int index, const wchar_t* name, BOOL value) {
        on_[index] = value != FALSE;
        EngineLog(L"settings put " + std::wstring(name) + (on_[index] ? L"=1" : L"=0"));
        return S_OK;
    }

    bool on_[kCount] = {VELOTIDE_ON_OFF_SETTINGS(VELOTIDE_ON_OFF_DEFAULT)};
    COREWEBVIEW2_PDF_TOOLBAR_ITEMS hiddenPdfItems_ = COREWEBVIEW2_PDF_TOOLBAR_ITEMS_NONE;
};

}  // namespace

ICoreWebView2* CreateViewFace(const BrowserPtr& browser) { return new View(browser); }
ICoreWebView2Settings* CreateSettings() { return new Settings; }
