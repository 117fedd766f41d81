// The DLL's entry points and the environment face: creating controllers and
// web resource responses.
#include "engines/test/browser_process.h"
#include "engines/test/test_browser.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/environment_face.h"

namespace {

const wchar_t kVersion[] = L"130.0.2849.80";

// The failure a test asked for through VELOTIDE_TEST_ENGINE_FAIL, or "".
std::wstring FailPoint() { return EngineVariable(kEngineFailVariable); }

class Environment : public EnvironmentFace {
public:
    explicit Environment(const std::wstring& userDataFolder)
        : EnvironmentFace(kVersion, userDataFolder), browser_(BrowserProcess::Join(userDataFolder)) {}

    // As a runtime before profiles, when asked to (kEngineProfilesVariable).
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out || !IsEqualIID(riid, IID_ICoreWebView2Environment10) ||
            EngineVariable(kEngineProfilesVariable) != L"none")
            return EnvironmentFace::QueryInterface(riid, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT CreateController(HWND parent, const ViewOptions& options,
                             ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override {
        if (!handler) return E_POINTER;
        Ref<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> keep(handler);
        // The process's second view alone fails with "second-controller": a
        // runtime that made the first but can't make one more just then.
        static int asked = 0;
        bool fail = FailPoint() == L"controller" || (++asked == 2 && FailPoint() == L"second-controller");
        PostTask([keep, parent, fail, profile = ProfileFor(options), created = CreatedLine(options),
                  process = browser_] {
            if (fail) {
                EngineLog(L"controller failed");
                keep->Invoke(E_FAIL, nullptr);
            } else if (!IsWindow(parent)) {
                EngineLog(L"controller failed");
                keep->Invoke(HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE), nullptr);
            } else {
                auto browser = std::make_shared<TestBrowser>();
                browser->page.uri = L"about:blank";
                browser->profile = profile;
                browser->window = CreateViewWindow(parent, browser.get());
                browser->process = process;
                process->AddView(browser);
                auto controller = Ref<ICoreWebView2Controller>::Adopt(CreateControllerFace(browser));
                EngineLog(created);
                EngineLog(L"view on browser " + process->name());
                keep->Invoke(S_OK, controller.get());
            }
        });
        return S_OK;
    }

private:
    std::shared_ptr<BrowserProcess> browser_;  // the folder's, shared with every environment on it
};

}  // namespace

extern "C" HRESULT __stdcall CreateWebViewEnvironmentWithOptionsInternal(
    bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder, IUnknown*,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    OpenEnvironmentRequest(checkRunningInstance, runtimeType, userDataFolder);
    // The runtime puts these switches on its browser's command line.
    wchar_t arguments[1024];
    DWORD n = GetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", arguments, 1024);
    if (n && n < 1024) EngineLog(L"browser arguments " + std::wstring(arguments));
    std::wstring fail = FailPoint();
    if (fail == L"create") {
        EngineLog(L"environment failed");
        return E_FAIL;
    }
    Ref<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> keep(handler);
    PostTask([keep, fail, profile = std::wstring(userDataFolder ? userDataFolder : L"")] {
        if (fail == L"environment") {
            EngineLog(L"environment failed");
            keep->Invoke(E_FAIL, nullptr);
            return;
        }
        auto environment = Ref<ICoreWebView2Environment>::Adopt(new Environment(profile));
        EngineLog(L"environment created");
        keep->Invoke(S_OK, environment.get());
    });
    return S_OK;
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
