#include "engines/common/environment_face.h"

#include <cwchar>
#include <cwctype>

HRESULT ControllerOptions::put_ProfileName(LPCWSTR value) {
    // As the runtime: at most 64 characters of letters, digits, space and
    // #@$()+-_~. , not ending in "." or a space.
    if (!value) return E_INVALIDARG;
    std::wstring name = value;
    bool valid = name.size() <= 64 && (name.empty() || (name.back() != L'.' && name.back() != L' '));
    for (wchar_t c : name) valid = valid && (iswalnum(c) || wcschr(L" #@$()+-_~.", c));
    if (!valid) return E_INVALIDARG;
    options_.profileName = name;
    return S_OK;
}

EnvironmentFace::EnvironmentFace(std::wstring version, std::wstring userDataFolder)
    : ComObject({&IID_ICoreWebView2Environment, &IID_ICoreWebView2Environment2, &IID_ICoreWebView2Environment3,
                 &IID_ICoreWebView2Environment4, &IID_ICoreWebView2Environment5, &IID_ICoreWebView2Environment6,
                 &IID_ICoreWebView2Environment7, &IID_ICoreWebView2Environment8, &IID_ICoreWebView2Environment9,
                 &IID_ICoreWebView2Environment10}),
      version_(std::move(version)),
      userDataFolder_(std::move(userDataFolder)) {}

HRESULT EnvironmentFace::CreateCoreWebView2ControllerWithOptions(
    HWND parent, ICoreWebView2ControllerOptions* options, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
    ViewOptions wanted;
    if (options) {  // read through the interface: the program may hand in an object of its own
        LPWSTR name = nullptr;
        BOOL inPrivate = FALSE;
        if (FAILED(options->get_ProfileName(&name)) || FAILED(options->get_IsInPrivateModeEnabled(&inPrivate)))
            return E_INVALIDARG;
        wanted.profileName = name ? name : L"";
        if (name) CoTaskMemFree(name);
        wanted.inPrivate = inPrivate != FALSE;
    }
    // A profile deleted while its browser runs on can't be made again until it has gone.
    if (handler && !wanted.inPrivate && !wanted.profileName.empty() &&
        ProfileDeletionPending(userDataFolder_, wanted.profileName)) {
        Ref<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> done(handler);
        PostTask([done] {
            EngineLog(L"controller failed deletion pending");
            done->Invoke(HRESULT_FROM_WIN32(ERROR_DELETE_PENDING), nullptr);
        });
        return S_OK;
    }
    return CreateController(parent, wanted, handler);
}

Ref<Profile> EnvironmentFace::ProfileFor(const ViewOptions& options) {
    std::wstring name = options.profileName.empty() ? L"Default" : options.profileName;
    std::wstring key = name;
    for (wchar_t& c : key) c = towlower(c);  // names are case-insensitive
    Ref<Profile>& profile = (options.inPrivate ? inPrivateProfiles_ : profiles_)[key];
    if (!profile || (options.inPrivate && !profile->HasViews()))
        profile = Ref<Profile>::Adopt(new Profile(userDataFolder_, name, options.inPrivate));
    return profile;
}

std::wstring EnvironmentFace::CreatedLine(const ViewOptions& options) {
    std::wstring line = L"controller created";
    if (!options.profileName.empty()) line += L" profile " + options.profileName;
    if (options.inPrivate) line += L" inprivate";
    return line;
}
