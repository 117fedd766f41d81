// Our engines (engines/test, engines/chromium) as the program meets them:
// installed where a WebView2 Runtime would be, the log read back, control
// commands sent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The built EmbeddedBrowserWebView.dll of the test engine, and of the Chromium engine.
std::wstring TestEngineDllPath();
std::wstring ChromiumEngineDllPath();
// "127.0.0.1:PORT" of the Chromium the test fixture started; empty without one.
std::wstring ChromiumDevToolsEndpoint();

// Copies an engine (the test engine unless named) to
// root\version\EBWebView\x64\EmbeddedBrowserWebView.dll and returns
// root\version, the folder for WEBVIEW2_BROWSER_EXECUTABLE_FOLDER (or the
// registry); empty when the copy failed.
std::wstring InstallTestEngine(const std::wstring& root, const std::wstring& version = L"130.0.2849.80",
                               const std::wstring& dll = TestEngineDllPath());

// The lines of the engine's log, without line ends; empty when there is no log.
std::vector<std::string> ReadEngineLog(const std::wstring& logPath);

// The engine's view window inside the program's window, or null.
HWND FindEngineView(HWND parent);
// Sends one control command; true when the engine understood it.
bool SendEngineCommand(HWND view, const std::wstring& command);
