#include "app/start_with_windows.h"

#include <windows.h>

#include "app/command_line.h"
#include "app/site_app.h"
#include "app/exe_path.h"

static const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const DWORD kPathMax = 1024;

// This exe's path; false when it doesn't fit.
static bool ThisExe(wchar_t* path) {
    DWORD length = GetModuleFileNameW(nullptr, path, kPathMax);
    return length && length < kPathMax;
}

// The exe the value starts; empty when there is no value or it can't be read.
static std::wstring RunProgram() {
    wchar_t value[kPathMax + 64];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, RunValueName().c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return ParseCommandLine(value).program;
}

bool StartsWithWindows() {
    wchar_t exe[kPathMax];
    return ThisExe(exe) && CompareStringOrdinal(RunProgram().c_str(), -1, exe, -1, TRUE) == CSTR_EQUAL;
}

void SetStartWithWindows(bool on) {
    wchar_t command[kPathMax + 64] = L"\"";
    if (!on) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, RunValueName().c_str());
    } else if (ThisExe(command + 1)) {
        std::wstring value = command + (L"\" " + RunArguments());
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, RunValueName().c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
}

void RepairStartWithWindows() {
    if (ExeIsGone(RunProgram())) SetStartWithWindows(true);
}
