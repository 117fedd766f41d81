/* A stand-in for the WebView2 Runtime's client library, built as
   EmbeddedBrowserWebView.dll: it records the call the loader makes and answers
   with the HRESULT the test chose, without ever touching the handler. */
#include "probe_record.h"

#include <stdbool.h>
#include <stdlib.h>

__declspec(dllexport) ProbeRecord probeRecord;

__declspec(dllexport) HRESULT WINAPI CreateWebViewEnvironmentWithOptionsInternal(
    bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder, void* environmentOptions, void* handler) {
    probeRecord.calls++;
    probeRecord.checkRunningInstance = checkRunningInstance;
    probeRecord.runtimeType = runtimeType;
    probeRecord.userDataFolderIsNull = userDataFolder == NULL;
    if (userDataFolder) lstrcpynW(probeRecord.userDataFolder, userDataFolder, MAX_PATH);
    probeRecord.environmentOptions = environmentOptions;
    probeRecord.handler = handler;
    probeRecord.additionalArguments[0] = 0;
    GetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", probeRecord.additionalArguments, MAX_PATH);

    wchar_t result[16];
    DWORD n = GetEnvironmentVariableW(PROBE_RESULT_VARIABLE, result, ARRAYSIZE(result));
    return n > 0 && n < ARRAYSIZE(result) ? (HRESULT)wcstoul(result, NULL, 16) : S_OK;
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow(void) { return S_FALSE; }
