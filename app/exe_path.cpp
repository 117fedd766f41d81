#include "app/exe_path.h"

#include <windows.h>

std::wstring ThisExePath() {
    wchar_t path[1024];
    DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    return length && length < ARRAYSIZE(path) ? std::wstring(path, length) : std::wstring();
}

bool ExeIsGone(const std::wstring& exe) {
    if (exe.empty() || GetFileAttributesW(exe.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
