#include "app/start_with_windows.h"

#include <windows.h>

#include "app/command_line.h"
#include "app/site_app.h"
#include "app/exe_path.h"

static const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The exe the value starts; empty when there is no value or it can't be read.
static std::wstring RunProgram(const std::wstring& id) {
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, RunValueName(id).c_str(), RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return {};
    return ParseCommandLine(value).program;
}

bool StartsWithWindows(const std::wstring& id) {
    std::wstring exe = ThisExePath();
    return !exe.empty() && CompareStringOrdinal(RunProgram(id).c_str(), -1, exe.c_str(), -1, TRUE) == CSTR_EQUAL;
}

void SetStartWithWindows(const std::wstring& id, bool on) {
    std::wstring exe = ThisExePath();
    if (!on) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, RunValueName(id).c_str());
    } else if (!exe.empty()) {
        std::wstring value = L"\"" + exe + L"\" " + RunArguments(id);
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, RunValueName(id).c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
}

void RepairStartWithWindows(const std::wstring& id) {
    if (ExeIsGone(RunProgram(id))) SetStartWithWindows(id, true);
}
