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

std::string DomKey(UINT virtualKey, UINT scanCode, const BYTE keyState[256]) {
    for (const auto& named : kNamedKeys)
        if (named.key == virtualKey) return named.name;
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24) return "F" + std::to_string(virtualKey - VK_F1 + 1);
    // What the key types without Ctrl; AltGr (Ctrl with Alt) stays, as it picks the character.
    BYTE state[256];
    memcpy(state, keyState, sizeof state);
    if (!(state[VK_MENU] & 0x80)) state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_RCONTROL] = 0;
    wchar_t typed[4];
    int count = ToUnicode(virtualKey, scanCode, state, typed, 4, 0);
    if (count < 0) ToUnicode(virtualKey, scanCode, state, typed, 4, 0);  // clear the dead key it left behind
    return count > 0 && typed[0] >= 0x20 ? Utf8(std::wstring(typed, count)) : "Unidentified";
}

int DomModifiers() {
    return (GetKeyState(VK_MENU) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0 ? 4 : 0) | (GetKeyState(VK_SHIFT) < 0 ? 8 : 0);
}
