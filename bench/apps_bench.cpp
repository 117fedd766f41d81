// What plain Velotide does for its site apps at its start (TendSiteApps),
// with apps laid out as Velotide makes them in the per-user folder of the
// bench's prefix:
//   velotide_bench_apps add N EXE   N apps, their folders and settings, Start
//                                   menu shortcuts, Settings > Apps entries
//                                   and Run values naming EXE, so that the
//                                   timed starts of velotide.exe meet them
//   velotide_bench_apps time        "TendSiteApps <microseconds per call>",
//                                   the median of 21 calls
//   velotide_bench_apps remove      the apps taken away again
// Nothing names an exe that is gone, so the calls read and compare only, as
// at nearly every start.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_registration.h"
#include "app/app_state.h"
#include "app/site_app.h"
#include "app/site_apps_upkeep.h"
#include "settings/config_store.h"

static const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const std::wstring kIdStart = L"bench-app-";

static void Add(int count, const std::wstring& exe) {
    CreateDirectoryW(VelotideFolder().c_str(), nullptr);
    CreateDirectoryW((VelotideFolder() + L"\\Apps").c_str(), nullptr);
    for (int i = 1; i <= count; ++i) {
        std::wstring id = kIdStart + std::to_wstring(i);
        AppState settings;
        settings.siteUrl = L"https://site" + std::to_wstring(i) + L".example/";
        settings.appName = L"Bench App " + std::to_wstring(i);
        CreateDirectoryW(AppFolder(id).c_str(), nullptr);
        std::wstring run = L"\"" + exe + L"\" " + RunArguments(id);
        if (!WriteConfig(AppFolder(id), settings) || !RegisterApp(id, settings.appName, L"site.example", exe) ||
            RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, RunValueName(id).c_str(), REG_SZ, run.c_str(),
                            static_cast<DWORD>((run.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            fprintf(stderr, "could not lay out %ls\n", id.c_str());
    }
}

static double Microseconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"add" && argc > 3) {
        Add(_wtoi(argv[2]), argv[3]);
    } else if (verb == L"time") {
        std::vector<double> calls;
        for (int i = 0; i < 21; ++i) {
            double begin = Microseconds();
            TendSiteApps();
            calls.push_back(Microseconds() - begin);
        }
        std::sort(calls.begin(), calls.end());
        printf("TendSiteApps %.1f\n", calls[calls.size() / 2]);
    } else if (verb == L"remove") {
        for (const std::wstring& id : AppIds()) {
            if (id.rfind(kIdStart, 0) != 0) continue;
            UnregisterApp(id);
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, RunValueName(id).c_str());
            DeleteFolderWhole(AppFolder(id));
        }
    } else {
        fprintf(stderr, "usage: velotide_bench_apps add N EXE | time | remove\n");
        return 2;
    }
    return 0;
}
