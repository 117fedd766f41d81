// A WebView2 handler object for tests: its Invoke runs a function.
#pragma once

#include <functional>

#include "webview/webview2.h"

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

