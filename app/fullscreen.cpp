#include "app/fullscreen.h"
// placeholder until fullscreen lands
void SetFullscreen(bool) {}
HRESULT OnPageFullscreenChanged(ICoreWebView2*) { return S_OK; }
