#include "engines/chromium/keys.h"

#include "engines/chromium/devtools.h"

namespace {

const struct {
    UINT key;
    const char* name;
} kNamedKeys[] = {
    {VK_BACK, "Backspace"},  {VK_TAB, "Tab"},          {VK_RETURN, "Enter"},      {VK_SHIFT, "Shift"},
    {VK_CONTROL, "Control"}, {VK_MENU, "Alt"},         {VK_PAUSE, "Pause"},       {VK_CAPITAL, "CapsLock"},
    {VK_ESCAPE, "Escape"},   {VK_PRIOR, "PageUp"},     {VK_NEXT, "PageDown"},     {VK_END, "End"},
    {VK_HOME, "Home"},       {VK_LEFT, "ArrowLeft"},   {VK_UP, "ArrowUp"},        {VK_RIGHT, "ArrowRight"},
    {VK_DOWN, "ArrowDown"},  {VK_INSERT, "Insert"},    {VK_DELETE, "Delete"},     {VK_LWIN, "Meta"},
    {VK_RWIN, "Meta"},       {VK_APPS, "ContextMenu"}, {VK_NUMLOCK, "NumLock"},   {VK_SCROLL, "ScrollLock"},
    {VK_LSHIFT, "Shift"},    {VK_RSHIFT, "Shift"},     {VK_LCONTROL, "Control"},  {VK_RCONTROL, "Control"},
    {VK_LMENU, "Alt"},       {VK_RMENU, "Alt"},        {VK_SNAPSHOT, "PrintScreen"},
};

}  // namespace

std::string DomKey(UINT virtualKey, HWND window) {
    for (const auto& named : kNamedKeys)
        if (named.key == virtualKey) return named.name;
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24) return "F" + std::to_string(virtualKey - VK_F1 + 1);
    // The character TranslateMessage made of this key, waiting in the queue:
    // asking the layout again (ToUnicode) would use up a dead key it holds.
    MSG typed;
    if (PeekMessageW(&typed, window, WM_CHAR, WM_DEADCHAR, PM_NOREMOVE) ||
        PeekMessageW(&typed, window, WM_SYSCHAR, WM_SYSDEADCHAR, PM_NOREMOVE)) {
        if (typed.message == WM_DEADCHAR || typed.message == WM_SYSDEADCHAR) return "Dead";
        if (typed.wParam >= 0x20) return Utf8(std::wstring(1, static_cast<wchar_t>(typed.wParam)));
    }
    // None (Ctrl held, say): the key's own character, in the case Shift gives.
    wchar_t base = static_cast<wchar_t>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_CHAR) & 0xFFFF);
    if (base < 0x20) return "Unidentified";
    bool upper = (GetKeyState(VK_SHIFT) < 0) != ((GetKeyState(VK_CAPITAL) & 1) != 0);
    if (!upper) base = towlower(base);
    return Utf8(std::wstring(1, base));
}

int DomModifiers() {
    return (GetKeyState(VK_MENU) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0 ? 4 : 0) | (GetKeyState(VK_SHIFT) < 0 ? 8 : 0);
}
