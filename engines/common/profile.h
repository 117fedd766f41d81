// A profile of a user-data folder as the runtime keeps one: its name, its
// folder, and the permission states it keeps for sites, which outlive the
// program (a line "<kind> allow|deny <origin>" each in its permissions.txt);
// an InPrivate one keeps them in memory only, for as long as it lives.
// Every view made with it shares it and hears when a state changes; its face
// is ICoreWebView2Profile to ICoreWebView2Profile8, whole. Deleted, its views
// close, and its folder goes once no browser of its user-data folder needs it
// (the engine says when: RemoveDeletedProfiles).
#pragma once

#include "engines/common/engine.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class Browser;

class Profile : public ComObject<ICoreWebView2Profile8> {
public:
    // userDataFolder "" keeps nothing on disk, nor does an InPrivate profile.
    Profile(const std::wstring& userDataFolder, std::wstring name, bool inPrivate = false);

    // A view made with this profile: it hears of every state set from now on.
    void AddView(const std::shared_ptr<Browser>& view);
    // Whether a view of it is still open.
    bool HasViews() const;
    // Where it keeps its files ("" for none), made when it is not there yet;
    // and whether it was deleted.
    const std::wstring& folder() const { return folder_; }
    void MakeFolder() const;
    bool deleted() const { return deleted_; }
    // The origins ("scheme://host[:port]/") kept for kind: true for allowed.
    std::vector<std::pair<std::wstring, bool>> Kept(COREWEBVIEW2_PERMISSION_KIND kind) const;
    // Keeps state for origin and kind (DEFAULT: keeps none); false when there
    // is no folder to keep it in, or it could not be written.
    bool Keep(COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin, COREWEBVIEW2_PERMISSION_STATE state);

    HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL* value) override { return Out(value, inPrivate_); }
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
    HRESULT STDMETHODCALLTYPE ClearBrowsingDataAll(ICoreWebView2ClearBrowsingDataCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE get_PreferredTrackingPreventionLevel(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_PreferredTrackingPreventionLevel(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPermissionState(COREWEBVIEW2_PERMISSION_KIND kind, LPCWSTR origin,
                                                 COREWEBVIEW2_PERMISSION_STATE state,
                                                 ICoreWebView2SetPermissionStateCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE
    GetNonDefaultPermissionSettings(ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler* handler) override;
    // ICoreWebView2Profile5 to 7: cookies, autofill and extensions are not the engines'.
    HRESULT STDMETHODCALLTYPE get_CookieManager(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsPasswordAutosaveEnabled(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_IsPasswordAutosaveEnabled(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsGeneralAutofillEnabled(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_IsGeneralAutofillEnabled(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddBrowserExtension(LPCWSTR, IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBrowserExtensions(IUnknown*) override { return E_NOTIMPL; }
    // ICoreWebView2Profile8
    HRESULT STDMETHODCALLTYPE Delete() override;
    HRESULT STDMETHODCALLTYPE add_Deleted(ICoreWebView2ProfileDeletedEventHandler* handler,
                                          EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_Deleted(EventRegistrationToken token) override;

private:
    // What permissions.txt holds, or an InPrivate profile in its stead.
    std::string StatesText() const;

    std::wstring name_;
    std::wstring folder_;  // "" keeps nothing on disk
    bool inPrivate_;
    std::string inMemory_;  // an InPrivate profile's states, as permissions.txt would hold them
    std::vector<std::weak_ptr<Browser>> views_;
    bool deleted_ = false;
    std::vector<std::pair<__int64, Ref<ICoreWebView2ProfileDeletedEventHandler>>> deletedHandlers_;
    __int64 nextToken_ = 1;
};

// Whether the profile name of userDataFolder was deleted and its folder has
// not gone yet: until it has, no view of that name can be made.
bool ProfileDeletionPending(const std::wstring& userDataFolder, const std::wstring& name);

// The folders of the profiles of userDataFolder that were deleted go, where
// nothing holds their files any more; those that can't stay listed for the
// next time. "profile folder removed <name>" for each that went.
void RemoveDeletedProfiles(const std::wstring& userDataFolder);
