// The environment face as every engine of ours has it: responses for
// WebResourceRequested handlers and the version; each engine makes its
// controllers its own way.
#pragma once

#include "engines/common/args.h"

class EnvironmentFace : public ComObject<ICoreWebView2Environment> {
public:
    explicit EnvironmentFace(std::wstring version) : ComObject(IID_ICoreWebView2Environment), version_(version) {}

    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int status, LPCWSTR reason, LPCWSTR,
                                                        ICoreWebView2WebResourceResponse** response) override {
        if (!response) return E_POINTER;
        *response = new WebResourceResponse(content, status, reason ? reason : L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* version) override {
        return ReturnString(version_, version);
    }
    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler*,
                                                             EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken) override { return E_NOTIMPL; }

private:
    std::wstring version_;
};
