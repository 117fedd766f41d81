#include "tests/support/engine_install.h"

#include "engines/common/engine_protocol.h"
#include "tests/support/test_support.h"

std::wstring TestEngineDllPath() { return WinPathFromUnix(VELOTIDE_TEST_ENGINE_UNIX_PATH); }

std::wstring ChromiumEngineDllPath() { return WinPathFromUnix(VELOTIDE_CHROMIUM_ENGINE_UNIX_PATH); }

std::wstring ChromiumDevToolsEndpoint() {
    std::string endpoint = ReadFileBytes(WinPathFromUnix(VELOTIDE_CHROMIUM_FIXTURE_UNIX_DIR "/devtools"));
    while (!endpoint.empty() && (endpoint.back() == '\n' || endpoint.back() == '\r')) endpoint.pop_back();
    return std::wstring(endpoint.begin(), endpoint.end());
}

std::wstring InstallTestEngine(const std::wstring& root, const std::wstring& version, const std::wstring& dll) {
    std::wstring folder = root + L"\\" + version;
    std::wstring x64 = folder + L"\\EBWebView\\x64";
    for (const std::wstring& dir : {root, folder, folder + L"\\EBWebView", x64}) CreateDirectoryW(dir.c_str(), nullptr);
    if (!CopyFileW(dll.c_str(), (x64 + L"\\EmbeddedBrowserWebView.dll").c_str(), FALSE)) return L"";
    return folder;
}

std::vector<std::string> ReadEngineLog(const std::wstring& logPath) {
    std::vector<std::string> lines;
    std::string bytes = ReadFileBytes(logPath);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

HWND FindEngineView(HWND parent) { return FindWindowExW(parent, nullptr, kEngineViewClass, nullptr); }

bool SendEngineCommand(HWND view, const std::wstring& command) {
    COPYDATASTRUCT data = {};
    data.dwData = kEngineCopyDataId;
    data.cbData = static_cast<DWORD>(command.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(command.c_str());
    DWORD_PTR result = FALSE;
    if (!SendMessageTimeoutW(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result))
        return false;
    return result != FALSE;
}
