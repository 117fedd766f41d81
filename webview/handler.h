// The COM objects through which the engine reports completions and events.
// Handler<I, F> is the IUnknown part for one WebView2 handler interface I and
// holds a capture-less lambda F; each of the classes below adds only the
// interface's Invoke and forwards it, arguments unchanged, to the lambda.
//
// Objects are made with new, count 1, and handed straight to the engine
// through Give, which lets go of that first reference once the engine has
// taken its own: a handler lives as long as the engine may call it, and a
// closed view's handlers go with it.
#pragma once

#include <atomic>

#include "webview/engine.h"

template <typename I, typename F>
class Handler : public I {
public:
    Handler(F body, const IID& iid) : body_(body), iid_(&iid) {}
    virtual ~Handler() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *iid_)) {
            *object = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG count = --count_;
        if (count == 0) delete this;
        return count;
    }

protected:
    F body_;

private:
    std::atomic<ULONG> count_{1};
    const IID* iid_;
};

template <typename H>
struct Given {
    H* handler;
    operator H*() const { return handler; }
    ~Given() { handler->Release(); }
};

// For the engine call the expression is part of: the temporary lets go of
// the creator's reference when the call has returned.
template <typename H>
Given<H> Give(H* handler) {
    return {handler};
}

template <typename F>
struct OnEnv_ : Handler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, F> {
    explicit OnEnv_(F body) : OnEnv_::Handler(body, IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error, ICoreWebView2Environment* env) override {
        return this->body_(error, env);
    }
};

template <typename F>
struct OnCtl_ : Handler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, F> {
    explicit OnCtl_(F body) : OnCtl_::Handler(body, IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error, ICoreWebView2Controller* controller) override {
        return this->body_(error, controller);
    }
};

template <typename F>
struct OnNewWin_ : Handler<ICoreWebView2NewWindowRequestedEventHandler, F> {
    explicit OnNewWin_(F body) : OnNewWin_::Handler(body, IID_ICoreWebView2NewWindowRequestedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnNav_ : Handler<ICoreWebView2NavigationStartingEventHandler, F> {
    explicit OnNav_(F body) : OnNav_::Handler(body, IID_ICoreWebView2NavigationStartingEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnRes_ : Handler<ICoreWebView2WebResourceRequestedEventHandler, F> {
    explicit OnRes_(F body) : OnRes_::Handler(body, IID_ICoreWebView2WebResourceRequestedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2WebResourceRequestedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnFull_ : Handler<ICoreWebView2ContainsFullScreenElementChangedEventHandler, F> {
    explicit OnFull_(F body)
        : OnFull_::Handler(body, IID_ICoreWebView2ContainsFullScreenElementChangedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnDone_ : Handler<ICoreWebView2NavigationCompletedEventHandler, F> {
    explicit OnDone_(F body) : OnDone_::Handler(body, IID_ICoreWebView2NavigationCompletedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnKey_ : Handler<ICoreWebView2AcceleratorKeyPressedEventHandler, F> {
    explicit OnKey_(F body) : OnKey_::Handler(body, IID_ICoreWebView2AcceleratorKeyPressedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender,
                                     ICoreWebView2AcceleratorKeyPressedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnProcFail_ : Handler<ICoreWebView2ProcessFailedEventHandler, F> {
    explicit OnProcFail_(F body) : OnProcFail_::Handler(body, IID_ICoreWebView2ProcessFailedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ProcessFailedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnLoading_ : Handler<ICoreWebView2ContentLoadingEventHandler, F> {
    explicit OnLoading_(F body) : OnLoading_::Handler(body, IID_ICoreWebView2ContentLoadingEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnSource_ : Handler<ICoreWebView2SourceChangedEventHandler, F> {
    explicit OnSource_(F body) : OnSource_::Handler(body, IID_ICoreWebView2SourceChangedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnAuth_ : Handler<ICoreWebView2BasicAuthenticationRequestedEventHandler, F> {
    explicit OnAuth_(F body) : OnAuth_::Handler(body, IID_ICoreWebView2BasicAuthenticationRequestedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                     ICoreWebView2BasicAuthenticationRequestedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnCertError_ : Handler<ICoreWebView2ServerCertificateErrorDetectedEventHandler, F> {
    explicit OnCertError_(F body)
        : OnCertError_::Handler(body, IID_ICoreWebView2ServerCertificateErrorDetectedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                     ICoreWebView2ServerCertificateErrorDetectedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnDownload_ : Handler<ICoreWebView2DownloadStartingEventHandler, F> {
    explicit OnDownload_(F body) : OnDownload_::Handler(body, IID_ICoreWebView2DownloadStartingEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2DownloadStartingEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnSaveAs_ : Handler<ICoreWebView2SaveAsUIShowingEventHandler, F> {
    explicit OnSaveAs_(F body) : OnSaveAs_::Handler(body, IID_ICoreWebView2SaveAsUIShowingEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2SaveAsUIShowingEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnLaunch_ : Handler<ICoreWebView2LaunchingExternalUriSchemeEventHandler, F> {
    explicit OnLaunch_(F body) : OnLaunch_::Handler(body, IID_ICoreWebView2LaunchingExternalUriSchemeEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                     ICoreWebView2LaunchingExternalUriSchemeEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnPermission_ : Handler<ICoreWebView2PermissionRequestedEventHandler, F> {
    explicit OnPermission_(F body) : OnPermission_::Handler(body, IID_ICoreWebView2PermissionRequestedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2PermissionRequestedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnTitle_ : Handler<ICoreWebView2DocumentTitleChangedEventHandler, F> {
    explicit OnTitle_(F body) : OnTitle_::Handler(body, IID_ICoreWebView2DocumentTitleChangedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnNotification_ : Handler<ICoreWebView2NotificationReceivedEventHandler, F> {
    explicit OnNotification_(F body)
        : OnNotification_::Handler(body, IID_ICoreWebView2NotificationReceivedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2NotificationReceivedEventArgs* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnFavicon_ : Handler<ICoreWebView2GetFaviconCompletedHandler, F> {
    explicit OnFavicon_(F body) : OnFavicon_::Handler(body, IID_ICoreWebView2GetFaviconCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error, IStream* image) override { return this->body_(error, image); }
};

template <typename F>
struct OnPermissionState_ : Handler<ICoreWebView2SetPermissionStateCompletedHandler, F> {
    explicit OnPermissionState_(F body)
        : OnPermissionState_::Handler(body, IID_ICoreWebView2SetPermissionStateCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error) override { return this->body_(error); }
};

template <typename F>
struct OnPermissionSettings_ : Handler<ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler, F> {
    explicit OnPermissionSettings_(F body)
        : OnPermissionSettings_::Handler(body, IID_ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error, ICoreWebView2PermissionSettingCollectionView* settings) override {
        return this->body_(error, settings);
    }
};

template <typename F>
struct OnProfileDeleted_ : Handler<ICoreWebView2ProfileDeletedEventHandler, F> {
    explicit OnProfileDeleted_(F body)
        : OnProfileDeleted_::Handler(body, IID_ICoreWebView2ProfileDeletedEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Profile* sender, IUnknown* args) override {
        return this->body_(sender, args);
    }
};

template <typename F>
struct OnCleared_ : Handler<ICoreWebView2ClearBrowsingDataCompletedHandler, F> {
    explicit OnCleared_(F body) : OnCleared_::Handler(body, IID_ICoreWebView2ClearBrowsingDataCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error) override { return this->body_(error); }
};

template <typename F>
struct OnDialog_ : Handler<ICoreWebView2ScriptDialogOpeningEventHandler, F> {
    explicit OnDialog_(F body) : OnDialog_::Handler(body, IID_ICoreWebView2ScriptDialogOpeningEventHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, ICoreWebView2ScriptDialogOpeningEventArgs* args) override {
        return this->body_(sender, args);
    }
};
template <typename F>
struct OnSuspend_ : Handler<ICoreWebView2TrySuspendCompletedHandler, F> {
    explicit OnSuspend_(F body) : OnSuspend_::Handler(body, IID_ICoreWebView2TrySuspendCompletedHandler) {}
    HRESULT STDMETHODCALLTYPE Invoke(HRESULT error, BOOL isSuccessful) override {
        return this->body_(error, isSuccessful);
    }
};
