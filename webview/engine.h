// The WebView2 engine interface the program is written against: our own
// declarations by default, Microsoft's SDK header when the build is pointed
// at it (VELOTIDE_WEBVIEW2_SDK). Both define the same names and layouts.
#pragma once

#ifdef VELOTIDE_WEBVIEW2_SDK
#include <WebView2.h>
#else
#include "webview/webview2.h"
#endif

#include <string>

// A string the engine handed out (an LPWSTR out value), copied and freed at
// once; null, as a failed getter leaves it, gives the empty string.
inline std::wstring TakeEngineString(LPWSTR text) {
    std::wstring copy = text ? text : L"";
    if (text) CoTaskMemFree(text);
    return copy;
}

// object as the newer interface I (iid), or null where the runtime is older.
// One function for every interface asked, the type added only at the call.
inline void* NewerOf(IUnknown* object, const IID& iid) {
    void* newer = nullptr;
    if (!object || FAILED(object->QueryInterface(iid, &newer))) return nullptr;
    return newer;
}
template <typename I>
I* AsNewer(IUnknown* object, const IID& iid) {
    return static_cast<I*>(NewerOf(object, iid));
}

// The view's profile as the interface iid names (ICoreWebView2Profile4, ...),
// with a reference of the caller's own; null where the runtime has none.
inline void* ViewProfileAs(ICoreWebView2* view, const IID& iid) {
    ICoreWebView2_13* view13 = AsNewer<ICoreWebView2_13>(view, IID_ICoreWebView2_13);
    ICoreWebView2Profile* profile = nullptr;
    void* wanted = nullptr;
    if (view13 && SUCCEEDED(view13->get_Profile(&profile)) && profile) profile->QueryInterface(iid, &wanted);
    if (profile) profile->Release();
    if (view13) view13->Release();
    return wanted;
}
