#include "engines/test/browser_process.h"

#include <cwctype>

#include "engines/common/browser.h"
#include "engines/common/engine.h"
#include "engines/common/profile.h"

namespace {

const size_t kNameLength = 64;

// One kernel object name per folder, however the path is written.
std::wstring ObjectName(const std::wstring& userDataFolder, const wchar_t* kind) {
    std::wstring folder = userDataFolder;
    for (wchar_t& c : folder) c = c == L'/' ? L'\\' : static_cast<wchar_t>(towlower(c));
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return std::wstring(L"Local\\VelotideTestEngineBrowser.") + kind + L"." +
           std::to_wstring(std::hash<std::wstring>()(folder));
}

HANDLE Lock(const std::wstring& userDataFolder) {
    HANDLE lock = CreateMutexW(nullptr, FALSE, ObjectName(userDataFolder, L"lock").c_str());
    if (lock) WaitForSingleObject(lock, 5000);
    return lock;
}

void Unlock(HANDLE lock) {
    if (!lock) return;
    ReleaseMutex(lock);
    CloseHandle(lock);
}

}  // namespace

// Under a lock, so that of two environments made at once on one folder the
// first starts the browser and the second joins it, named.
std::shared_ptr<BrowserProcess> BrowserProcess::Join(const std::wstring& userDataFolder) {
    auto browser = std::make_shared<BrowserProcess>();
    browser->userDataFolder_ = userDataFolder;
    HANDLE lock = Lock(userDataFolder);
    browser->mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           kNameLength * sizeof(wchar_t), ObjectName(userDataFolder, L"name").c_str());
    bool running = GetLastError() == ERROR_ALREADY_EXISTS;
    auto* shared = browser->mapping_ ? static_cast<wchar_t*>(MapViewOfFile(browser->mapping_, FILE_MAP_WRITE, 0, 0, 0))
                                     : nullptr;
    running = running && shared && shared[0];  // one that exited has left no name
    if (shared && !running)
        swprintf(shared, kNameLength, L"%lu.%llu", GetCurrentProcessId(),
                 static_cast<unsigned long long>(GetTickCount64()));
    if (shared) browser->name_.assign(shared, wcsnlen(shared, kNameLength - 1));
    if (shared) UnmapViewOfFile(shared);
    EngineLog((running ? L"browser joined " : L"browser started ") + browser->name_);
    std::wstring exited = L"Local\\VelotideTestEngineBrowserExit." + browser->name_;
    browser->exited_ = CreateEventW(nullptr, TRUE, FALSE, exited.c_str());
    std::weak_ptr<BrowserProcess> weak = browser;
    auto* heard = new std::weak_ptr<BrowserProcess>(weak);  // what the wait is told, freed with the browser
    if (!browser->exited_ ||
        !RegisterWaitForSingleObject(
            &browser->wait_, browser->exited_,
            [](void* context, BOOLEAN) {
                auto* weak = static_cast<std::weak_ptr<BrowserProcess>*>(context);
                PostTask([weak = *weak] {
                    if (auto browser = weak.lock()) browser->OnExited();
                });
            },
            heard, INFINITE, WT_EXECUTEONLYONCE))
        browser->wait_ = nullptr;
    browser->heard_ = heard;
    if (!running) RemoveDeletedProfiles(userDataFolder);
    Unlock(lock);
    return browser;
}

void BrowserProcess::Exit() {
    HANDLE lock = Lock(userDataFolder_);
    if (auto* shared = static_cast<wchar_t*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0))) {
        shared[0] = L'\0';
        UnmapViewOfFile(shared);
    }
    Unlock(lock);
    if (exited_) SetEvent(exited_);
}

void BrowserProcess::OnExited() {
    std::vector<std::weak_ptr<Browser>> views;
    views.swap(views_);
    for (const auto& weak : views)
        if (auto view = weak.lock()) RaiseProcessFailed(*view, COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
}

BrowserProcess::~BrowserProcess() {
    if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    delete heard_;
    if (exited_) CloseHandle(exited_);
    HANDLE lock = Lock(userDataFolder_);
    if (mapping_) CloseHandle(mapping_);
    HANDLE still = OpenFileMappingW(FILE_MAP_READ, FALSE, ObjectName(userDataFolder_, L"name").c_str());
    if (still)
        CloseHandle(still);
    else
        RemoveDeletedProfiles(userDataFolder_);
    Unlock(lock);
}
