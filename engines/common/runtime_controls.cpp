#include "engines/common/runtime_controls.h"

namespace {

bool Down(int key) { return GetKeyState(key) < 0; }

// A setting of the view, read through its settings object; on when it can't be read.
bool SettingOn(const Browser& b, HRESULT (STDMETHODCALLTYPE ICoreWebView2Settings3::*get)(BOOL*)) {
    ICoreWebView2Settings3* settings3 = nullptr;
    if (!b.settings ||
        FAILED(b.settings->QueryInterface(IID_ICoreWebView2Settings3, reinterpret_cast<void**>(&settings3))) ||
        !settings3)
        return true;
    BOOL on = TRUE;
    (settings3->*get)(&on);
    settings3->Release();
    return on != FALSE;
}

}  // namespace

const wchar_t* RuntimeKeyName(UINT message, WPARAM key) {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return nullptr;
    bool ctrl = Down(VK_CONTROL), alt = Down(VK_MENU), shift = Down(VK_SHIFT);
    if (ctrl && !alt) {
        switch (key) {
        case 'P': return L"print";
        case 'S': return L"save";
        case 'F': return L"find";
        case VK_OEM_PLUS: case VK_OEM_MINUS: case '0': case VK_ADD: case VK_SUBTRACT: case VK_NUMPAD0: return L"zoom";
        case 'I': case 'J': return shift ? L"devtools" : nullptr;
        }
        return nullptr;
    }
    if (alt && !ctrl && key == VK_LEFT) return L"back";
    if (alt && !ctrl && key == VK_RIGHT) return L"forward";
    if (ctrl || alt) return nullptr;
    switch (key) {
    case VK_F3: return L"find";
    case VK_F5: return L"reload";
    case VK_F12: return L"devtools";
    }
    return nullptr;
}

bool RuntimeKeysOn(const Browser& b) { return SettingOn(b, &ICoreWebView2Settings3::get_AreBrowserAcceleratorKeysEnabled); }

void RunRuntimeKey(Browser& b, UINT message, WPARAM key) {
    const wchar_t* name = RuntimeKeyName(message, key);
    if (!name || b.closed || !RuntimeKeysOn(b)) return;
    std::wstring which = name;
    // Developer tools open only where the view allows them.
    if (which == L"devtools" && !SettingOn(b, &ICoreWebView2Settings3::get_AreDevToolsEnabled)) return;
    EngineLog(L"runtime key " + which);
    if (which == L"back") b.GoToHistory(-1);
    if (which == L"forward") b.GoToHistory(1);
    if (which == L"reload") b.GoToHistory(0);
    if (which == L"save") RaiseSaveAsUIShowing(b);
}

void OpenContextMenu(Browser& b) {
    if (b.closed) return;
    EngineLog(SettingOn(b, &ICoreWebView2Settings3::get_AreDefaultContextMenusEnabled) ? L"context menu shown"
                                                                                       : L"context menu suppressed");
}
