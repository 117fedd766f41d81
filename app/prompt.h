// The modal prompt that asks for one line of text (the site's address, a
// site app's name, a page's prompt()) or only for OK or Cancel (the page's
// other dialogs): its own message loop, the system's message font, sized for
// its monitor's DPI.
#pragma once

#include <windows.h>

#include <string>

struct PromptTexts {
    const wchar_t* title;
    const wchar_t* label;   // as many lines as it takes ("&&" for one "&")
    const wchar_t* note;    // a line under the text: an example, say; "" for none
    const wchar_t* accept;  // the default button ("&&" for one "&")
    const wchar_t* cancel = L"Cancel";  // the other button; null for none
};

// Runs the prompt to its end with text in its field; true, with text as the
// person left it, when they accepted. False when they cancelled, or another prompt is open already.
// stillWanted, when given, is asked as the prompt's loop goes on: false
// ends it as cancelled (its question no longer stands).
bool AskForText(const PromptTexts& texts, std::wstring& text, bool (*stillWanted)() = nullptr);
// The same without a field to type in: true when the person accepted.
bool AskForAnswer(const PromptTexts& texts, bool (*stillWanted)() = nullptr);

// Site > Change site address: asks, validates, stores and opens.
void PromptForSiteAddress();

LRESULT CALLBACK PromptWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The owner for a message box: the prompt while it is open, so the box never
// hides under it (the prompt stays on top), else the main window.
HWND MessageBoxOwner();
