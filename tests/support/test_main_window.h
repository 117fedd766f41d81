// The program's real main window, created once per test process and kept:
// destroying it would post a WM_QUIT into the tests' message queue. Each call
// points g_app at it and its menu bar again.
#pragma once

#include <windows.h>

#include "app/app_state.h"
#include "app/main_window.h"

inline HWND TestMainWindow() {
    static HMENU menu = nullptr;
    static HWND window = [] {
        g_app.instance = GetModuleHandleW(nullptr);
        RegisterMainWindowClass();
        menu = g_app.menuBar = BuildMenuBar();
        HWND created = CreateMainWindow();
        ShowWindow(created, SW_SHOWNORMAL);
        return created;
    }();
    g_app.instance = GetModuleHandleW(nullptr);
    g_app.menuBar = menu;
    g_app.mainWindow = window;
    return window;
}
