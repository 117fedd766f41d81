#include "engines/common/browser.h"

#include "engines/common/args.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/uri.h"

void Browser::Close() {
    if (closed) return;
    closed = true;
    if (window) DestroyWindow(window);
    window = nullptr;
    size_t held = navigationStarting.Clear() + navigationCompleted.Clear() + newWindowRequested.Clear() +
                  webResourceRequested.Clear() + fullscreenChanged.Clear() + acceleratorKeyPressed.Clear() +
                  processFailed.Clear() + contentLoading.Clear() + sourceChanged.Clear() + downloadStarting.Clear() +
                  launchingExternalUriScheme.Clear() +
                  basicAuthenticationRequested.Clear() + serverCertificateErrorDetected.Clear() +
                  permissionRequested.Clear() + documentTitleChanged.Clear() + faviconChanged.Clear() +
                  notificationReceived.Clear() + scriptDialogOpening.Clear() + saveAsUIShowing.Clear();
    documentPermissions.clear();
    EngineLog(held ? L"closed " + std::to_wstring(held) + L" handlers held elsewhere" : L"closed");
}

void RegisterEngineClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW wc = {};
    if (GetClassInfoW(EngineModule(), name, &wc)) return;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = EngineModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

HWND CreateEngineView(HWND parent, WNDPROC procedure, Browser* browser) {
    RegisterEngineClass(kEngineViewClass, procedure);
    HWND view = CreateWindowExW(0, kEngineViewClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                                EngineModule(), nullptr);
    SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(browser));
    return view;
}

bool ReadEngineCommand(LPARAM copyData, std::wstring* text) {
    auto* data = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
    if (data->dwData != kEngineCopyDataId || !data->lpData) return false;
    text->assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    while (!text->empty() && text->back() == L'\0') text->pop_back();
    return true;
}

namespace {

const wchar_t* const kDialogKinds[] = {L"alert", L"confirm", L"prompt", L"beforeunload"};

void LogDialogAnswer(const ScriptDialog& dialog, bool accepted, const std::wstring& text) {
    bool leaving = dialog.kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD;
    std::wstring answer = leaving ? (accepted ? L"leave" : L"stay") : (accepted ? L"ok" : L"cancel");
    if (accepted && dialog.kind == COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT) answer += L" " + text;
    EngineLog(L"dialog answered " + answer);
}

// The runtime's own boxes, owned by the program's window; true for OK or Leave.
bool AskInRuntimeBox(Browser& b, const ScriptDialog& dialog) {
    HWND owner = b.window ? GetAncestor(b.window, GA_ROOT) : nullptr;
    std::wstring says = HostOf(dialog.uri) + L" says";
    switch (dialog.kind) {
    case COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD:
        // Browsers no longer pass on the page's own text (the message comes
        // empty): the runtime's words stand in for it.
        return MessageBoxW(owner, L"Changes you made may not be saved.", L"Leave site?",
                           MB_OKCANCEL | MB_ICONWARNING) == IDOK;
    case COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM:
        return MessageBoxW(owner, dialog.message.c_str(), says.c_str(), MB_OKCANCEL) == IDOK;
    case COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT:
        return false;  // the runtime's prompt, which the engines can't show
    default:
        return MessageBoxW(owner, dialog.message.c_str(), says.c_str(), MB_OK) == IDOK;
    }
}

}  // namespace

void OpenScriptDialog(Browser& b, const ScriptDialog& dialog,
                      std::function<void(bool accepted, const std::wstring& text)> done) {
    if (b.closed) return;
    EngineLog(L"dialog " + std::wstring(kDialogKinds[dialog.kind]) +
              (dialog.message.empty() ? L"" : L" " + dialog.message));
    BOOL runtimeBoxes = TRUE;
    if (b.settings) b.settings->get_AreDefaultScriptDialogsEnabled(&runtimeBoxes);
    if (runtimeBoxes) {
        bool accepted = AskInRuntimeBox(b, dialog);
        LogDialogAnswer(dialog, accepted, L"");
        if (!b.closed) done(accepted, L"");
        return;
    }
    auto args = Ref<ScriptDialogOpeningArgs>::Adopt(
        new ScriptDialogOpeningArgs(dialog.kind, dialog.uri, dialog.message, dialog.defaultText));
    for (auto& handler : b.scriptDialogOpening.Snapshot()) handler->Invoke(b.view, args.get());
    ScriptDialogOpeningArgs* answered = args.get();
    args->Settle([weak = b.weak_from_this(), dialog, answered, done] {
        auto browser = weak.lock();
        if (!browser || browser->closed) return;
        LogDialogAnswer(dialog, answered->accepted(), answered->resultText());
        done(answered->accepted(), answered->resultText());
    });
}

bool StayRaisesNothing() { return EngineVariable(kEngineStayVariable) == L"silent"; }

bool RaiseNavigationStarting(Browser& b, const std::wstring& uri, UINT64 id, bool userInitiated, bool redirected) {
    if (b.closed) return true;
    EngineLog(L"navigation started " + std::to_wstring(id) + L" " + uri);
    auto args = Ref<NavigationStartingArgs>::Adopt(new NavigationStartingArgs(uri, id, userInitiated, redirected));
    for (auto& handler : b.navigationStarting.Snapshot()) handler->Invoke(b.view, args.get());
    if (args->cancelled()) EngineLog(L"navigation cancelled " + std::to_wstring(id));
    return args->cancelled();
}

void RaiseNavigationCompleted(Browser& b, UINT64 id, COREWEBVIEW2_WEB_ERROR_STATUS status, bool success,
                              int httpStatus) {
    if (b.closed) return;
    EngineLog(L"navigation completed " + std::to_wstring(id) +
              (success ? L" success" : L" status " + std::to_wstring(status)) +
              (httpStatus && httpStatus != 200 ? L" http " + std::to_wstring(httpStatus) : L""));
    auto args = Ref<NavigationCompletedArgs>::Adopt(new NavigationCompletedArgs(id, status, success, httpStatus));
    for (auto& handler : b.navigationCompleted.Snapshot()) handler->Invoke(b.view, args.get());
}

// The source kind a request counts as: frames of any origin and dedicated
// workers are the document's.
static int SourceKind(RequestSource source) {
    switch (source) {
    case RequestSource::kSharedWorker:
        return COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SHARED_WORKER;
    case RequestSource::kServiceWorker:
        return COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER;
    default:
        return COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT;
    }
}

bool MatchesFilter(const Browser& b, const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                   RequestSource source) {
    for (const ResourceFilter& filter : b.filters) {
        bool reaches = filter.withKinds ? (filter.kinds & SourceKind(source)) != 0 : source == RequestSource::kFrame;
        if (reaches && (filter.context == COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL || filter.context == context) &&
            GlobMatch(filter.pattern, uri))
            return true;
    }
    return false;
}

Ref<ICoreWebView2WebResourceResponse> RaiseWebResourceRequested(Browser& b, const std::wstring& uri,
                                                                COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                                                                RequestSource source) {
    Ref<ICoreWebView2WebResourceResponse> response;
    if (b.closed) return response;
    if (MatchesFilter(b, uri, context, source)) {
        EngineLog(L"resource event " + std::to_wstring(context) + L" " + uri);
        auto args = Ref<WebResourceRequestedArgs>::Adopt(new WebResourceRequestedArgs(uri, context));
        for (auto& handler : b.webResourceRequested.Snapshot()) handler->Invoke(b.view, args.get());
        response = args->response();
    }
    if (!response) {
        EngineLog(L"resource to network " + uri);
        return response;
    }
    int status = 0;
    LPWSTR reason = nullptr;
    response->get_StatusCode(&status);
    response->get_ReasonPhrase(&reason);
    EngineLog(L"resource answered " + std::to_wstring(status) + L" " + (reason ? reason : L"") + L" " + uri);
    CoTaskMemFree(reason);
    return response;
}

NewWindowAnswer RaiseNewWindowRequested(Browser& b, const std::wstring& uri, bool userInitiated) {
    NewWindowAnswer answer;
    if (b.closed) return answer;
    auto args = Ref<NewWindowArgs>::Adopt(new NewWindowArgs(uri, userInitiated));
    for (auto& handler : b.newWindowRequested.Snapshot()) handler->Invoke(b.view, args.get());
    answer.handled = args->handled();
    answer.newWindow = args->newWindow();
    return answer;
}

void LogPopup(const NewWindowAnswer& answer, const std::wstring& uri) {
    EngineLog((answer.newWindow ? L"popup into given view " : answer.handled ? L"popup swallowed " : L"popup opened ") +
              uri);
}

void RaiseContentLoading(Browser& b, UINT64 id, bool isErrorPage) {
    if (b.closed) return;
    EngineLog(L"content loading " + std::to_wstring(id) + (isErrorPage ? L" error " : L" ") + b.Source());
    auto args = Ref<ContentLoadingArgs>::Adopt(new ContentLoadingArgs(id, isErrorPage));
    for (auto& handler : b.contentLoading.Snapshot()) handler->Invoke(b.view, args.get());
}

void RaiseSourceChanged(Browser& b, bool isNewDocument) {
    if (b.closed) return;
    EngineLog((isNewDocument ? L"source changed " : L"source changed same document ") + b.Source());
    auto args = Ref<SourceChangedArgs>::Adopt(new SourceChangedArgs(isNewDocument));
    for (auto& handler : b.sourceChanged.Snapshot()) handler->Invoke(b.view, args.get());
}

SignInAnswer RaiseBasicAuthenticationRequested(Browser& b, const std::wstring& uri, const std::wstring& challenge) {
    SignInAnswer answer;
    if (b.closed) return answer;
    EngineLog(L"sign-in requested " + uri);
    auto args = Ref<BasicAuthenticationRequestedArgs>::Adopt(new BasicAuthenticationRequestedArgs(uri, challenge));
    for (auto& handler : b.basicAuthenticationRequested.Snapshot()) handler->Invoke(b.view, args.get());
    answer.cancelled = args->cancelled();
    answer.userName = args->response().userName();
    answer.password = args->response().password();
    EngineLog((answer.cancelled             ? L"sign-in cancelled "
               : answer.userName.empty() ? L"sign-in left to the dialog "
                                         : L"sign-in answered ") +
              uri);
    return answer;
}

COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION RaiseServerCertificateErrorDetected(Browser& b, const std::wstring& uri,
                                                                                 COREWEBVIEW2_WEB_ERROR_STATUS status) {
    if (b.closed) return COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL;
    EngineLog(L"certificate error " + std::to_wstring(status) + L" " + uri);
    auto args = Ref<ServerCertificateErrorArgs>::Adopt(new ServerCertificateErrorArgs(uri, status));
    for (auto& handler : b.serverCertificateErrorDetected.Snapshot()) handler->Invoke(b.view, args.get());
    const wchar_t* const kActions[] = {L"always allow", L"cancel", L"default"};
    EngineLog(L"certificate action " + std::wstring(kActions[args->action()]) + L" " + uri);
    return args->action();
}

bool RaiseDownloadStarting(Browser& b, const std::wstring& uri, const std::wstring& resultFilePath) {
    if (b.closed) return false;
    EngineLog(L"download starting " + resultFilePath + L" " + uri);
    auto args = Ref<DownloadStartingArgs>::Adopt(new DownloadStartingArgs(resultFilePath));
    for (auto& handler : b.downloadStarting.Snapshot()) handler->Invoke(b.view, args.get());
    if (args->cancelled()) EngineLog(L"download cancelled " + uri);
    return args->cancelled();
}

bool RaiseSaveAsUIShowing(Browser& b) {
    if (b.closed) return false;
    auto args = Ref<SaveAsArgs>::Adopt(new SaveAsArgs);
    for (auto& handler : b.saveAsUIShowing.Snapshot()) handler->Invoke(b.view, args.get());
    EngineLog(args->cancelled() ? L"save as cancelled" : L"save as dialog");
    return args->cancelled();
}

bool RaiseLaunchingExternalUriScheme(Browser& b, const std::wstring& uri, const std::wstring& origin,
                                     bool userInitiated) {
    if (b.closed) return true;
    EngineLog(L"launching " + std::wstring(userInitiated ? L"user " : L"script ") + origin + L" " + uri);
    auto args =
        Ref<LaunchingExternalUriSchemeArgs>::Adopt(new LaunchingExternalUriSchemeArgs(uri, origin, userInitiated));
    for (auto& handler : b.launchingExternalUriScheme.Snapshot()) handler->Invoke(b.view, args.get());
    EngineLog((args->cancelled() ? L"launch cancelled " : L"launch asked ") + uri);
    return args->cancelled();
}

void RaiseProcessFailed(Browser& b, COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    if (b.closed) return;
    EngineLog(L"process failed " + std::to_wstring(kind));
    auto args = Ref<ProcessFailedArgs>::Adopt(new ProcessFailedArgs(kind));
    for (auto& handler : b.processFailed.Snapshot()) handler->Invoke(b.view, args.get());
    if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) b.Close();
}

void RaiseDocumentTitleChanged(Browser& b, const std::wstring& title, bool newDocument) {
    if (b.closed || (!newDocument && title == b.title)) return;
    b.title = title;
    EngineLog(L"title changed " + title);
    for (auto& handler : b.documentTitleChanged.Snapshot()) handler->Invoke(b.view, nullptr);
}

void RaiseFaviconChanged(Browser& b, const std::wstring& uri) {
    if (b.closed || uri == b.faviconUri) return;
    b.faviconUri = uri;
    EngineLog(uri.empty() ? L"favicon removed" : L"favicon changed " + uri);
    for (auto& handler : b.faviconChanged.Snapshot()) handler->Invoke(b.view, nullptr);
}

void RaiseFullscreenChanged(Browser& b, bool on) {
    if (b.closed) return;
    std::wstring line = on ? L"fullscreen element on" : L"fullscreen element off";
    if (b.fullscreenElement == on) {
        EngineLog(line + L" unchanged");
        return;
    }
    b.fullscreenElement = on;
    EngineLog(line);
    InvalidateRect(b.window, nullptr, TRUE);
    for (auto& handler : b.fullscreenChanged.Snapshot()) handler->Invoke(b.view, nullptr);
}

bool RaiseAcceleratorKey(Browser& b, UINT message, WPARAM key, LPARAM lParam) {
    COREWEBVIEW2_KEY_EVENT_KIND kind = message == WM_KEYDOWN      ? COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN
                                       : message == WM_KEYUP      ? COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP
                                       : message == WM_SYSKEYDOWN ? COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN
                                                                  : COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP;
    UINT character = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;
    bool accelerator = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 ||
                       kind >= COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN || character < 0x20;
    bool handled = false;
    if (accelerator && !b.closed) {
        auto args = Ref<AcceleratorKeyArgs>::Adopt(new AcceleratorKeyArgs(kind, static_cast<UINT>(key), lParam));
        for (auto& handler : b.acceleratorKeyPressed.Snapshot()) handler->Invoke(b.controller, args.get());
        handled = args->handled();
    }
    EngineLog((handled ? L"key handled " : L"key to page ") + std::to_wstring(key) + L" " + std::to_wstring(kind));
    return handled;
}

// Suspended from the ask on, so that a Resume (or the view shown) before the
// answer comes lets the page run again after it.
void SuspendPage(Browser& b, std::function<void(bool slept)> done) {
    b.suspended = true;
    b.Freeze(true, [weak = std::weak_ptr<Browser>(b.shared_from_this()), done](bool slept) {
        auto browser = weak.lock();
        if (browser && !slept) browser->suspended = false;
        EngineLog(slept ? L"suspended" : L"suspend refused");
        done(slept);
    });
}

void ResumePage(Browser& b) {
    if (!b.suspended) return;
    b.suspended = false;
    b.Freeze(false, [](bool) {});
    EngineLog(L"resumed");
}
