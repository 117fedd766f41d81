// For tests that load an engine and drive it as velotide.exe would: the
// engine's export, and WebView2 handler objects whose Invoke runs a function.
#pragma once

#include <functional>

#include "webview/engine.h"

template <class I, class S, class A>
class Callback : public I {
public:
    Callback(const IID& iid, std::function<void(S, A)> fn) : iid_(iid), fn_(std::move(fn)) {}
    virtual ~Callback() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        *out = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, iid_) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE Invoke(S sender, A args) override {
        fn_(sender, args);
        return S_OK;
    }

private:
    ULONG refs_ = 1;
    const IID& iid_;
    std::function<void(S, A)> fn_;
};


using CreateFn = HRESULT(__stdcall*)(bool, int, PCWSTR, IUnknown*,
                                     ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
using EnvDone =
    Callback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, HRESULT, ICoreWebView2Environment*>;
using CtlDone = Callback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, HRESULT, ICoreWebView2Controller*>;

// The events of a page kept open: permissions, notifications, its title and its icon.
using OnPermission = Callback<ICoreWebView2PermissionRequestedEventHandler, ICoreWebView2*,
                              ICoreWebView2PermissionRequestedEventArgs*>;
using OnNotification = Callback<ICoreWebView2NotificationReceivedEventHandler, ICoreWebView2*,
                                ICoreWebView2NotificationReceivedEventArgs*>;
using OnTitleChange = Callback<ICoreWebView2DocumentTitleChangedEventHandler, ICoreWebView2*, IUnknown*>;
using OnFavicon = Callback<ICoreWebView2FaviconChangedEventHandler, ICoreWebView2*, IUnknown*>;
using FaviconDone = Callback<ICoreWebView2GetFaviconCompletedHandler, HRESULT, IStream*>;
