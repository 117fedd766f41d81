// A profile of a user-data folder as the runtime keeps one: its name, its
// folder, and the permission states it keeps for sites, which outlive the
// program (a line "<kind> allow|deny <origin>" each in its permissions.txt).
// Every view made with it shares it and hears when a state changes; its face
// is ICoreWebView2Profile to ICoreWebView2Profile4, whole.
#pragma once

#include "engines/common/engine.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class Browser;

class Profile : public ComObject<ICoreWebView2Profile4> {
public:
    // userDataFolder "" keeps nothing on disk.
    Profile(const std::wstring& userDataFolder, std::wstring name);

    // A view made with this profile: it hears of every state set from now on.
    void AddView(const std::shared_ptr<Browser>& view);
    // The origins ("scheme://host[:port]/") kept for kind: true for allowed.
    std::vector<std::pair<std::wstring, bool>> Kept(COREWEBVIEW2_PERMISSION_KIND kind) const;
    // Keeps state for origin and kind (DEFAULT: keeps none); false when there
    // is no folder to keep it in, or it could not be written.
    bool Keep(COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin, COREWEBVIEW2_PERMISSION_STATE state);

    HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL* value) override { return Out(value, FALSE); }
    HRESULT STDMETHODCALLTYPE get_ProfilePath(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_DefaultDownloadFolderPath(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_DefaultDownloadFolderPath(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_PreferredColorScheme(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_PreferredColorScheme(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearBrowsingData(int, ICoreWebView2ClearBrowsingDataCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearBrowsingDataInTimeRange(int, double, double,
                                                           ICoreWebView2ClearBrowsingDataCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearBrowsingDataAll(ICoreWebView2ClearBrowsingDataCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_PreferredTrackingPreventionLevel(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_PreferredTrackingPreventionLevel(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPermissionState(COREWEBVIEW2_PERMISSION_KIND kind, LPCWSTR origin,
                                                 COREWEBVIEW2_PERMISSION_STATE state,
                                                 ICoreWebView2SetPermissionStateCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE
    GetNonDefaultPermissionSettings(ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler*) override {
        return E_NOTIMPL;
    }

private:
    std::wstring name_;
    std::wstring folder_;  // "" keeps nothing
    std::vector<std::weak_ptr<Browser>> views_;
};
