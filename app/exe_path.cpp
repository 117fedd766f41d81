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

// The volume and file index that tell one file from every other; false when
// path can't be opened (a file that isn't there is no exe at all).
static bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool known = GetFileInformationByHandle(file, info);
    CloseHandle(file);
    return known;
}

bool IsThisExe(const std::wstring& path) {
    BY_HANDLE_FILE_INFORMATION mine, other;
    return FileIdentity(ThisExePath(), &mine) && FileIdentity(path, &other) &&
           mine.dwVolumeSerialNumber == other.dwVolumeSerialNumber && mine.nFileIndexHigh == other.nFileIndexHigh &&
           mine.nFileIndexLow == other.nFileIndexLow;
}

std::string ExeResource(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found)) : std::string();
}
