#include "app/prompt.h"
// placeholder until the prompt lands
void PromptForSiteAddress() {}
LRESULT CALLBACK PromptWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
