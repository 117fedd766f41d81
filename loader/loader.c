// WebView2Loader.dll: finds a WebView2 Runtime and hands environment creation
// to the runtime's own client library, EmbeddedBrowserWebView.dll, the way
// Microsoft's loader does, so that Velotide runs wherever other WebView2 apps
// on the machine run.
//
// Where the runtime is looked for, first match wins:
//   1. the folder the caller names (a fixed-version runtime);
//   2. the folder in WEBVIEW2_BROWSER_EXECUTABLE_FOLDER (also fixed-version);
//   3. the BrowserExecutableFolder group policy (also fixed-version);
//   4. the installed runtimes registered with EdgeUpdate, stable channel first,
//      each channel machine-wide (32-bit registry view) before per-user. The
//      ReleaseChannels policy limits the channels searched; the variable
//      WEBVIEW2_RELEASE_CHANNEL_PREFERENCE, else the ReleaseChannelPreference
//      policy, set to 1 searches them least stable first.
// A named folder (1 to 3) is binding: when its client library is unusable the
// call fails rather than quietly running some other engine build. Registered
// folders are only hints, so a stale registration (library gone, or a folder
// not named by a version) is skipped and the search goes on.
//
// The user-data folder is WEBVIEW2_USER_DATA_FOLDER, else the UserDataFolder
// policy, else the caller's. WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS and the
// AdditionalBrowserArguments policy are the runtime's own to read for its
// browser's command line, as with Microsoft's loader: the caller's options
// and the process's environment reach it untouched.
//
// A group policy is a value of the key
// Software\Policies\Microsoft\Edge\WebView2\<Policy>, machine-wide (HKLM)
// before per-user (HKCU); within each, a value named after this host (its app
// user model ID when it is a packaged app, then its executable's file name)
// before the value "*" that applies to every host.
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

// The names a policy value may carry for this host, most specific first.
typedef struct HostNames {
    const wchar_t* names[3];
    size_t count;
    wchar_t appId[130];  // APPLICATION_USER_MODEL_ID_MAX_LENGTH
    wchar_t exePath[FOLDER_CHARS];
} HostNames;

// Only a packaged app has an app user model ID of its own; the function is
// looked up because it is newer than the systems the loader still runs on.
typedef LONG(WINAPI* GetAppIdFn)(UINT32* length, PWSTR appId);

static void GetHostNames(HostNames* host) {
    host->count = 0;
    GetAppIdFn getAppId =
        (GetAppIdFn)(void*)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentApplicationUserModelId");
    UINT32 length = ARRAYSIZE(host->appId);
    if (getAppId && getAppId(&length, host->appId) == ERROR_SUCCESS) host->names[host->count++] = host->appId;
    DWORD n = GetModuleFileNameW(NULL, host->exePath, FOLDER_CHARS);
    if (n > 0 && n < FOLDER_CHARS) {
        const wchar_t* name = host->exePath + n;
        while (name > host->exePath && !IsSeparator(name[-1])) name--;
        host->names[host->count++] = name;
    }
    host->names[host->count++] = L"*";
}

// Reads the group policy named policy for this host (see the top of the file)
// into data; flags restrict the value's type as for RegGetValueW. Answers
// ERROR_SUCCESS, ERROR_MORE_DATA when the value found does not fit, or
// ERROR_FILE_NOT_FOUND when no value of that type applies.
static LSTATUS ReadPolicy(const HostNames* host, const wchar_t* policy, DWORD flags, void* data, DWORD size) {
    static const HKEY kPolicyRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    wchar_t key[80] = L"Software\\Policies\\Microsoft\\Edge\\WebView2\\";
    wcscat(key, policy);  // the policy names are short constants
    for (size_t r = 0; r < ARRAYSIZE(kPolicyRoots); r++) {
        for (size_t i = 0; i < host->count; i++) {
            DWORD got = size;
            LSTATUS status = RegGetValueW(kPolicyRoots[r], key, host->names[i], flags, NULL, data, &got);
            if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) return status;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

enum { SETTING_TOO_LONG = -1, SETTING_ABSENT = 0, SETTING_READ = 1 };

// A folder setting: the environment variable when set, else the policy. An
// empty value counts as not set.
static int ReadFolderSetting(const HostNames* host, const wchar_t* variable, const wchar_t* policy,
                             wchar_t folder[FOLDER_CHARS]) {
    DWORD n = GetEnvironmentVariableW(variable, folder, FOLDER_CHARS);
    if (n != 0) return n < FOLDER_CHARS ? SETTING_READ : SETTING_TOO_LONG;
    LSTATUS status = ReadPolicy(host, policy, RRF_RT_REG_SZ, folder, FOLDER_CHARS * sizeof(wchar_t));
    if (status == ERROR_MORE_DATA) return SETTING_TOO_LONG;
    return status == ERROR_SUCCESS && *folder ? SETTING_READ : SETTING_ABSENT;
}

static bool IsListBreak(wchar_t c) { return c == 0 || c == L',' || c == L' '; }

// The channels to search, as bits by index into kChannelKeys: the
// ReleaseChannels policy, a comma-separated list of 0 (stable), 1 (beta),
// 2 (dev) and 3 (canary). A list naming no channel limits nothing.
static unsigned ReleaseChannels(const HostNames* host) {
    wchar_t list[64];
    unsigned channels = 0;
    if (ReadPolicy(host, L"ReleaseChannels", RRF_RT_REG_SZ, list, sizeof list) == ERROR_SUCCESS) {
        for (const wchar_t* c = list; *c; c++)
            if (*c >= L'0' && *c <= L'3' && (c == list || IsListBreak(c[-1])) && IsListBreak(c[1]))
                channels |= 1u << (*c - L'0');
    }
    return channels ? channels : (1u << ARRAYSIZE(kChannelKeys)) - 1;
}

// True when the search should go from the least stable channel to the most.
static bool LeastStableFirst(const HostNames* host) {
    wchar_t text[8];
    DWORD n = GetEnvironmentVariableW(L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE", text, ARRAYSIZE(text));
    if (n != 0) return n == 1 && text[0] == L'1';
    DWORD preference = 0;
    return ReadPolicy(host, L"ReleaseChannelPreference", RRF_RT_REG_DWORD, &preference, sizeof preference) ==
               ERROR_SUCCESS &&
           preference == 1;
}

static CreateInternalFn FindInstalledRuntime(const HostNames* host) {
    unsigned channels = ReleaseChannels(host);
    bool reverse = LeastStableFirst(host);
    wchar_t folder[FOLDER_CHARS];
    for (size_t i = 0; i < ARRAYSIZE(kChannelKeys); i++) {
        size_t c = reverse ? ARRAYSIZE(kChannelKeys) - 1 - i : i;
        if (!(channels & (1u << c))) continue;
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

// The library's entry (see CMakeLists.txt): nothing to set up or tear down.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    HostNames host;
    GetHostNames(&host);
    // A user-data folder too long to pass on must not quietly become another.
    wchar_t userData[FOLDER_CHARS];
    int named = ReadFolderSetting(&host, L"WEBVIEW2_USER_DATA_FOLDER", L"UserDataFolder", userData);
    if (named == SETTING_TOO_LONG) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    if (named == SETTING_READ) userDataFolder = userData;

    CreateInternalFn create;
    int runtimeType = RUNTIME_FIXED;
    wchar_t folder[FOLDER_CHARS];
    if (browserExecutableFolder && *browserExecutableFolder) {
        create = LoadClient(browserExecutableFolder);
    } else if ((named = ReadFolderSetting(&host, L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", L"BrowserExecutableFolder",
                                          folder)) != SETTING_ABSENT) {
        create = named == SETTING_READ ? LoadClient(folder) : NULL;
    } else {
        runtimeType = RUNTIME_INSTALLED;
        create = FindInstalledRuntime(&host);
    }
    if (!create) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return create(true, runtimeType, userDataFolder, environmentOptions, environmentCreatedHandler);
}
