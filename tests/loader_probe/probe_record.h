/* What the stand-in runtime library (probe_runtime.c) received from the
   loader, exported as the data symbol "probeRecord" for the tests to read. */
#pragma once

#include <windows.h>

typedef struct ProbeRecord {
    int calls;
    int checkRunningInstance;
    int runtimeType;
    int userDataFolderIsNull;
    wchar_t userDataFolder[MAX_PATH];
    void* environmentOptions;
    void* handler;
    /* The process's WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS as the runtime found
       it: the runtime, not the loader, reads it for the browser's command line. */
    wchar_t additionalArguments[MAX_PATH];
} ProbeRecord;

/* Hex HRESULT the probe answers with; S_OK while unset. */
#define PROBE_RESULT_VARIABLE L"VELOTIDE_PROBE_RESULT"
