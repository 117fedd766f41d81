// Work the engine does "later": each task is posted to a hidden message-only
// window of the creating thread, so completions and events arrive from that
// thread's message loop and never inside the call that asked for them.
#include "engines/common/engine.h"

namespace {

const UINT kRunTask = WM_APP + 1;
HWND g_dispatcher;
HINSTANCE g_module;

LRESULT CALLBACK DispatcherProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunTask) {
        auto* task = reinterpret_cast<std::function<void()>*>(lParam);
        (*task)();
        delete task;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HINSTANCE EngineModule() { return g_module; }

void EngineDispatchInit(HINSTANCE module) {
    g_module = module;
    if (g_dispatcher && IsWindow(g_dispatcher)) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DispatcherProc;
    wc.hInstance = module;
    wc.lpszClassName = L"VelotideTestEngineDispatcher";
    RegisterClassW(&wc);
    g_dispatcher = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
}

void PostTask(std::function<void()> task) {
    auto* boxed = new std::function<void()>(std::move(task));
    if (!PostMessageW(g_dispatcher, kRunTask, 0, reinterpret_cast<LPARAM>(boxed))) delete boxed;
}

void OpenEnvironmentRequest(bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder) {
    HMODULE self;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&OpenEnvironmentRequest), &self);
    EngineDispatchInit(self);
    std::wstring folder = userDataFolder ? userDataFolder : L"";
    if (!folder.empty()) CreateDirectoryW(folder.c_str(), nullptr);
    EngineLog(L"environment requested " + std::to_wstring(checkRunningInstance) + L" " + std::to_wstring(runtimeType) +
              L" " + folder);
}
