// Event arguments, the web resource request and the response: plain value
// holders whose fields the engine reads back after the handlers have run.
#pragma once

#include "engines/common/engine.h"

// Arguments a handler may cancel (Cancel); the engine reads cancelled()
// once the handlers have run.
template <class I>
class CancellableArgs : public ComObject<I> {
public:
    using ComObject<I>::ComObject;
    bool cancelled() const { return cancel_; }

    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* value) override { return Out(value, cancel_); }
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override {
        cancel_ = cancel != FALSE;
        return S_OK;
    }

private:
    bool cancel_ = false;
};

class NavigationStartingArgs : public CancellableArgs<ICoreWebView2NavigationStartingEventArgs> {
public:
    NavigationStartingArgs(const std::wstring& uri, UINT64 id, bool userInitiated, bool redirected)
        : CancellableArgs(IID_ICoreWebView2NavigationStartingEventArgs),
          uri_(uri),
          id_(id),
          user_(userInitiated),
          redirected_(redirected) {}

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return ReturnString(uri_, uri); }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override { return Out(value, user_); }
    HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* value) override { return Out(value, redirected_); }
    HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override { return Out(id, id_); }

private:
    std::wstring uri_;
    UINT64 id_;
    bool user_, redirected_;
};

class NavigationCompletedArgs : public ComObject<ICoreWebView2NavigationCompletedEventArgs2> {
public:
    NavigationCompletedArgs(UINT64 id, COREWEBVIEW2_WEB_ERROR_STATUS status, bool success, int httpStatus)
        : ComObject({&IID_ICoreWebView2NavigationCompletedEventArgs, &IID_ICoreWebView2NavigationCompletedEventArgs2}),
          id_(id),
          status_(status),
          success_(success),
          httpStatus_(httpStatus) {}

    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* value) override { return Out(value, success_); }
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) override {
        return Out(value, status_);
    }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override { return Out(id, id_); }
    HRESULT STDMETHODCALLTYPE get_HttpStatusCode(int* value) override { return Out(value, httpStatus_); }

private:
    UINT64 id_;
    COREWEBVIEW2_WEB_ERROR_STATUS status_;
    bool success_;
    int httpStatus_;  // 0 when no answer came
};

class ProcessFailedArgs : public ComObject<ICoreWebView2ProcessFailedEventArgs> {
public:
    explicit ProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND kind)
        : ComObject(IID_ICoreWebView2ProcessFailedEventArgs), kind_(kind) {}

    HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* kind) override {
        return Out(kind, kind_);
    }

private:
    COREWEBVIEW2_PROCESS_FAILED_KIND kind_;
};

class ContentLoadingArgs : public ComObject<ICoreWebView2ContentLoadingEventArgs> {
public:
    ContentLoadingArgs(UINT64 id, bool isErrorPage)
        : ComObject(IID_ICoreWebView2ContentLoadingEventArgs), id_(id), errorPage_(isErrorPage) {}

    HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* value) override { return Out(value, errorPage_); }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override { return Out(id, id_); }

private:
    UINT64 id_;
    bool errorPage_;
};

class SourceChangedArgs : public ComObject<ICoreWebView2SourceChangedEventArgs> {
public:
    explicit SourceChangedArgs(bool isNewDocument)
        : ComObject(IID_ICoreWebView2SourceChangedEventArgs), newDocument_(isNewDocument) {}

    HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* value) override { return Out(value, newDocument_); }

private:
    bool newDocument_;
};

// A download about to begin. The engine picks the file's path; a handler may
// cancel the download or take the runtime's download UI away (Handled).
class DownloadStartingArgs : public CancellableArgs<ICoreWebView2DownloadStartingEventArgs> {
public:
    explicit DownloadStartingArgs(const std::wstring& resultFilePath)
        : CancellableArgs(IID_ICoreWebView2DownloadStartingEventArgs), path_(resultFilePath) {}

    HRESULT STDMETHODCALLTYPE get_DownloadOperation(ICoreWebView2DownloadOperation** operation) override {
        if (operation) *operation = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_ResultFilePath(LPWSTR* path) override { return ReturnString(path_, path); }
    HRESULT STDMETHODCALLTYPE put_ResultFilePath(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) override { return Out(value, handled_); }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override {
        handled_ = handled != FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }

private:
    std::wstring path_;
    bool handled_ = false;
};

// A "Save as" of the page: only Cancel is carried out; the engines write no
// file, so the path, kind and replacing are E_NOTIMPL.
class SaveAsArgs : public CancellableArgs<ICoreWebView2SaveAsUIShowingEventArgs> {
public:
    SaveAsArgs() : CancellableArgs(IID_ICoreWebView2SaveAsUIShowingEventArgs) {}

    HRESULT STDMETHODCALLTYPE get_ContentMimeType(LPWSTR* type) override { return ReturnString(L"text/html", type); }
    HRESULT STDMETHODCALLTYPE put_SuppressDefaultDialog(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SuppressDefaultDialog(BOOL* value) override { return Out(value, false); }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_SaveAsFilePath(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SaveAsFilePath(LPWSTR* path) override { return ReturnString(L"", path); }
    HRESULT STDMETHODCALLTYPE put_AllowReplace(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AllowReplace(BOOL* value) override { return Out(value, false); }
    HRESULT STDMETHODCALLTYPE put_Kind(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Kind(int* kind) override { return Out(kind, 0); }
};

// A link to another program's address; not cancelled, the runtime asks "Open app?".
class LaunchingExternalUriSchemeArgs : public CancellableArgs<ICoreWebView2LaunchingExternalUriSchemeEventArgs> {
public:
    LaunchingExternalUriSchemeArgs(const std::wstring& uri, const std::wstring& origin, bool userInitiated)
        : CancellableArgs(IID_ICoreWebView2LaunchingExternalUriSchemeEventArgs),
          uri_(uri),
          origin_(origin),
          user_(userInitiated) {}

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return ReturnString(uri_, uri); }
    HRESULT STDMETHODCALLTYPE get_InitiatingOrigin(LPWSTR* origin) override { return ReturnString(origin_, origin); }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override { return Out(value, user_); }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }

private:
    std::wstring uri_, origin_;
    bool user_;
};

class NewWindowArgs : public ComObject<ICoreWebView2NewWindowRequestedEventArgs> {
public:
    NewWindowArgs(const std::wstring& uri, bool userInitiated)
        : ComObject(IID_ICoreWebView2NewWindowRequestedEventArgs), uri_(uri), user_(userInitiated) {}
    bool handled() const { return handled_; }
    ICoreWebView2* newWindow() const { return newWindow_.get(); }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return ReturnString(uri_, uri); }
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* view) override {
        newWindow_ = view;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** view) override { return OutRef(view, newWindow_.get()); }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override {
        handled_ = handled != FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override { return Out(handled, handled_); }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override { return Out(value, user_); }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures**) override { return E_NOTIMPL; }

private:
    std::wstring uri_;
    bool user_;
    bool handled_ = false;
    Ref<ICoreWebView2> newWindow_;
};

class WebResourceRequest : public ComObject<ICoreWebView2WebResourceRequest> {
public:
    explicit WebResourceRequest(const std::wstring& uri) : ComObject(IID_ICoreWebView2WebResourceRequest), uri_(uri) {}

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return ReturnString(uri_, uri); }
    HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override {
        if (!uri) return E_INVALIDARG;
        uri_ = uri;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override { return ReturnString(method_, method); }
    HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override {
        if (!method) return E_INVALIDARG;
        method_ = method;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override { return Out(content, nullptr); }
    HRESULT STDMETHODCALLTYPE put_Content(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders**) override { return E_NOTIMPL; }

private:
    std::wstring uri_, method_ = L"GET";
};

class WebResourceResponse : public ComObject<ICoreWebView2WebResourceResponse> {
public:
    WebResourceResponse(IStream* content, int status, const std::wstring& reason)
        : ComObject(IID_ICoreWebView2WebResourceResponse), content_(content), status_(status), reason_(reason) {}

    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override { return OutRef(content, content_.get()); }
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override {
        content_ = content;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StatusCode(int* status) override { return Out(status, status_); }
    HRESULT STDMETHODCALLTYPE put_StatusCode(int status) override {
        status_ = status;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reason) override { return ReturnString(reason_, reason); }
    HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reason) override {
        if (!reason) return E_INVALIDARG;
        reason_ = reason;
        return S_OK;
    }

private:
    Ref<IStream> content_;
    int status_;
    std::wstring reason_;
};

class WebResourceRequestedArgs : public ComObject<ICoreWebView2WebResourceRequestedEventArgs> {
public:
    WebResourceRequestedArgs(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context)
        : ComObject(IID_ICoreWebView2WebResourceRequestedEventArgs),
          request_(Ref<WebResourceRequest>::Adopt(new WebResourceRequest(uri))),
          context_(context) {}
    ICoreWebView2WebResourceResponse* response() const { return response_.get(); }

    HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override {
        return OutRef<ICoreWebView2WebResourceRequest>(request, request_.get());
    }
    HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override {
        return OutRef(response, response_.get());
    }
    HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override {
        response_ = response;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override {
        return Out(context, context_);
    }

private:
    Ref<WebResourceRequest> request_;
    Ref<ICoreWebView2WebResourceResponse> response_;
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT context_;
};

class AcceleratorKeyArgs : public ComObject<ICoreWebView2AcceleratorKeyPressedEventArgs> {
public:
    AcceleratorKeyArgs(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT key, LPARAM lParam)
        : ComObject(IID_ICoreWebView2AcceleratorKeyPressedEventArgs), kind_(kind), key_(key), lParam_(lParam) {}
    bool handled() const { return handled_; }

    HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* kind) override { return Out(kind, kind_); }
    HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* key) override { return Out(key, key_); }
    HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) override {
        return Out(lParam, static_cast<INT>(lParam_));
    }
    HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* status) override {
        if (!status) return E_POINTER;
        status->RepeatCount = static_cast<UINT32>(lParam_ & 0xFFFF);
        status->ScanCode = static_cast<UINT32>((lParam_ >> 16) & 0xFF);
        status->IsExtendedKey = (lParam_ >> 24) & 1;
        status->IsMenuKeyDown = (lParam_ >> 29) & 1;
        status->WasKeyDown = (lParam_ >> 30) & 1;
        status->IsKeyReleased = (lParam_ >> 31) & 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override { return Out(handled, handled_); }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override {
        handled_ = handled != FALSE;
        return S_OK;
    }

private:
    COREWEBVIEW2_KEY_EVENT_KIND kind_;
    UINT key_;
    LPARAM lParam_;
    bool handled_ = false;
};

class BasicAuthenticationResponse : public ComObject<ICoreWebView2BasicAuthenticationResponse> {
public:
    BasicAuthenticationResponse() : ComObject(IID_ICoreWebView2BasicAuthenticationResponse) {}
    const std::wstring& userName() const { return userName_; }
    const std::wstring& password() const { return password_; }

    HRESULT STDMETHODCALLTYPE get_UserName(LPWSTR* value) override { return ReturnString(userName_, value); }
    HRESULT STDMETHODCALLTYPE put_UserName(LPCWSTR value) override { return Put(value, &userName_); }
    HRESULT STDMETHODCALLTYPE get_Password(LPWSTR* value) override { return ReturnString(password_, value); }
    HRESULT STDMETHODCALLTYPE put_Password(LPCWSTR value) override { return Put(value, &password_); }

private:
    static HRESULT Put(LPCWSTR value, std::wstring* field) {
        if (!value) return E_INVALIDARG;
        *field = value;
        return S_OK;
    }
    std::wstring userName_, password_;
};

class BasicAuthenticationRequestedArgs : public CancellableArgs<ICoreWebView2BasicAuthenticationRequestedEventArgs> {
public:
    BasicAuthenticationRequestedArgs(const std::wstring& uri, const std::wstring& challenge)
        : CancellableArgs(IID_ICoreWebView2BasicAuthenticationRequestedEventArgs),
          uri_(uri),
          challenge_(challenge),
          response_(Ref<BasicAuthenticationResponse>::Adopt(new BasicAuthenticationResponse())) {}
    const BasicAuthenticationResponse& response() const { return *response_.get(); }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* value) override { return ReturnString(uri_, value); }
    HRESULT STDMETHODCALLTYPE get_Challenge(LPWSTR* value) override { return ReturnString(challenge_, value); }
    HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2BasicAuthenticationResponse** value) override {
        return OutRef<ICoreWebView2BasicAuthenticationResponse>(value, response_.get());
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }

private:
    std::wstring uri_, challenge_;
    Ref<BasicAuthenticationResponse> response_;
};

class ServerCertificateErrorArgs : public ComObject<ICoreWebView2ServerCertificateErrorDetectedEventArgs> {
public:
    ServerCertificateErrorArgs(const std::wstring& uri, COREWEBVIEW2_WEB_ERROR_STATUS status)
        : ComObject(IID_ICoreWebView2ServerCertificateErrorDetectedEventArgs), uri_(uri), status_(status) {}
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION action() const { return action_; }

    HRESULT STDMETHODCALLTYPE get_ErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) override {
        return Out(value, status_);
    }
    HRESULT STDMETHODCALLTYPE get_RequestUri(LPWSTR* value) override { return ReturnString(uri_, value); }
    HRESULT STDMETHODCALLTYPE get_ServerCertificate(ICoreWebView2Certificate** value) override {
        return Out(value, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION* value) override {
        return Out(value, action_);
    }
    HRESULT STDMETHODCALLTYPE put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION value) override {
        if (value < COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW ||
            value > COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT)
            return E_INVALIDARG;
        action_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }

private:
    std::wstring uri_;
    COREWEBVIEW2_WEB_ERROR_STATUS status_;
    COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION action_ = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT;
};

// A deferral a handler took: Complete lets the engine carry out the answer,
// later, from the message loop.
class Deferral : public ComObject<ICoreWebView2Deferral> {
public:
    explicit Deferral(std::function<void()> completed)
        : ComObject(IID_ICoreWebView2Deferral), completed_(std::move(completed)) {}

    HRESULT STDMETHODCALLTYPE Complete() override {
        if (!completed_) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
        PostTask(std::move(completed_));
        completed_ = nullptr;
        return S_OK;
    }

private:
    std::function<void()> completed_;
};

// Arguments whose answer a handler may defer. The engine gives Settle what
// carries the answer out, once the handlers have returned; it runs then, or
// when the last deferral they took completes. A deferral never completed
// leaves the page waiting, as a prompt nobody answers does, and holds
// nothing of the engine's.
template <class I>
class DeferrableArgs : public ComObject<I> {
public:
    using ComObject<I>::ComObject;

    void Settle(std::function<void()> answer) {
        answer_ = std::move(answer);
        settling_ = true;
        Finish();
    }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override {
        if (!deferral) return E_POINTER;
        if (done_) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
        ++open_;
        Ref<DeferrableArgs> self(this);
        *deferral = new Deferral([self] {
            --self->open_;
            self->Finish();
        });
        return S_OK;
    }

private:
    void Finish() {
        if (!settling_ || open_ > 0 || done_) return;
        done_ = true;
        std::function<void()> answer = std::move(answer_);
        answer();
    }

    std::function<void()> answer_;
    int open_ = 0;
    bool settling_ = false, done_ = false;
};

class PermissionRequestedArgs : public DeferrableArgs<ICoreWebView2PermissionRequestedEventArgs3> {
public:
    PermissionRequestedArgs(const std::wstring& uri, COREWEBVIEW2_PERMISSION_KIND kind, bool userInitiated)
        : DeferrableArgs({&IID_ICoreWebView2PermissionRequestedEventArgs, &IID_ICoreWebView2PermissionRequestedEventArgs2,
                          &IID_ICoreWebView2PermissionRequestedEventArgs3}),
          uri_(uri),
          kind_(kind),
          user_(userInitiated) {}
    COREWEBVIEW2_PERMISSION_STATE state() const { return state_; }
    bool savesInProfile() const { return saves_; }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override { return ReturnString(uri_, uri); }
    HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* kind) override { return Out(kind, kind_); }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override { return Out(value, user_); }
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) override { return Out(state, state_); }
    HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) override {
        if (state < COREWEBVIEW2_PERMISSION_STATE_DEFAULT || state > COREWEBVIEW2_PERMISSION_STATE_DENY)
            return E_INVALIDARG;
        state_ = state;
        return S_OK;
    }
    // There are no frame objects whose handlers run first: Handled changes nothing.
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override { return Out(handled, handled_); }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override {
        handled_ = handled != FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_SavesInProfile(BOOL* value) override { return Out(value, saves_); }
    HRESULT STDMETHODCALLTYPE put_SavesInProfile(BOOL value) override {
        saves_ = value != FALSE;
        return S_OK;
    }

private:
    std::wstring uri_;
    COREWEBVIEW2_PERMISSION_KIND kind_;
    bool user_, handled_ = false, saves_ = true;
    COREWEBVIEW2_PERMISSION_STATE state_ = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
};

class NotificationReceivedArgs : public DeferrableArgs<ICoreWebView2NotificationReceivedEventArgs> {
public:
    NotificationReceivedArgs(const std::wstring& senderOrigin, ICoreWebView2Notification* notification)
        : DeferrableArgs(IID_ICoreWebView2NotificationReceivedEventArgs),
          origin_(senderOrigin),
          notification_(notification) {}
    bool handled() const { return handled_; }

    HRESULT STDMETHODCALLTYPE get_SenderOrigin(LPWSTR* value) override { return ReturnString(origin_, value); }
    HRESULT STDMETHODCALLTYPE get_Notification(ICoreWebView2Notification** value) override {
        return OutRef(value, notification_.get());
    }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) override {
        handled_ = value != FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) override { return Out(value, handled_); }

private:
    std::wstring origin_;
    Ref<ICoreWebView2Notification> notification_;
    bool handled_ = false;
};

// A dialog of the page's script, raised while the runtime's own dialogs are
// off: Accept is OK or Leave, with the ResultText a prompt gives back.
class ScriptDialogOpeningArgs : public DeferrableArgs<ICoreWebView2ScriptDialogOpeningEventArgs> {
public:
    ScriptDialogOpeningArgs(COREWEBVIEW2_SCRIPT_DIALOG_KIND kind, const std::wstring& uri, const std::wstring& message,
                            const std::wstring& defaultText)
        : DeferrableArgs(IID_ICoreWebView2ScriptDialogOpeningEventArgs),
          kind_(kind),
          uri_(uri),
          message_(message),
          defaultText_(defaultText) {}
    bool accepted() const { return accepted_; }
    const std::wstring& resultText() const { return resultText_; }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* value) override { return ReturnString(uri_, value); }
    HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND* value) override { return Out(value, kind_); }
    HRESULT STDMETHODCALLTYPE get_Message(LPWSTR* value) override { return ReturnString(message_, value); }
    HRESULT STDMETHODCALLTYPE Accept() override {
        accepted_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_DefaultText(LPWSTR* value) override { return ReturnString(defaultText_, value); }
    HRESULT STDMETHODCALLTYPE get_ResultText(LPWSTR* value) override { return ReturnString(resultText_, value); }
    HRESULT STDMETHODCALLTYPE put_ResultText(LPCWSTR value) override {
        if (!value) return E_INVALIDARG;
        resultText_ = value;
        return S_OK;
    }

private:
    COREWEBVIEW2_SCRIPT_DIALOG_KIND kind_;
    std::wstring uri_, message_, defaultText_, resultText_;
    bool accepted_ = false;
};
