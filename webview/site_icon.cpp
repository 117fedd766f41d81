#include "webview/site_icon.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/view_notices.h"

// No site's icon is this big; a larger stream is not an icon to keep.
static const ULONG kMaxIconBytes = 4 * 1024 * 1024;

static std::string ReadStream(IStream* stream) {
    std::string bytes;
    char buffer[16384];
    ULONG read = 0;
    while (bytes.size() <= kMaxIconBytes && SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read)
        bytes.append(buffer, read);
    return bytes.size() <= kMaxIconBytes ? bytes : std::string();
}

void FetchSiteIcon() {
    g_app.siteIconPng.clear();
    auto view15 = AsNewer<ICoreWebView2_15>(g_app.webview, IID_ICoreWebView2_15);
    if (!view15 ||
        FAILED(view15->GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG,
                                  Give(new OnFavicon_([](HRESULT error, IStream* image) -> HRESULT {
                                      // Kept only while an app waits for it.
                                      if (SUCCEEDED(error) && image && !g_app.newAppName.empty())
                                          g_app.siteIconPng = ReadStream(image);
                                      PostViewNotice(kNoticeSiteIcon);
                                      return S_OK;
                                  }))))) {
        PostViewNotice(kNoticeSiteIcon);  // none to be had: the program's own
    }
    if (view15) view15->Release();
}
