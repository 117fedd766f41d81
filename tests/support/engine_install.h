// The test engine (tests/engine) as the program meets it: installed where a
// WebView2 Runtime would be, its log read back, its control commands sent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The built EmbeddedBrowserWebView.dll.
std::wstring TestEngineDllPath();

// Copies the engine to root\version\EBWebView\x64\EmbeddedBrowserWebView.dll
// and returns root\version, the folder for WEBVIEW2_BROWSER_EXECUTABLE_FOLDER
// (or the registry); empty when the copy failed.
std::wstring InstallTestEngine(const std::wstring& root, const std::wstring& version = L"130.0.2849.80");

// The lines of the engine's log, without line ends; empty when there is no log.
std::vector<std::string> ReadEngineLog(const std::wstring& logPath);

// The engine's view window inside the program's window, or null.
HWND FindEngineView(HWND parent);
// Sends one control command; true when the engine understood it.
bool SendEngineCommand(HWND view, const std::wstring& command);
