// The engine's log: one line per observable outcome, appended and closed at
// once so that a test can read the file while the program still runs.
#include "engines/common/engine.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/text.h"

#include <functional>
#include <string>

void EngineLog(const std::wstring& line) {
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(kEngineLogVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::string bytes = Utf8(line + L"\n");
    // Programs that share a log (Velotide and its apps) take turns: under
    // Wine two appends at once can land on the same place, and one is lost.
    HANDLE turn = CreateMutexW(nullptr, FALSE, (L"Local\\VelotideEngineLog." +
                                                std::to_wstring(std::hash<std::wstring>()(path))).c_str());
    if (turn) WaitForSingleObject(turn, 2000);
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    if (!turn) return;
    ReleaseMutex(turn);
    CloseHandle(turn);
}

std::wstring EngineVariable(const wchar_t* name) {
    wchar_t value[32];
    DWORD length = GetEnvironmentVariableW(name, value, 32);
    return length > 0 && length < 32 ? value : L"";
}

HRESULT ReturnString(const std::wstring& text, LPWSTR* out) {
    if (!out) return E_POINTER;
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*out) return E_OUTOFMEMORY;
    memcpy(*out, text.c_str(), bytes);
    return S_OK;
}
