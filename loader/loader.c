// WebView2Loader.dll: finds a WebView2 Runtime and hands environment creation
// to the runtime's own client library, EmbeddedBrowserWebView.dll.
//
// Where the runtime is looked for, first match wins:
//   1. the folder the caller names (a fixed-version runtime);
//   2. the folder in WEBVIEW2_BROWSER_EXECUTABLE_FOLDER (also fixed-version);
//   3. the installed runtimes registered with EdgeUpdate, stable channel first,
//      each channel machine-wide (32-bit registry view) before per-user.
// A named folder (1 or 2) is binding: when its client library is unusable the
// call fails rather than quietly running some other engine build. Registered
// folders are only hints, so a stale registration (library gone, or a folder
// not named by a version) is skipped and the search goes on.
#include <windows.h>

#include <stdbool.h>
#include <string.h>

typedef struct ICoreWebView2EnvironmentOptions ICoreWebView2EnvironmentOptions;
typedef struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;

// The client library's entry point. runtimeType tells it how it was found.
typedef HRESULT(WINAPI* CreateInternalFn)(bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder,
                                          void* environmentOptions, void* handler);
enum { RUNTIME_INSTALLED = 0, RUNTIME_FIXED = 1 };

#define FOLDER_CHARS 1024

static const wchar_t kClientDll[] = L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";

#define CLIENT_STATE L"Software\\Microsoft\\EdgeUpdate\\ClientState\\"
static const wchar_t* const kChannelKeys[] = {
    CLIENT_STATE L"{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}",  // stable
    CLIENT_STATE L"{2CD8A007-E189-409D-A2C8-9AF4EF3C72AA}",  // beta
    CLIENT_STATE L"{0D50BFEC-CD6A-4F9A-964C-C7416E3ACB10}",  // dev
    CLIENT_STATE L"{65C35B14-6C1D-4122-AC46-7148CC9D6497}",  // canary
};

// EdgeUpdate is a 32-bit program and writes its machine-wide keys there.
static const struct {
    HKEY root;
    REGSAM view;
} kRegistryRoots[] = {
    {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
    {HKEY_CURRENT_USER, 0},
};

static bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Length of folder without trailing separators.
static size_t TrimmedLength(const wchar_t* folder) {
    size_t len = wcslen(folder);
    while (len > 0 && IsSeparator(folder[len - 1])) len--;
    return len;
}

// True when the folder's last component is a version: four dot-separated
// decimal numbers, as the installer names each runtime build.
static bool IsVersionFolder(const wchar_t* folder) {
    size_t end = TrimmedLength(folder);
    size_t start = end;
    while (start > 0 && !IsSeparator(folder[start - 1])) start--;
    int dots = 0, digits = 0;
    for (size_t i = start; i < end; i++) {
        wchar_t c = folder[i];
        if (c >= L'0' && c <= L'9') {
            digits++;
        } else if (c == L'.' && digits > 0) {
            dots++;
            digits = 0;
        } else {
            return false;
        }
    }
    return dots == 3 && digits > 0;
}

// Loads the runtime's client library from folder and returns its entry point,
// or NULL when the library or the export is missing. A library that answers
// stays loaded for the rest of the process: the environment it is about to
// create completes later and runs code from it.
static CreateInternalFn LoadClient(const wchar_t* folder) {
    size_t len = TrimmedLength(folder);
    wchar_t path[FOLDER_CHARS + ARRAYSIZE(kClientDll)];
    wchar_t fullPath[ARRAYSIZE(path)];
    if (len == 0 || len >= FOLDER_CHARS) return NULL;
    memcpy(path, folder, len * sizeof(wchar_t));
    memcpy(path + len, kClientDll, sizeof kClientDll);

    // The library's own dependencies sit beside it; an altered search path
    // finds them there, and it needs an absolute path to do so.
    DWORD n = GetFullPathNameW(path, ARRAYSIZE(fullPath), fullPath, NULL);
    if (n == 0 || n >= ARRAYSIZE(fullPath)) return NULL;
    HMODULE module = LoadLibraryExW(fullPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return NULL;
    CreateInternalFn create = (CreateInternalFn)(void*)GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal");
    if (!create) FreeLibrary(module);  // not a runtime; nothing of it ran
    return create;
}

// Reads the EBWebView folder registered under one channel key.
static bool ReadRegisteredFolder(HKEY root, REGSAM view, const wchar_t* subkey, wchar_t folder[FOLDER_CHARS]) {
    HKEY key;
    if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = (FOLDER_CHARS - 1) * sizeof(wchar_t);
    LSTATUS status = RegQueryValueExW(key, L"EBWebView", NULL, &type, (BYTE*)folder, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return false;
    folder[size / sizeof(wchar_t)] = 0;  // registry strings need not be terminated
    return true;
}

static CreateInternalFn FindInstalledRuntime(void) {
    wchar_t folder[FOLDER_CHARS];
    for (size_t c = 0; c < ARRAYSIZE(kChannelKeys); c++) {
        for (size_t r = 0; r < ARRAYSIZE(kRegistryRoots); r++) {
            if (!ReadRegisteredFolder(kRegistryRoots[r].root, kRegistryRoots[r].view, kChannelKeys[c], folder))
                continue;
            if (!IsVersionFolder(folder)) continue;
            CreateInternalFn create = LoadClient(folder);
            if (create) return create;
        }
    }
    return NULL;
}

__declspec(dllexport) HRESULT WINAPI CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    CreateInternalFn create;
    int runtimeType = RUNTIME_FIXED;
    wchar_t envFolder[FOLDER_CHARS];
    DWORD envLength;
    if (browserExecutableFolder && *browserExecutableFolder) {
        create = LoadClient(browserExecutableFolder);
    } else if ((envLength = GetEnvironmentVariableW(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", envFolder,
                                                    FOLDER_CHARS)) != 0) {
        create = envLength < FOLDER_CHARS ? LoadClient(envFolder) : NULL;
    } else {
        runtimeType = RUNTIME_INSTALLED;
        create = FindInstalledRuntime();
    }
    if (!create) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return create(true, runtimeType, userDataFolder, environmentOptions, environmentCreatedHandler);
}
