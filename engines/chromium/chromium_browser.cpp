#include "engines/chromium/chromium_browser.h"

#include "engines/common/runtime_controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "engines/chromium/keys.h"
#include "engines/chromium/later.h"
#include "engines/chromium/page_api.h"
#include "engines/chromium/protocol_values.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/uri.h"

namespace {

// Chromium has no event for fullscreen elements: the page's own
// fullscreenchange tells, from a world of ours the page's scripts can't see.
const char kWorld[] = "velotide";
const char kFullscreenBinding[] = "velotideFullscreenChanged";
const char kFullscreenWatcher[] =
    "if (window === top) document.addEventListener('fullscreenchange', "
    "() => velotideFullscreenChanged(document.fullscreenElement ? '1' : '0'));";

// Addresses whose documents come over the network, so that their requests
// pause in the Fetch domain; everything else (data:, about:) loads in place.
std::wstring SchemeOf(const std::wstring& uri) {
    std::wstring scheme = uri.substr(0, uri.find(L':') + 1);
    for (wchar_t& c : scheme) c = towlower(c);
    return scheme;
}

bool IsNetworkAddress(const std::wstring& uri) {
    std::wstring scheme = SchemeOf(uri);
    return scheme == L"http:" || scheme == L"https:";
}

// The text of a page as a person reads it, white space runs made one space.
std::wstring Collapse(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        bool space = iswspace(c);
        if (space && (out.empty() || out.back() == L' ')) continue;
        out += space ? L' ' : c;
    }
    if (!out.empty() && out.back() == L' ') out.pop_back();
    return out;
}

std::string ReadContent(ICoreWebView2WebResourceResponse* response) {
    std::string bytes;
    IStream* content = nullptr;
    if (FAILED(response->get_Content(&content)) || !content) return bytes;
    char buffer[16384];
    ULONG read = 0;
    while (SUCCEEDED(content->Read(buffer, sizeof buffer, &read)) && read > 0) bytes.append(buffer, read);
    content->Release();
    return bytes;
}

// The frames the view paints.
const json kScreencast = {{"format", "jpeg"}, {"quality", 90}};

// How long a pop-up's address and its window wait for each other.
const DWORD kPopupBound = 2000;
// How long a load that ended without a document waits to hear it became a download.
const DWORD kDownloadWord = 500;
// Top-level navigations kept while they are under way; older ones that never
// ended (replaced before they committed) are forgotten.
const size_t kKeptNavigations = 16;
const wchar_t kStatsCommand[] = L"stats";

// Device pixels per CSS pixel: the window's DPI (Windows 10 and later) over 96.
double ScaleOf(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static auto getDpi = reinterpret_cast<GetDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpi && window ? getDpi(window) : 0;
    return dpi ? dpi / 96.0 : 1;
}

}  // namespace

ChromiumBrowser::ChromiumBrowser(std::shared_ptr<DevTools> devtools, HWND parent, const std::wstring& downloadFolder)
    : devtools_(std::move(devtools)), downloadFolder_(downloadFolder) {
    window = CreateViewWindow(parent, this);
    PrepareFrameDecoder();  // while Chromium makes the page
}

void ChromiumBrowser::Call(const std::string& method, json params, DevTools::Reply reply) {
    devtools_->Call(method, std::move(params), session_, std::move(reply));
}

void ChromiumBrowser::Attach(const std::string& context, const std::string& target, const std::string& session,
                             std::function<void(HRESULT)> done) {
    context_ = context;
    target_ = target;
    session_ = session;
    std::weak_ptr<Browser> weak = shared_from_this();
    devtools_->Listen(session_, [weak](const std::string& method, const json& params) {
        if (auto self = weak.lock()) static_cast<ChromiumBrowser&>(*self).OnEvent(method, params);
    });
    pageApi_ = std::make_shared<PageApi>(devtools_, weak, session_);
    pageApi_->SetUpPage();
    // A new context starts with Chromium's defaults: it hears what the profile keeps.
    for (const auto& [origin, allowed] : profile->Kept(COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS))
        CarryPermissionState(COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, origin,
                             allowed ? COREWEBVIEW2_PERMISSION_STATE_ALLOW : COREWEBVIEW2_PERMISSION_STATE_DENY);
    std::vector<std::pair<std::string, json>> calls = {
        {"Page.enable", json::object()},
        {"Page.setLifecycleEventsEnabled", {{"enabled", true}}},
        {"Network.enable", json::object()},
        {"Runtime.enable", json::object()},
        {"Inspector.enable", json::object()},
        {"Fetch.enable", FetchPatterns()},
        // Certificate errors are the program's to decide (ServerCertificateErrorDetected).
        {"Security.enable", json::object()},
        {"Security.setOverrideCertificateErrors", {{"override", true}}},
        // Cross-site frames and workers run in targets of their own, held until
        // their requests can be paused too.
        {"Target.setAutoAttach", ChildAutoAttach()},
        {"Page.addScriptToEvaluateOnNewDocument",
         {{"source", kFullscreenWatcher}, {"worldName", kWorld}, {"runImmediately", true}}},
        {"Runtime.addBinding", {{"name", kFullscreenBinding}, {"executionContextName", kWorld}}},
        {"Emulation.setFocusEmulationEnabled", {{"enabled", true}}},
        {"Page.startScreencast", kScreencast},
        {"Runtime.runIfWaitingForDebugger", json::object()},
    };
    Resize(width_, height_);
    AllowDownloads();
    // Sent all at once; a session carries out its commands in order.
    struct Pending {
        size_t count;
        HRESULT result = S_OK;
        std::function<void(HRESULT)> done;
    };
    auto pending = std::make_shared<Pending>(Pending{calls.size(), S_OK, std::move(done)});
    for (auto& [method, params] : calls)
        Call(method, params, [this, keep = shared_from_this(), pending](const json&, const json& error) {
            if (!error.is_null()) pending->result = E_FAIL;
            if (--pending->count > 0) return;
            ready_ = SUCCEEDED(pending->result);
            pending->done(pending->result);
        });
}

json ChromiumBrowser::FetchPatterns() const {
    // Every document request pauses, so that top-level navigations can be
    // judged and a frame's sign-in challenge reaches the program (Chromium
    // raises authRequired only for a request it paused); other requests only
    // where a resource filter could match.
    json patterns = json::array({{{"urlPattern", "*"}, {"resourceType", "Document"}, {"requestStage", "Request"}}});
    for (const ResourceFilter& filter : filters) {
        json entry = {{"urlPattern", Utf8(filter.pattern)}, {"requestStage", "Request"}};
        std::string type = ResourceTypeFor(filter.context);
        if (!type.empty()) entry["resourceType"] = type;
        patterns.push_back(entry);
    }
    // Sign-in challenges are the program's to answer (BasicAuthenticationRequested).
    return {{"patterns", patterns}, {"handleAuthRequests", true}};
}

json ChromiumBrowser::ChildAutoAttach() {
    return {{"autoAttach", true},
            {"waitForDebuggerOnStart", true},
            {"flatten", true},
            {"filter", json::array({{{"type", "iframe"}}, {{"type", "worker"}}, {{"type", "shared_worker"}},
                                    {{"type", "service_worker"}}})}};
}

// The program's scripts run in the page's main world, in its own frames
// (the page's session) and in cross-site ones (each frame's session), before
// any script of the document.
void ChromiumBrowser::DocumentScriptAdded(const std::wstring& script) {
    json source = {{"source", Utf8(script)}};
    Call("Page.addScriptToEvaluateOnNewDocument", source);
    for (const auto& [session, child] : children_)
        if (child.source == RequestSource::kCrossOriginFrame)
            devtools_->Call("Page.addScriptToEvaluateOnNewDocument", source, session);
}

void ChromiumBrowser::FiltersChanged() {
    if (!session_.empty()) Call("Fetch.enable", FetchPatterns());
    for (const auto& [session, child] : children_) devtools_->Call("Fetch.enable", FetchPatterns(), session);
}

// A cross-site frame or a worker of the page: its requests pause like the
// page's own and count as coming from it; frames of its own attach in turn.
void ChromiumBrowser::OnChildAttached(const json& params) {
    static const std::map<std::string, RequestSource> kSources = {{"iframe", RequestSource::kCrossOriginFrame},
                                                                  {"worker", RequestSource::kDedicatedWorker},
                                                                  {"shared_worker", RequestSource::kSharedWorker},
                                                                  {"service_worker", RequestSource::kServiceWorker}};
    std::string session = JsonString(params, "sessionId");
    const json& info = JsonObject(params, "targetInfo");
    auto source = kSources.find(JsonString(info, "type"));
    if (source != kSources.end() && !closed) {
        children_[session] = {source->second, JsonString(info, "targetId")};
        std::weak_ptr<Browser> weak = shared_from_this();
        devtools_->Listen(session, [weak, session](const std::string& method, const json& params) {
            auto self = std::static_pointer_cast<ChromiumBrowser>(weak.lock());
            if (self && !self->closed) self->OnChildEvent(session, method, params);
        });
        devtools_->Call("Fetch.enable", FetchPatterns(), session);
        devtools_->Call("Security.enable", json::object(), session);
        devtools_->Call("Security.setOverrideCertificateErrors", {{"override", true}}, session);
        devtools_->Call("Target.setAutoAttach", ChildAutoAttach(), session);
        // A frame's own window.open is told in its own session.
        if (source->second == RequestSource::kCrossOriginFrame) {
            devtools_->Call("Page.enable", json::object(), session);
            devtools_->Call("Network.enable", json::object(), session);  // its links to other programs
            pageApi_->SetUpFrame(session);  // its page asks and notifies with its own origin
            for (const std::wstring& script : documentScripts)
                devtools_->Call("Page.addScriptToEvaluateOnNewDocument", {{"source", Utf8(script)}}, session);
        }
    }
    devtools_->Call("Runtime.runIfWaitingForDebugger", json::object(), session);
}

void ChromiumBrowser::OnChildEvent(const std::string& session, const std::string& method, const json& params) {
    auto child = children_.find(session);
    if (child == children_.end()) return;
    if (method == "Fetch.requestPaused") Answer(session, params, child->second.source);
    if (method == "Fetch.authRequired") OnAuthRequired(session, params);
    if (method == "Security.certificateError") OnCertificateError(session, params);
    if (method == "Page.windowOpen") OnWindowOpen(child->second.target, params);
    if (method == "Network.requestWillBeSent") OnFrameDocumentRequest(params);
    if (method == "Runtime.bindingCalled") pageApi_->OnBinding(session, params);
    if (method == "Target.attachedToTarget") OnChildAttached(params);
    if (method == "Target.detachedFromTarget") ForgetChild(JsonString(params, "sessionId"));
}

void ChromiumBrowser::ForgetChild(const std::string& session) {
    children_.erase(session);
    devtools_->Forget(session);
}

void ChromiumBrowser::Navigate(const std::wstring& uri) {
    if (!IsNetworkAddress(uri)) return StartLocalNavigation(uri);
    programNavigation_ = true;
    Call("Page.navigate", {{"url", Utf8(uri)}});
}

void ChromiumBrowser::NavigateToString(const std::wstring& html) { Navigate(DataUriFromHtml(html)); }

// A load that never pauses as a request. Chromium is asked first, so that the
// page's beforeunload runs before anything else: as with the runtime, the
// program hears of the navigation (NavigationStarting) only once the page
// agreed to be left, when Chromium's answer names the new document. When the
// person keeps the page, Chromium answers without a new document: the
// navigation never started and completes as cancelled under a number of its
// own, as our runtime model has it (or, modelling a runtime that raises
// nothing then, VELOTIDE_TEST_ENGINE_STAY=silent, ends unheard). A cancel
// then stops the load.
void ChromiumBrowser::StartLocalNavigation(const std::wstring& uri) {
    ++pendingLocal_;
    Call("Page.navigate", {{"url", Utf8(uri)}},
         [this, keep = shared_from_this(), uri](const json& result, const json& error) {
             --pendingLocal_;
             std::string loader = JsonString(result, "loaderId");
             if (closed) return;
             if (!error.is_null() || loader.empty()) {
                 if (!StayRaisesNothing())
                     RaiseNavigationCompleted(*this, nextNavigationId_++,
                                              COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0);
                 return;
             }
             Navigation& navigation = navigations_[loader] = Navigation{nextNavigationId_++, uri};
             if (RaiseNavigationStarting(*this, uri, navigation.id, false, false)) {
                 Call("Page.stopLoading");
                 Complete(navigation, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0);
             }
         });
}

// The page's script opened a dialog: alert, confirm, prompt, or the question
// of its beforeunload. It is asked from the message loop (not inside the
// protocol's dispatch), and Chromium gets the answer.
void ChromiumBrowser::OnDialogOpening(const json& params) {
    static const std::map<std::string, COREWEBVIEW2_SCRIPT_DIALOG_KIND> kKinds = {
        {"alert", COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT},
        {"confirm", COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM},
        {"prompt", COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT},
        {"beforeunload", COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD}};
    auto kind = kKinds.find(JsonString(params, "type"));
    if (kind == kKinds.end()) return Call("Page.handleJavaScriptDialog", {{"accept", false}});
    ScriptDialog dialog = {kind->second, Wide(JsonString(params, "url")), Wide(JsonString(params, "message")),
                           Wide(JsonString(params, "defaultPrompt"))};
    PostTask([self = std::static_pointer_cast<ChromiumBrowser>(shared_from_this()), dialog] {
        OpenScriptDialog(*self, dialog, [self](bool accepted, const std::wstring& text) {
            self->Call("Page.handleJavaScriptDialog", {{"accept", accepted}, {"promptText", Utf8(text)}});
        });
    });
}

void ChromiumBrowser::GoToHistory(int offset) {
    if (offset == 0) {
        programNavigation_ = true;
        Call("Page.reload");
    } else if (CanGoToHistory(offset)) {
        programNavigation_ = true;
        Call("Page.navigateToHistoryEntry", {{"entryId", historyEntries_[historyIndex_ + offset]}});
    }
}

bool ChromiumBrowser::CanGoToHistory(int offset) const {
    int index = historyIndex_ + offset;
    return index >= 0 && index < static_cast<int>(historyEntries_.size());
}

void ChromiumBrowser::RefreshHistory() {
    Call("Page.getNavigationHistory", json::object(),
         [this, keep = shared_from_this()](const json& result, const json& error) {
             if (!error.is_null()) return;
             historyEntries_.clear();
             for (const json& entry : JsonObject(result, "entries")) historyEntries_.push_back(JsonNumber(entry, "id"));
             historyIndex_ = static_cast<int>(JsonNumber(result, "currentIndex"));
         });
}

void ChromiumBrowser::Close() {
    if (closed) return;
    Browser::Close();
    devtools_->Forget(session_);
    for (const auto& [session, child] : children_) devtools_->Forget(session);
    children_.clear();
    for (const auto& [opener, targets] : openedTargets_)
        for (const Opened& opened : targets) DiscardWindow(devtools_, opened.target, opened.session, true);
    openedTargets_.clear();
    openedUris_.clear();
    navigations_.clear();
    frameOrigins_.clear();
    if (!target_.empty()) devtools_->Call("Target.closeTarget", {{"targetId", target_}});
    if (!context_.empty() && (!keepsContext || profile->deleted()))
        devtools_->Call("Target.disposeBrowserContext", {{"browserContextId", context_}});
}

// The page's lifecycle: frozen, its timers, animations and loading stop
// until it is made active again. Measured on Chromium 156: focus emulation
// keeps a page awake (a frozen page with it runs on), and a page made active
// again stays hidden, its timers throttled to about one a second, until
// focus emulation is turned on again; so it is off while the page sleeps.
void ChromiumBrowser::Freeze(bool frozen, std::function<void(bool done)> done) {
    if (frozen) Call("Emulation.setFocusEmulationEnabled", {{"enabled", false}});
    Call("Page.setWebLifecycleState", {{"state", frozen ? "frozen" : "active"}},
         [done](const json&, const json& error) { done(error.is_null()); });
    if (!frozen) Call("Emulation.setFocusEmulationEnabled", {{"enabled", true}});
}

// Chromium's own answer to a low-memory warning: caches dropped, a garbage collection.
void ChromiumBrowser::TrimMemory() { Call("Memory.simulatePressureNotification", {{"level", "critical"}}); }

// A hidden view paints nothing: Chromium makes no frames for it meanwhile.
void ChromiumBrowser::VisibilityChanged() {
    if (session_.empty()) return;
    Call(visible ? "Page.startScreencast" : "Page.stopScreencast", visible ? kScreencast : json::object());
}

void ChromiumBrowser::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    scale_ = ScaleOf(window);
    // The page's size is in CSS pixels; its frames come in the window's own.
    if (width > 0 && height > 0 && !session_.empty())
        Call("Emulation.setDeviceMetricsOverride", {{"width", static_cast<int>(width / scale_)},
                                                    {"height", static_cast<int>(height / scale_)},
                                                    {"deviceScaleFactor", scale_},
                                                    {"mobile", false}});
}

void ChromiumBrowser::OnEvent(const std::string& method, const json& params) {
    if (closed) return;
    if (method == "Page.screencastFrame") return OnScreencastFrame(params);
    if (!ready_) return;  // the blank page it started with is nobody's business
    if (method == "Fetch.requestPaused") {
        OnRequestPaused(params);
    } else if (method == "Fetch.authRequired") {
        OnAuthRequired(session_, params);
    } else if (method == "Security.certificateError") {
        OnCertificateError(session_, params);
    } else if (method == "Page.frameStartedNavigating") {
        OnNavigationStarted(params);
    } else if (method == "Page.frameNavigated") {
        OnDocumentShown(JsonObject(params, "frame"));
    } else if (method == "Page.navigatedWithinDocument") {
        if (JsonString(params, "frameId") != target_) return;
        std::wstring uri = Wide(JsonString(params, "url"));
        RefreshHistory();
        if (uri == source_) return;
        source_ = uri;
        RaiseSourceChanged(*this, false);
    } else if (method == "Page.lifecycleEvent") {
        if (JsonString(params, "name") == "load" && JsonString(params, "frameId") == target_)
            OnLoaded(JsonString(params, "loaderId"));
    } else if (method == "Network.responseReceived") {
        auto found = navigations_.find(JsonString(params, "requestId"));
        if (found != navigations_.end())
            found->second.httpStatus = static_cast<int>(JsonNumber(JsonObject(params, "response"), "status"));
    } else if (method == "Network.requestWillBeSent") {
        OnDocumentRequest(params);
    } else if (method == "Network.loadingFailed") {
        OnLoadingFailed(params);
    } else if (method == "Page.javascriptDialogOpening") {
        OnDialogOpening(params);
    } else if (method == "Page.windowOpen") {
        OnWindowOpen("", params);
    } else if (method == "Page.frameStoppedLoading") {
        // A document stopped before it loaded (window.stop(), Esc) never
        // loads: its navigation ends there, cancelled.
        if (JsonString(params, "frameId") != target_) return;
        for (auto& [loader, navigation] : navigations_)
            if (navigation.loading && !navigation.done)
                Complete(navigation, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0);
    } else if (method == "Page.frameDetached") {
        frameOrigins_.erase(JsonString(params, "frameId"));
    } else if (method == "Runtime.bindingCalled") {
        if (JsonString(params, "name") == kFullscreenBinding)
            RaiseFullscreenChanged(*this, JsonString(params, "payload") == "1");
        else
            pageApi_->OnBinding(session_, params);
    } else if (method == "Target.attachedToTarget") {
        OnChildAttached(params);
    } else if (method == "Target.detachedFromTarget") {
        ForgetChild(JsonString(params, "sessionId"));
    } else if (method == "Page.downloadWillBegin") {
        OnDownloadWillBegin(params);
    } else if (method == "Page.downloadProgress") {
        OnDownloadProgress(params);
    } else if (method == "Inspector.targetCrashed") {
        RaiseProcessFailed(*this, COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
    }
}

void ChromiumBrowser::OnRequestPaused(const json& params) {
    std::wstring uri = Wide(JsonString(JsonObject(params, "request"), "url"));
    std::string type = JsonString(params, "resourceType");
    if (type == "Document" && JsonString(params, "frameId") == target_) {
        // A top-level navigation: a new one, or the next hop of a redirect.
        std::string loader = JsonString(params, "networkId");
        bool redirected = params.contains("redirectedRequestId") && navigations_.count(loader);
        // The gesture was told as the request was sent; a redirect hop keeps the first request's.
        bool gesture = userGestures_[loader];
        userGestures_.erase(loader);
        Navigation& navigation = redirected ? navigations_[loader] : BeginNavigation(loader, uri, gesture);
        navigation.uri = uri;
        if (RaiseNavigationStarting(*this, uri, navigation.id, navigation.userInitiated, redirected)) {
            // Chromium ends it as net::ERR_ABORTED, reported by loadingFailed.
            Settle(session_, "Fetch.failRequest", {{"requestId", JsonString(params, "requestId")}, {"errorReason", "Aborted"}},
                   loader);
            return;
        }
    }
    // A frame's own document is the parent's request; other requests count as
    // the main frame's unless their frame is of another origin.
    auto frame = frameOrigins_.find(JsonString(params, "frameId"));
    Answer(session_, params,
           type != "Document" && frame != frameOrigins_.end() && frame->second != mainOrigin_
               ? RequestSource::kCrossOriginFrame
               : RequestSource::kFrame);
}

// A server asked a paused request to sign in. Credentials a handler gave
// are sent. Otherwise Chromium goes on without them and shows the server's
// 401 page: cancelled by a handler, or left to the runtime's login dialog,
// which headless Chromium does not have (its default fails the navigation),
// so the engine declines as a person closing the dialog would.
void ChromiumBrowser::OnAuthRequired(const std::string& session, const json& params) {
    const json& challenge = JsonObject(params, "authChallenge");
    std::wstring uri = Wide(JsonString(JsonObject(params, "request"), "url"));
    SignInAnswer answer = RaiseBasicAuthenticationRequested(
        *this, uri, Wide(JsonString(challenge, "scheme") + " realm=\"" + JsonString(challenge, "realm") + "\""));
    json response = {{"response", "CancelAuth"}};
    if (!answer.cancelled && !answer.userName.empty())
        response = {{"response", "ProvideCredentials"},
                    {"username", Utf8(answer.userName)},
                    {"password", Utf8(answer.password)}};
    devtools_->Call("Fetch.continueWithAuth",
                    {{"requestId", JsonString(params, "requestId")}, {"authChallengeResponse", response}}, session);
}

// A request met a certificate that is not valid. Chromium knows no default
// of its own once errors are overridden: DEFAULT, like CANCEL, refuses the
// certificate; ALWAYS_ALLOW goes on. Chromium then ends a refused navigation
// as aborted, and the engine reports it as the runtime does, failed for its
// certificate (without the runtime's warning page).
void ChromiumBrowser::OnCertificateError(const std::string& session, const json& params) {
    std::string error = JsonString(params, "errorType");
    if (error.rfind("net::", 0) != 0) error = "net::" + error;
    std::wstring uri = Wide(JsonString(params, "requestURL"));
    COREWEBVIEW2_WEB_ERROR_STATUS status = WebErrorStatusFor(error);
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION action = RaiseServerCertificateErrorDetected(*this, uri, status);
    for (auto& [loader, navigation] : navigations_)
        if (!navigation.done && navigation.uri == uri && action != COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW)
            navigation.refusedCertificate = status ? status : COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID;
    devtools_->Call("Security.handleCertificateError",
                    {{"eventId", JsonNumber(params, "eventId")},
                     {"action", action == COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW ? "continue" : "cancel"}},
                    session);
}

ChromiumBrowser::Navigation& ChromiumBrowser::BeginNavigation(const std::string& loader, const std::wstring& uri,
                                                             bool userGesture) {
    // A failure whose error page never came is over all the same.
    for (auto& [id, navigation] : navigations_)
        if (navigation.failed && !navigation.done) Complete(navigation, navigation.failure, false, 0);
    std::erase_if(navigations_, [](const auto& entry) { return entry.second.done; });
    while (navigations_.size() >= kKeptNavigations)
        navigations_.erase(std::min_element(navigations_.begin(), navigations_.end(), [](const auto& a, const auto& b) {
            return a.second.id < b.second.id;
        }));
    Navigation& navigation = navigations_[loader] = Navigation{nextNavigationId_++, uri};
    // Chromium's own word: the page acted on the person's click or key
    // (transient activation). The program's own requests never count.
    navigation.userInitiated = userGesture && !programNavigation_;
    programNavigation_ = false;
    return navigation;
}

// A paused request as the program's filters and handlers decide: answered
// with the response a handler put, or let go to the network.
void ChromiumBrowser::Answer(const std::string& session, const json& params, RequestSource source) {
    std::string request = JsonString(params, "requestId");
    std::wstring uri = Wide(JsonString(JsonObject(params, "request"), "url"));
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT context = ResourceContextFor(JsonString(params, "resourceType"));
    Ref<ICoreWebView2WebResourceResponse> response;
    if (MatchesFilter(*this, uri, context, source)) response = RaiseWebResourceRequested(*this, uri, context, source);
    // A top-level document's request: its navigation ends if Chromium can't carry out the answer.
    std::string loader = session == session_ && JsonString(params, "resourceType") == "Document" &&
                                 JsonString(params, "frameId") == target_
                             ? JsonString(params, "networkId")
                             : "";
    if (!response) return Settle(session, "Fetch.continueRequest", {{"requestId", request}}, loader);
    int status = 0;
    LPWSTR reason = nullptr;
    response->get_StatusCode(&status);
    response->get_ReasonPhrase(&reason);
    json answer = {{"requestId", request},
                   {"responseCode", status},
                   {"responseHeaders", json::array()},
                   {"body", ToBase64(ReadContent(response.get()))}};
    if (reason && *reason) answer["responsePhrase"] = Utf8(reason);
    CoTaskMemFree(reason);
    Settle(session, "Fetch.fulfillRequest", answer, loader);
}

// Carries out the answer to a paused request. One Chromium rejects fails the
// request instead, so nothing stays paused; when even that is rejected the
// request is gone, and a navigation it carried ends as failed.
void ChromiumBrowser::Settle(const std::string& session, const std::string& method, json params,
                             const std::string& loader) {
    std::string request = JsonString(params, "requestId");
    bool cancel = method == "Fetch.failRequest" && JsonString(params, "errorReason") == "Aborted";
    devtools_->Call(method, std::move(params), session,
                    [weak = weak_from_this(), session, method, request, loader, cancel](const json&, const json& error) {
                        auto self = std::static_pointer_cast<ChromiumBrowser>(weak.lock());
                        if (error.is_null() || !self || self->closed || !self->devtools_->open()) return;
                        EngineLog(L"request rejected " + Wide(method) + L" " + Wide(JsonString(error, "message")));
                        if (method != "Fetch.failRequest")
                            return self->Settle(session, "Fetch.failRequest",
                                                {{"requestId", request}, {"errorReason", "Failed"}}, loader);
                        auto found = self->navigations_.find(loader);
                        if (loader.empty() || found == self->navigations_.end() || found->second.done) return;
                        self->Complete(found->second,
                                       cancel ? COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED
                                              : COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED,
                                       false, 0);
                    });
}

void ChromiumBrowser::OnNavigationStarted(const json& params) {
    std::string type = JsonString(params, "navigationType");
    std::wstring uri = Wide(JsonString(params, "url"));
    if (JsonString(params, "frameId") != target_ || type == "sameDocument" || type == "historySameDocument" ||
        IsNetworkAddress(uri) || IsExternalAddress(uri))
        return;  // network documents are judged when their request pauses, others' schemes when sent
    if (pendingLocal_ > 0) return;  // the program's own: raised when Chromium answers its Page.navigate
    std::string loader = JsonString(params, "loaderId");
    // A load the program didn't ask for here: a reload or history step to a
    // string-loaded page, or the page going to about:blank by itself.
    // Chromium tells no gesture for it.
    JudgeRunningNavigation(BeginNavigation(loader, uri, false), false);
}

// A navigation (or its hop to navigation.uri) under way already, which never
// pauses as a request: a cancel stops it.
void ChromiumBrowser::JudgeRunningNavigation(Navigation& navigation, bool redirected) {
    if (RaiseNavigationStarting(*this, navigation.uri, navigation.id, navigation.userInitiated, redirected)) {
        Call("Page.stopLoading");
        Complete(navigation, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, false, 0);
    }
}

// Network.requestWillBeSent of the view's own documents, sent before their
// request pauses: whether the page acted on the person's click or key.
void ChromiumBrowser::OnDocumentRequest(const json& params) {
    if (JsonString(params, "type") != "Document") return;
    std::string frame = JsonString(params, "frameId");
    std::string loader = JsonString(params, "loaderId");
    std::wstring uri = Wide(JsonString(JsonObject(params, "request"), "url"));
    const json& gesture = JsonObject(params, "hasUserGesture");
    bool userGesture = gesture.is_boolean() && gesture.get<bool>();
    bool redirected = params.contains("redirectResponse");
    if (frame != target_) {
        // A frame of another site tells its own, in its own session.
        if (!HasChild(frame)) OnFrameDocumentRequest(params);
        return;
    }
    if (IsNetworkAddress(uri)) {
        // Kept only until the request pauses; a few at most are ever under way.
        if (userGestures_.size() > 16) userGestures_.clear();
        if (!redirected) userGestures_[loader] = userGesture;
        return;
    }
    if (!IsExternalAddress(uri)) return;
    auto found = navigations_.find(loader);
    Navigation* navigation = found == navigations_.end() ? &BeginNavigation(loader, uri, userGesture) : &found->second;
    if (found == navigations_.end()) {
        JudgeRunningNavigation(*navigation, false);
    } else if (redirected && !navigation->done) {
        // A server sent the navigation on to another program's address: a hop that never pauses.
        navigation->uri = uri;
        JudgeRunningNavigation(*navigation, true);
    } else {
        return;
    }
    // Let through, it goes on to the launch, as in the runtime.
    if (!navigation->done) RaiseLaunchingExternalUriScheme(*this, uri, Wide(mainOrigin_), navigation->userInitiated);
}

// A frame's link to another program raises none of the view's navigation
// events, only the launch's; headless Chromium has no program to ask about
// or launch, so a cancel changes nothing.
void ChromiumBrowser::OnFrameDocumentRequest(const json& params) {
    std::wstring uri = Wide(JsonString(JsonObject(params, "request"), "url"));
    if (JsonString(params, "type") != "Document" || !IsExternalAddress(uri)) return;
    auto origin = frameOrigins_.find(JsonString(params, "frameId"));
    const json& gesture = JsonObject(params, "hasUserGesture");
    RaiseLaunchingExternalUriScheme(*this, uri, Wide(origin != frameOrigins_.end() ? origin->second : ""),
                                    gesture.is_boolean() && gesture.get<bool>());
}

void ChromiumBrowser::OnDocumentShown(const json& frame) {
    std::string origin = JsonString(frame, "securityOrigin");
    if (origin.rfind("http", 0) == 0 && shownOrigins_.size() < kShownOriginsKept) shownOrigins_.insert(origin);
    if (frame.contains("parentId")) {
        frameOrigins_[JsonString(frame, "id")] = origin;
        return;
    }
    frameOrigins_.clear();  // a new document: its frames come after it
    mainOrigin_ = origin;
    std::wstring uri = firstFrameOf_ = Wide(JsonString(frame, "url"));
    RefreshHistory();
    auto found = navigations_.find(JsonString(frame, "loaderId"));
    // Chromium's own error page stands at an address of its own; the runtime
    // names the address that failed.
    bool errorPage = uri.rfind(L"chrome-error:", 0) == 0;
    std::wstring unreachable = Wide(JsonString(frame, "unreachableUrl"));
    if (errorPage) uri = !unreachable.empty() ? unreachable : found != navigations_.end() ? found->second.uri : uri;
    if (uri != source_) {
        source_ = uri;
        RaiseSourceChanged(*this, true);
    }
    RaiseContentLoading(*this, found != navigations_.end() ? found->second.id : 0, errorPage);
    if (closed) return;
    if (found != navigations_.end()) found->second.loading = true;
    // As in the runtime, a failure is reported once its error page has committed.
    if (errorPage && found != navigations_.end() && found->second.failed && !found->second.done)
        Complete(found->second, found->second.failure, false, 0);
    if (errorPage)
        EngineLog(L"page shown error " + source_);
    else if (source_.rfind(L"data:", 0) != 0)  // a string-loaded page is logged by its text, once loaded
        EngineLog(L"page shown " + source_);
}

void ChromiumBrowser::OnLoaded(const std::string& loader) {
    auto found = navigations_.find(loader);
    if (found == navigations_.end() || found->second.done) return;
    found->second.loading = false;
    if (source_.rfind(L"data:", 0) != 0) {
        // An answer with an error status is a failed navigation to the runtime,
        // although the server's own page shows.
        Complete(found->second, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, found->second.httpStatus < 400,
                 found->second.httpStatus);
        return;
    }
    Call("Runtime.evaluate", {{"expression", "document.body ? document.body.innerText : ''"}, {"returnByValue", true}},
         [this, keep = shared_from_this(), loader](const json& result, const json&) {
             EngineLog(L"page shown data: " + Collapse(Wide(JsonString(JsonObject(result, "result"), "value"))));
             auto found = navigations_.find(loader);
             if (found != navigations_.end() && !found->second.done)
                 Complete(found->second, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, true, 0);
         });
}

void ChromiumBrowser::OnLoadingFailed(const json& params) {
    auto found = navigations_.find(JsonString(params, "requestId"));
    if (found == navigations_.end() || found->second.done) return;
    Navigation& navigation = found->second;
    // Refused for its certificate at the program's word: Chromium aborts it
    // and commits nothing; the runtime reports the certificate's failure.
    if (navigation.refusedCertificate) return Complete(navigation, navigation.refusedCertificate, false, 0);
    std::string error = JsonString(params, "errorText");
    if (error != "net::ERR_ABORTED") {
        // A real failure: Chromium commits its error page next.
        navigation.failed = true;
        navigation.failure = WebErrorStatusFor(error);
        return;
    }
    // Nothing commits: a cancel, a 204 or 205 answer, a stop, a newer load,
    // or an answer Chromium saves instead of showing, which only its
    // Page.downloadWillBegin tells, right after this. A load with an answer
    // that could be saved waits a moment for that word.
    navigation.aborted = true;
    int http = navigation.httpStatus;
    if (!navigation.download.empty() || http == 0 || http == 204 || http == 205) return EndAbortedLoad(navigation);
    RunLater(kDownloadWord, [weak = weak_from_this(), loader = found->first] {
        auto self = std::static_pointer_cast<ChromiumBrowser>(weak.lock());
        if (!self) return;
        auto found = self->navigations_.find(loader);
        if (found != self->navigations_.end() && !found->second.done) self->EndAbortedLoad(found->second);
    });
}

void ChromiumBrowser::Complete(Navigation& navigation, COREWEBVIEW2_WEB_ERROR_STATUS status, bool success,
                               int httpStatus) {
    navigation.done = true;
    RaiseNavigationCompleted(*this, navigation.id, status, success, httpStatus);
}

void ChromiumBrowser::OnOpenedTarget(const std::string& target, const std::string& session,
                                     const std::string& openerFrame) {
    if (closed) return DiscardWindow(devtools_, target, session, true);
    std::string opener = OpenerKey(openerFrame);
    openedTargets_[opener].push_back({L"", target, session, GetTickCount64()});
    PairOpenedWindows(opener);
}

void ChromiumBrowser::OnWindowOpen(const std::string& opener, const json& params) {
    auto gesture = JsonObject(params, "userGesture");
    openedUris_[opener].push_back(
        {Wide(JsonString(params, "url")), "", "", GetTickCount64(), gesture.is_boolean() && gesture.get<bool>()});
    PairOpenedWindows(opener);
}

// A cross-site frame tells its window.open in its own session, and its frame
// id is its target's id; everything else is the page's own session's.
std::string ChromiumBrowser::OpenerKey(const std::string& frame) const {
    return !frame.empty() && (openedUris_.count(frame) || HasChild(frame)) ? frame : "";
}

bool ChromiumBrowser::HasChild(const std::string& target) const {
    return std::any_of(children_.begin(), children_.end(),
                       [&](const auto& entry) { return entry.second.target == target; });
}

// Page.windowOpen tells the address, the attached target is the window
// itself; both come once per window, in the same order for one opener.
void ChromiumBrowser::PairOpenedWindows(const std::string& opener) {
    auto& uris = openedUris_[opener];
    auto& targets = openedTargets_[opener];
    while (!uris.empty() && !targets.empty()) {
        std::wstring uri = uris.front().uri;
        bool userGesture = uris.front().userGesture;
        Opened window = targets.front();
        uris.pop_front();
        targets.pop_front();
        NewWindowAnswer answer = RaiseNewWindowRequested(*this, uri, userGesture);
        if (answer.newWindow) answer.newWindow->Navigate(uri.c_str());
        if (answer.newWindow || answer.handled || closed) {
            DiscardWindow(devtools_, window.target, window.session, IsNetworkAddress(uri));
        } else {
            devtools_->Call("Runtime.runIfWaitingForDebugger", json::object(), window.session);
            devtools_->Call("Target.detachFromTarget", {{"sessionId", window.session}});
        }
        LogPopup(answer, uri);
        if (closed) return;  // a handler closed the view: Close has discarded the rest
    }
    if (uris.empty() && targets.empty()) {
        openedUris_.erase(opener);
        openedTargets_.erase(opener);
        return;
    }
    RunLater(kPopupBound + 100, [weak = weak_from_this()] {
        if (auto self = std::static_pointer_cast<ChromiumBrowser>(weak.lock())) self->SweepOpenedWindows();
    });
}

// What waited past the bound has lost its other half: an address is
// forgotten, a window closed without loading, as if swallowed.
void ChromiumBrowser::SweepOpenedWindows() {
    ULONGLONG now = GetTickCount64();
    auto stale = [now](const Opened& o) { return now - o.at >= kPopupBound; };
    for (auto& [opener, targets] : openedTargets_)
        for (const Opened& window : targets)
            if (stale(window)) DiscardWindow(devtools_, window.target, window.session, true);
    for (auto* queues : {&openedUris_, &openedTargets_}) {
        for (auto& [opener, queue] : *queues) std::erase_if(queue, stale);
        std::erase_if(*queues, [](const auto& entry) { return entry.second.empty(); });
    }
}

// Closing a window that still waits for its debugger spoils the browser's
// later pop-ups, and closing one that runs lets its held requests go. So it
// runs with every request held; its first request is failed, and only once
// Chromium has failed it does the window close (or after a while, when it
// asks for nothing).
void DiscardWindow(const std::shared_ptr<DevTools>& devtools, const std::string& target, const std::string& session,
                   bool loadsFromNetwork) {
    auto closed = std::make_shared<bool>(false);
    std::weak_ptr<DevTools> weak = devtools;
    auto close = [weak, target, session, closed](const json&, const json&) {
        auto devtools = weak.lock();
        if (*closed || !devtools) return;
        *closed = true;
        devtools->Forget(session);
        devtools->Call("Target.closeTarget", {{"targetId", target}});
    };
    if (loadsFromNetwork) {
        devtools->Listen(session, [weak, session, close](const std::string& method, const json& params) {
            auto devtools = weak.lock();
            if (method != "Fetch.requestPaused" || !devtools) return;
            devtools->Call("Fetch.failRequest", {{"requestId", JsonString(params, "requestId")}, {"errorReason", "Aborted"}},
                           session, close);
        });
        RunLater(kPopupBound, [close] { close(json(), json()); });
    }
    devtools->Call("Fetch.enable", {{"patterns", json::array({{{"urlPattern", "*"}}})}}, session);
    devtools->Call("Runtime.runIfWaitingForDebugger", json::object(), session,
                   loadsFromNetwork ? DevTools::Reply() : DevTools::Reply(close));
}

void ChromiumBrowser::OnScreencastFrame(const json& params) {
    if (DecodeFrame(JsonString(params, "data"), &frame_)) {
        InvalidateRect(window, nullptr, FALSE);
        if (!firstFrameOf_.empty()) EngineLog(L"frame shown " + firstFrameOf_);
        firstFrameOf_.clear();
    }
    Call("Page.screencastFrameAck", {{"sessionId", JsonObject(params, "sessionId")}});
}

bool ChromiumBrowser::DeliverKey(UINT message, WPARAM key, LPARAM lParam) {
    bool handled = RaiseAcceleratorKey(*this, message, key, lParam);
    bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (down) swallowCharacters_ = handled;
    if (handled || closed) return true;
    // Alt+F4 closes the program's window, which asks the page first: passed
    // on, Chromium would take it as its own window's close and drop the page.
    if ((message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) && key == VK_F4) return false;
    // A key goes up with the value it went down with: no character waits for it then.
    auto held = keysDown_.find(key);
    std::string name = !down && held != keysDown_.end() ? held->second : DomKey(static_cast<UINT>(key), window);
    if (down)
        keysDown_[key] = name;
    else if (held != keysDown_.end())
        keysDown_.erase(held);
    Call("Input.dispatchKeyEvent", {{"type", down ? "rawKeyDown" : "keyUp"},
                                    {"windowsVirtualKeyCode", key},
                                    {"nativeVirtualKeyCode", key},
                                    {"key", name},
                                    {"modifiers", DomModifiers()},
                                    {"isSystemKey", message == WM_SYSKEYDOWN || message == WM_SYSKEYUP},
                                    {"autoRepeat", down && (lParam & (1 << 30)) != 0}});
    RunRuntimeKey(*this, message, key);
    // A browser's own window ends the page's fullscreen element on Esc, or
    // else (one of the runtime's keys) stops a load under way; headless
    // Chromium has no such window, so the engine does it.
    bool loading = std::any_of(navigations_.begin(), navigations_.end(), [](const auto& n) { return !n.second.done; });
    if (down && key == VK_ESCAPE && fullscreenElement)
        Call("Runtime.evaluate", {{"expression", "document.exitFullscreen()"}});
    else if (down && key == VK_ESCAPE && loading && RuntimeKeysOn(*this))
        Call("Page.stopLoading");
    return false;
}

void ChromiumBrowser::DeliverCharacter(wchar_t character) {
    if (swallowCharacters_ || closed) return;
    if (IS_HIGH_SURROGATE(character)) {
        highSurrogate_ = character;
        return;
    }
    std::wstring text(1, character);
    if (highSurrogate_ && IS_LOW_SURROGATE(character)) text.insert(text.begin(), highSurrogate_);
    highSurrogate_ = 0;
    if (character < 0x20 && character != L'\r') return;  // Ctrl combinations type nothing
    Call("Input.dispatchKeyEvent",
         {{"type", "char"}, {"text", Utf8(text)}, {"unmodifiedText", Utf8(text)}, {"modifiers", DomModifiers()}});
}

void ChromiumBrowser::DeliverMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    static const struct {
        UINT message;
        const char* type;
        const char* button;
        int clickCount;  // 0: the count of the press it ends
    } kMessages[] = {
        {WM_MOUSEMOVE, "mouseMoved", "none", 0},       {WM_MOUSEWHEEL, "mouseWheel", "none", 0},
        {WM_MOUSEHWHEEL, "mouseWheel", "none", 0},     {WM_LBUTTONDOWN, "mousePressed", "left", 1},
        {WM_LBUTTONDBLCLK, "mousePressed", "left", 2}, {WM_LBUTTONUP, "mouseReleased", "left", 0},
        {WM_RBUTTONDOWN, "mousePressed", "right", 1},  {WM_RBUTTONDBLCLK, "mousePressed", "right", 2},
        {WM_RBUTTONUP, "mouseReleased", "right", 0},   {WM_MBUTTONDOWN, "mousePressed", "middle", 1},
        {WM_MBUTTONDBLCLK, "mousePressed", "middle", 2}, {WM_MBUTTONUP, "mouseReleased", "middle", 0},
    };
    if (closed) return;
    for (const auto& m : kMessages) {
        if (m.message != message) continue;
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        bool wheel = message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL;
        if (wheel) ScreenToClient(window, &at);
        WORD keys = LOWORD(wParam);
        json event = {{"type", m.type},
                      {"x", at.x / scale_},
                      {"y", at.y / scale_},
                      {"button", m.button},
                      {"buttons", (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0)},
                      {"modifiers", DomModifiers()}};
        if (m.clickCount) clickCount_ = m.clickCount;
        if (strcmp(m.button, "none") != 0) event["clickCount"] = clickCount_;
        if (wheel) {
            // A notch away from the user scrolls up, the page's negative deltaY; a tilt right is a positive deltaX.
            int delta = GET_WHEEL_DELTA_WPARAM(wParam);
            event["deltaX"] = message == WM_MOUSEHWHEEL ? delta : 0;
            event["deltaY"] = message == WM_MOUSEWHEEL ? -delta : 0;
        }
        // Moves come faster than a page takes them: one is on its way at a
        // time and the latest waits; anything else goes after it, in order.
        if (message == WM_MOUSEMOVE) {
            pendingMove_ = std::move(event);
            if (!moveInFlight_) SendMouseMove();
            return;
        }
        SendMouseMove();
        Call("Input.dispatchMouseEvent", event);
        return;
    }
}

void ChromiumBrowser::SendMouseMove() {
    if (pendingMove_.is_null()) return;
    json event = std::move(pendingMove_);
    pendingMove_ = json();
    moveInFlight_ = true;
    Call("Input.dispatchMouseEvent", std::move(event), [weak = weak_from_this()](const json&, const json&) {
        auto self = std::static_pointer_cast<ChromiumBrowser>(weak.lock());
        if (!self) return;
        self->moveInFlight_ = false;
        self->SendMouseMove();
    });
}

std::wstring ChromiumBrowser::Stats() const {
    size_t uris = 0, targets = 0;
    for (const auto& [opener, queue] : openedUris_) uris += queue.size();
    for (const auto& [opener, queue] : openedTargets_) targets += queue.size();
    return L"stats navigations=" + std::to_wstring(navigations_.size()) + L" local=" +
           std::to_wstring(pendingLocal_) + L" frames=" + std::to_wstring(frameOrigins_.size()) +
           L" children=" + std::to_wstring(children_.size()) + L" popups=" + std::to_wstring(uris) + L"/" +
           std::to_wstring(targets) + L" replies=" + std::to_wstring(devtools_->pendingReplies()) + L" listeners=" +
           std::to_wstring(devtools_->listeners()) + L" " + (environmentStats ? environmentStats() : L"");
}

void ChromiumBrowser::ClearBrowsingData() {
    if (closed) return;
    // The view's browser context is its own: its cookies and cache go, and
    // the storage of every origin its documents came from.
    Call("Network.clearBrowserCookies");
    Call("Network.clearBrowserCache");
    for (const std::string& origin : shownOrigins_)
        Call("Storage.clearDataForOrigin", {{"origin", origin}, {"storageTypes", "all"}});
    shownOrigins_.clear();
}

bool ChromiumBrowser::RunCommand(const std::wstring& text) {
    if (text == kStatsCommand) {
        EngineLog(Stats());
        return true;
    }
    std::wstring verb = std::wstring(kEngineCmdScript) + L" ";
    bool script = !closed && text.size() > verb.size() && text.rfind(verb, 0) == 0;
    bool crash = !closed && text == std::wstring(kEngineCmdCrash) + L" 1";
    bool understood = script || crash;
    if (script) Call("Runtime.evaluate", {{"expression", Utf8(text.substr(verb.size()))}, {"userGesture", true}});
    if (crash) Call("Page.crash");
    EngineLog((understood ? L"command " : L"command rejected ") + text);
    return understood;
}
