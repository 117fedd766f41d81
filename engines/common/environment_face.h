// The environment face as every engine of ours has it, with its whole chain
// up to ICoreWebView2Environment10: responses for WebResourceRequested
// handlers, the version, and views made with or without options (a profile
// of their own, InPrivate); each engine makes its controllers its own way.
#pragma once

#include "engines/common/args.h"
#include "engines/common/profile.h"

#include <map>

// What a new view is made with (ICoreWebView2ControllerOptions).
struct ViewOptions {
    std::wstring profileName;  // "" for the default profile
    bool inPrivate = false;
};

// The options object a program fills in before it asks for a view.
class ControllerOptions : public ComObject<ICoreWebView2ControllerOptions> {
public:
    ControllerOptions() : ComObject(IID_ICoreWebView2ControllerOptions) {}
    const ViewOptions& options() const { return options_; }

    HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR* value) override { return ReturnString(options_.profileName, value); }
    HRESULT STDMETHODCALLTYPE put_ProfileName(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL* value) override { return Out(value, options_.inPrivate); }
    HRESULT STDMETHODCALLTYPE put_IsInPrivateModeEnabled(BOOL value) override {
        options_.inPrivate = value != FALSE;
        return S_OK;
    }

private:
    ViewOptions options_;
};

#define VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED(method, parameters) \
    HRESULT STDMETHODCALLTYPE method parameters override { return E_NOTIMPL; }

class EnvironmentFace : public ComObject<ICoreWebView2Environment10> {
public:
    EnvironmentFace(std::wstring version, std::wstring userDataFolder);

    // Makes a view in parent as options say, and completes later through handler.
    virtual HRESULT CreateController(HWND parent, const ViewOptions& options,
                                     ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parent, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override {
        return CreateController(parent, ViewOptions(), handler);
    }
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

    VELOTIDE_ENVIRONMENT_2_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)
    VELOTIDE_ENVIRONMENT_3_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)
    VELOTIDE_ENVIRONMENT_4_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)
    VELOTIDE_ENVIRONMENT_5_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)
    VELOTIDE_ENVIRONMENT_6_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)
    HRESULT STDMETHODCALLTYPE get_UserDataFolder(LPWSTR* folder) override { return ReturnString(userDataFolder_, folder); }
    VELOTIDE_ENVIRONMENT_8_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)
    VELOTIDE_ENVIRONMENT_9_METHODS(VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED)

    // ICoreWebView2Environment10
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2ControllerOptions(ICoreWebView2ControllerOptions** options) override {
        if (!options) return E_POINTER;
        *options = new ControllerOptions;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2ControllerWithOptions(
        HWND parent, ICoreWebView2ControllerOptions* options,
        ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionControllerWithOptions(HWND, ICoreWebView2ControllerOptions*,
                                                                                  IUnknown*) override {
        return E_NOTIMPL;  // the engines have windowed views only
    }

protected:
    // The profile a view is made with: the default one ("Default") or one
    // named, each shared by every view made with it and keeping its files in
    // <user-data folder>\EBWebView\<name>; an InPrivate one keeps nothing
    // on disk and is new once the last of its views has closed.
    Ref<Profile> ProfileFor(const ViewOptions& options);
    // The log's line for a view made: "controller created", then
    // " profile <name>" and " inprivate" as the options say.
    static std::wstring CreatedLine(const ViewOptions& options);

private:
    std::wstring version_, userDataFolder_;
    std::map<std::wstring, Ref<Profile>> profiles_, inPrivateProfiles_;  // by name in lower case
};

#undef VELOTIDE_ENVIRONMENT_NOT_IMPLEMENTED
