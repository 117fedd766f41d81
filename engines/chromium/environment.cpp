// The DLL's entry points and the environment face: one DevTools connection
// per environment, and for each controller a browser context and page target
// of its own.
#include <algorithm>
#include <set>

#include "engines/chromium/chromium_browser.h"
#include "engines/chromium/later.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/environment_face.h"
#include "engines/common/text.h"
#include "settings/replace_file.h"

namespace {

// The events the engine acts on; all others are dropped as they arrive.
const std::set<std::string> kWantedEvents = {
    "Target.attachedToTarget", "Fetch.requestPaused",  "Page.frameStartedNavigating", "Page.frameNavigated",
    "Page.navigatedWithinDocument", "Page.lifecycleEvent", "Page.windowOpen", "Page.screencastFrame",
    "Network.requestWillBeSent", "Network.responseReceived", "Network.loadingFailed", "Runtime.bindingCalled",
    "Target.detachedFromTarget", "Inspector.targetCrashed", "Fetch.authRequired", "Security.certificateError",
    "Page.downloadWillBegin", "Page.downloadProgress", "Page.javascriptDialogOpening", "Page.frameDetached",
    "Page.frameStoppedLoading",
};

// How long a page target that attached in one of our contexts may wait for
// the controller that made it, or for the view that opened it.
const DWORD kUnclaimedBound = 3000;

// The pages of this environment as the browser reports them. New page
// targets wait for a debugger before they run (Target.setAutoAttach), so a
// page of ours is set up, and a pop-up decided on, before it loads anything.
// Each entry ends with its target, so a long session keeps none it no longer needs.
struct Pages : std::enable_shared_from_this<Pages> {
    struct Page {
        std::weak_ptr<ChromiumBrowser> browser;
        std::string context;
    };
    // Browser contexts made here, once for each page made in it: a page closed
    // while the next one of its kept context is being made leaves it ours.
    std::multiset<std::string> contexts;
    std::map<std::string, std::string> unclaimed;                     // target → session, attached early
    std::map<std::string, std::function<void(std::string)>> waiting;  // target → who needs its session ("": none comes)
    std::map<std::string, Page> browsers;                             // target → its view

    void OnAttached(const std::shared_ptr<DevTools>& devtools, const json& params) {
        std::string session = JsonString(params, "sessionId");
        const json& info = JsonObject(params, "targetInfo");
        std::string target = JsonString(info, "targetId");
        if (!contexts.count(JsonString(info, "browserContextId"))) {
            // Another client's page, or the browser's own first tab: let it be.
            devtools->Call("Runtime.runIfWaitingForDebugger", json::object(), session);
            devtools->Call("Target.detachFromTarget", {{"sessionId", session}});
            return;
        }
        // A window opened from a cross-site frame names the frame's target as its opener.
        std::string openerId = JsonString(info, "openerId");
        auto opener = std::find_if(browsers.begin(), browsers.end(), [&](const auto& entry) {
            auto browser = entry.second.browser.lock();
            return entry.first == openerId || (browser && browser->HasChild(openerId));
        });
        if (!openerId.empty() && opener != browsers.end()) {
            if (auto browser = opener->second.browser.lock()) {
                std::string frame = JsonString(info, "openerFrameId");
                return browser->OnOpenedTarget(target, session, frame.empty() ? openerId : frame);
            }
            devtools->Call("Target.closeTarget", {{"targetId", target}});
            return;
        }
        auto waiter = waiting.find(target);
        if (waiter == waiting.end()) {
            // A window whose opener is unknown is nobody's to show: after a
            // while it is closed without loading.
            unclaimed[target] = session;
            std::weak_ptr<DevTools> weak = devtools;
            RunLater(kUnclaimedBound, [this, keep = shared_from_this(), weak, target, session] {
                auto found = unclaimed.find(target);
                auto devtools = weak.lock();
                if (found == unclaimed.end() || found->second != session || !devtools) return;
                unclaimed.erase(found);
                DiscardWindow(devtools, target, session, true);
            });
            return;
        }
        auto claim = std::move(waiter->second);
        waiting.erase(waiter);
        claim(session);
    }

    // A target went away: its view, when still open, has lost its page for
    // good, as when the runtime's browser process exits.
    void OnDetached(const json& params) {
        std::string target = JsonString(params, "targetId");
        unclaimed.erase(target);
        auto found = browsers.find(target);
        if (found == browsers.end()) return;
        auto browser = found->second.browser.lock();
        if (auto context = contexts.find(found->second.context); context != contexts.end()) contexts.erase(context);
        browsers.erase(found);
        if (browser && browser->controller && !browser->closed)
            RaiseProcessFailed(*browser, COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
    }

    // The connection ended: the views lose their pages, and controllers being
    // made hear that no page will come.
    void OnConnectionLost() {
        auto open = std::move(browsers);
        browsers.clear();
        for (auto& [target, page] : open)
            if (auto browser = page.browser.lock(); browser && browser->controller)
                RaiseProcessFailed(*browser, COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
        auto claims = std::move(waiting);
        waiting.clear();
        for (auto& [target, claim] : claims) claim("");
        unclaimed.clear();
        contexts.clear();
    }

    // The session of a page target just created; it may have attached already.
    void WhenAttached(const std::string& target, std::function<void(std::string)> claim) {
        auto found = unclaimed.find(target);
        if (found == unclaimed.end()) {
            waiting[target] = std::move(claim);
            return;
        }
        std::string session = found->second;
        unclaimed.erase(found);
        claim(session);
    }

    std::wstring Stats() const {
        return L"pages=" + std::to_wstring(browsers.size()) + L" unclaimed=" + std::to_wstring(unclaimed.size()) +
               L" waiting=" + std::to_wstring(waiting.size()) + L" contexts=" + std::to_wstring(contexts.size());
    }
};

using ControllerDone = Ref<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>;

// Where a profile's folder keeps the id of its browser context.
const wchar_t kContextFile[] = L"\\chromium context.txt";

// The browser context of a profile whose id is kept in the file keptIn: the
// one named there while Chromium still has it, else a new one, kept from
// now on; with no file, a new one that goes when the connection ends. ""
// when Chromium made none.
void ProfileContext(const std::shared_ptr<DevTools>& devtools, const std::wstring& keptIn,
                    std::function<void(const std::string& context)> done) {
    auto create = [devtools, keptIn, done] {
        devtools->Call("Target.createBrowserContext", {{"disposeOnDetach", keptIn.empty()}}, "",
                       [keptIn, done](const json& result, const json& error) {
                           std::string context = error.is_null() ? JsonString(result, "browserContextId") : "";
                           if (!context.empty() && !keptIn.empty()) ReplaceFileWhole(keptIn, context);
                           done(context);
                       });
    };
    std::string kept = keptIn.empty() ? "" : ReadFileText(keptIn);
    if (kept.empty()) return create();
    devtools->Call("Target.getBrowserContexts", json::object(), "",
                   [kept, create, done](const json& result, const json&) {
                       for (const json& id : JsonObject(result, "browserContextIds"))
                           if (id.is_string() && id.get<std::string>() == kept) return done(kept);
                       create();  // Chromium was started again since
                   });
}

void FailController(const ControllerDone& done, const std::shared_ptr<ChromiumBrowser>& browser, HRESULT error) {
    browser->Close();
    EngineLog(L"controller failed");
    done->Invoke(error, nullptr);
}

class Environment : public EnvironmentFace {
public:
    Environment(std::shared_ptr<DevTools> devtools, std::shared_ptr<Pages> pages, const std::string& version,
                const std::wstring& userDataFolder)
        : EnvironmentFace(Wide(version), userDataFolder),
          devtools_(std::move(devtools)),
          pages_(std::move(pages)),
          userDataFolder_(userDataFolder),
          downloadFolder_(DownloadFolder(userDataFolder)) {
        RemoveDeletedProfiles(userDataFolder_);
    }
    // Chromium keeps nothing of a profile in its folder, so a deleted one's
    // folder goes as soon as the environment that deleted it does.
    ~Environment() override { RemoveDeletedProfiles(userDataFolder_); }

    // A profile is a browser context of its own, kept for the life of
    // Chromium (its id in the profile's folder), so that the next view of
    // the profile, in this program or a later one, finds its cookies and
    // storage; an InPrivate view's is new and goes with it. Chromium keeps
    // a context in memory only: what it holds lasts as long as Chromium runs.
    HRESULT CreateController(HWND parent, const ViewOptions& options,
                             ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override {
        if (!handler) return E_POINTER;
        ControllerDone done(handler);
        if (!IsWindow(parent)) {
            PostTask([done] {
                EngineLog(L"controller failed");
                done->Invoke(HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE), nullptr);
            });
            return S_OK;
        }
        auto browser = std::make_shared<ChromiumBrowser>(devtools_, parent, downloadFolder_);
        browser->profile = ProfileFor(options);
        auto devtools = devtools_;
        std::wstring created = CreatedLine(options);
        auto pages = pages_;
        browser->profile->MakeFolder();
        std::wstring keptIn = browser->profile->folder().empty() ? L"" : browser->profile->folder() + kContextFile;
        browser->keepsContext = !keptIn.empty();
        ProfileContext(
            devtools, keptIn, [devtools, pages, browser, done, created](const std::string& context) {
                if (context.empty()) return FailController(done, browser, E_FAIL);
                pages->contexts.insert(context);
                devtools->Call(
                    "Target.createTarget", {{"url", "about:blank"}, {"browserContextId", context}}, "",
                    [pages, browser, done, context, created](const json& result, const json& error) {
                        std::string target = JsonString(result, "targetId");
                        if (!error.is_null() || target.empty()) return FailController(done, browser, E_FAIL);
                        pages->browsers[target] = {browser, context};
                        browser->environmentStats = [weak = std::weak_ptr<Pages>(pages)] {
                            auto pages = weak.lock();
                            return pages ? pages->Stats() : std::wstring();
                        };
                        pages->WhenAttached(target, [browser, done, context, target, created](std::string session) {
                            if (session.empty())
                                return FailController(done, browser, HRESULT_FROM_WIN32(ERROR_CONNECTION_ABORTED));
                            browser->Attach(context, target, session, [browser, done, created](HRESULT result) {
                                if (FAILED(result)) return FailController(done, browser, result);
                                auto controller = Ref<ICoreWebView2Controller>::Adopt(CreateControllerFace(browser));
                                EngineLog(created);
                                done->Invoke(S_OK, controller.get());
                            });
                        });
                    });
            });
        return S_OK;
    }

private:
    std::shared_ptr<DevTools> devtools_;
    std::shared_ptr<Pages> pages_;
    std::wstring userDataFolder_, downloadFolder_;
};

}  // namespace

extern "C" HRESULT __stdcall CreateWebViewEnvironmentWithOptionsInternal(
    bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder, IUnknown*,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    OpenEnvironmentRequest(checkRunningInstance, runtimeType, userDataFolder);
    wchar_t endpoint[64];
    DWORD length = GetEnvironmentVariableW(kChromiumDevToolsVariable, endpoint, 64);
    if (length == 0 || length >= 64) {
        EngineLog(L"environment failed");
        return HRESULT_FROM_WIN32(ERROR_ENVVAR_NOT_FOUND);
    }
    Ref<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> done(handler);
    std::wstring profile = userDataFolder ? userDataFolder : L"";
    DevTools::Open(endpoint, kWantedEvents,
                   [done, profile](const std::shared_ptr<DevTools>& devtools, HRESULT error, const std::string& version) {
                       if (FAILED(error)) {
                           EngineLog(L"environment failed");
                           done->Invoke(error, nullptr);
                           return;
                       }
                       auto pages = std::make_shared<Pages>();
                       std::weak_ptr<DevTools> connection = devtools;  // the listener lives inside it
                       devtools->Listen("", [pages, connection](const std::string& method, const json& params) {
                           auto devtools = connection.lock();
                           if (!devtools) return;
                           if (method == "Target.attachedToTarget") pages->OnAttached(devtools, params);
                           if (method == "Target.detachedFromTarget") pages->OnDetached(params);
                       });
                       // Without its browser no view can show anything again.
                       devtools->OnClosed([pages] { pages->OnConnectionLost(); });
                       json autoAttach = {{"autoAttach", true},
                                          {"waitForDebuggerOnStart", true},
                                          {"flatten", true},
                                          {"filter", json::array({{{"type", "page"}}})}};
                       devtools->Call("Target.setAutoAttach", autoAttach, "",
                                      [done, devtools, pages, version, profile](const json&, const json& error) {
                                          if (!error.is_null()) {
                                              EngineLog(L"environment failed");
                                              done->Invoke(E_FAIL, nullptr);
                                              return;
                                          }
                                          auto environment = Ref<ICoreWebView2Environment>::Adopt(
                                              new Environment(devtools, pages, version, profile));
                                          EngineLog(L"environment created");
                                          done->Invoke(S_OK, environment.get());
                                      });
                   });
    return S_OK;
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
