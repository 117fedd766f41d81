// The test engine loaded directly, driven through its export and COM objects
// with small handler objects, as velotide.exe would drive it.
#include <gtest/gtest.h>

#include "engines/common/engine_protocol.h"
#include "tests/support/com_callback.h"
#include "tests/support/engine_install.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using OnStarting =
    Callback<ICoreWebView2NavigationStartingEventHandler, ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs*>;
using OnCompleted =
    Callback<ICoreWebView2NavigationCompletedEventHandler, ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*>;
using OnNewWindow =
    Callback<ICoreWebView2NewWindowRequestedEventHandler, ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs*>;
using OnResource = Callback<ICoreWebView2WebResourceRequestedEventHandler, ICoreWebView2*,
                            ICoreWebView2WebResourceRequestedEventArgs*>;
using OnFullscreen = Callback<ICoreWebView2ContainsFullScreenElementChangedEventHandler, ICoreWebView2*, IUnknown*>;
using OnAuth = Callback<ICoreWebView2BasicAuthenticationRequestedEventHandler, ICoreWebView2*,
                        ICoreWebView2BasicAuthenticationRequestedEventArgs*>;
using OnCertificate = Callback<ICoreWebView2ServerCertificateErrorDetectedEventHandler, ICoreWebView2*,
                               ICoreWebView2ServerCertificateErrorDetectedEventArgs*>;
using OnKey = Callback<ICoreWebView2AcceleratorKeyPressedEventHandler, ICoreWebView2Controller*,
                       ICoreWebView2AcceleratorKeyPressedEventArgs*>;
using OnCloseRequested = Callback<ICoreWebView2NotificationCloseRequestedEventHandler, ICoreWebView2Notification*, IUnknown*>;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct Completion {
    UINT64 id;
    BOOL success;
    COREWEBVIEW2_WEB_ERROR_STATUS status;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the program does: the icons go through WIC
        log_ = dir_ / L"engine.log";
        SetEnvironmentVariableW(kEngineLogVariable, log_.c_str());
        SetEnvironmentVariableW(kEngineFailVariable, nullptr);
        module_ = LoadLibraryW(TestEngineDllPath().c_str());
        ASSERT_NE(module_, nullptr);
        create_ = reinterpret_cast<CreateFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "CreateWebViewEnvironmentWithOptionsInternal")));
        ASSERT_NE(create_, nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"EngineTestHost";
        RegisterClassW(&wc);
        host_ = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                nullptr, wc.hInstance, nullptr);
    }

    void TearDown() override {
        if (controller_) controller_->Close();
        for (IUnknown* object :
             {static_cast<IUnknown*>(view_), static_cast<IUnknown*>(controller_), static_cast<IUnknown*>(environment_)})
            if (object) object->Release();
        for (IUnknown* handler : handlers_) handler->Release();
        DestroyWindow(host_);
        SetEnvironmentVariableW(kEngineLogVariable, nullptr);
        SetEnvironmentVariableW(kEngineFailVariable, nullptr);
    }

    template <class H, class F>
    H* Make(const IID& iid, F fn) {
        H* handler = new H(iid, fn);
        handlers_.push_back(handler);
        return handler;
    }

    // Environment, then controller and view, each completion pumped for.
    void Start() {
        bool envCalled = false;
        auto* envDone = Make<EnvDone>(IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                                      [&](HRESULT hr, ICoreWebView2Environment* env) {
                                          envCalled = true;
                                          ASSERT_EQ(hr, S_OK);
                                          environment_ = env;
                                          env->AddRef();
                                      });
        ASSERT_EQ(create_(true, 1, (dir_ / L"udf").c_str(), nullptr, envDone), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return envCalled; }));
        bool ctlCalled = false;
        auto* ctlDone = Make<CtlDone>(IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                      [&](HRESULT hr, ICoreWebView2Controller* controller) {
                                          ctlCalled = true;
                                          ASSERT_EQ(hr, S_OK);
                                          controller_ = controller;
                                          controller->AddRef();
                                      });
        ASSERT_EQ(environment_->CreateCoreWebView2Controller(host_, ctlDone), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return ctlCalled; }));
        ASSERT_EQ(controller_->get_CoreWebView2(&view_), S_OK);
        viewWindow_ = FindEngineView(host_);
        ASSERT_NE(viewWindow_, nullptr);
    }

    // Records every navigation start and completion; starts whose address
    // contains cancelMark are cancelled.
    void Watch(const std::wstring& cancelMark = L"\x1") {
        EventRegistrationToken token;
        view_->add_NavigationStarting(
            Make<OnStarting>(IID_ICoreWebView2NavigationStartingEventHandler,
                             [this, cancelMark](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                                 LPWSTR uri = nullptr;
                                 args->get_Uri(&uri);
                                 started_.push_back(TakeEngineString(uri));
                                 BOOL redirected = FALSE;
                                 args->get_IsRedirected(&redirected);
                                 redirected_.push_back(redirected);
                                 if (started_.back().find(cancelMark) != std::wstring::npos) args->put_Cancel(TRUE);
                             }),
            &token);
        view_->add_NavigationCompleted(
            Make<OnCompleted>(IID_ICoreWebView2NavigationCompletedEventHandler,
                              [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
                                  Completion c = {};
                                  args->get_NavigationId(&c.id);
                                  args->get_IsSuccess(&c.success);
                                  args->get_WebErrorStatus(&c.status);
                                  completed_.push_back(c);
                              }),
            &token);
    }

    Completion NavigateAndWait(const std::function<void()>& start) {
        size_t before = completed_.size(), startedBefore = started_.size();
        start();
        EXPECT_EQ(started_.size(), startedBefore) << "started inside the call";
        EXPECT_EQ(completed_.size(), before) << "completed inside the call";
        EXPECT_TRUE(PumpUntil([&] { return completed_.size() > before; }));
        return completed_.empty() ? Completion{} : completed_.back();
    }

    std::wstring Source() {
        LPWSTR uri = nullptr;
        view_->get_Source(&uri);
        return TakeEngineString(uri);
    }

    size_t CountLines(const std::string& line) {
        auto lines = ReadEngineLog(log_);
        return std::count(lines.begin(), lines.end(), line);
    }
    bool HasLine(const std::string& line) { return CountLines(line) > 0; }
    bool WaitLine(const std::string& line, size_t count = 1) {
        return PumpUntil([&] { return CountLines(line) >= count; }, 3000);
    }

    bool Command(const std::wstring& text) { return SendEngineCommand(viewWindow_, text); }

    ScratchDir dir_;
    std::wstring log_;
    HMODULE module_ = nullptr;
    CreateFn create_ = nullptr;
    HWND host_ = nullptr, viewWindow_ = nullptr;
    ICoreWebView2Environment* environment_ = nullptr;
    ICoreWebView2Controller* controller_ = nullptr;
    ICoreWebView2* view_ = nullptr;
    std::vector<IUnknown*> handlers_;
    std::vector<std::wstring> started_;
    std::vector<BOOL> redirected_;
    std::vector<Completion> completed_;
};

TEST_F(EngineTest, CompletionsArriveLaterEvenAfterTheLoaderUnloadsIt) {
    int calls = 0;
    auto* done = Make<EnvDone>(IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                               [&](HRESULT hr, ICoreWebView2Environment* env) {
                                   ++calls;
                                   EXPECT_EQ(hr, S_OK);
                                   environment_ = env;
                                   env->AddRef();
                               });
    std::wstring userData = dir_ / L"udf";
    ASSERT_EQ(create_(true, 1, userData.c_str(), nullptr, done), S_OK);
    EXPECT_EQ(calls, 0);
    FreeLibrary(module_);  // as the loader does; the engine must have pinned itself
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    EXPECT_TRUE(FileExists(userData));
    EXPECT_TRUE(HasLine("environment requested 1 1 " + Narrow(userData)));
    EXPECT_TRUE(HasLine("environment created"));

    ICoreWebView2Controller* controller = nullptr;
    auto* ctlDone = Make<CtlDone>(IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                  [&](HRESULT hr, ICoreWebView2Controller* c) {
                                      EXPECT_EQ(hr, S_OK);
                                      controller = c;
                                      controller_ = c;
                                      c->AddRef();
                                  });
    ASSERT_EQ(environment_->CreateCoreWebView2Controller(host_, ctlDone), S_OK);
    EXPECT_EQ(controller, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return controller != nullptr; }));
    EXPECT_TRUE(HasLine("controller created"));
}

TEST_F(EngineTest, FailSwitchMakesEachStartUpStepFail) {
    struct Case {
        const wchar_t* fail;
        HRESULT exportResult;
        bool envReported;  // environment completion reports failure
        bool ctlReported;  // controller completion reports failure
    } cases[] = {
        {L"create", E_FAIL, false, false},
        {L"environment", S_OK, true, false},
        {L"controller", S_OK, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.fail));
        SetEnvironmentVariableW(kEngineFailVariable, c.fail);
        HRESULT envResult = S_OK, ctlResult = S_OK;
        ICoreWebView2Environment* env = nullptr;
        int envCalls = 0, ctlCalls = 0;
        auto* envDone = Make<EnvDone>(IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                                      [&](HRESULT hr, ICoreWebView2Environment* e) {
                                          ++envCalls;
                                          envResult = hr;
                                          env = e;
                                          if (e) e->AddRef();
                                      });
        ASSERT_EQ(create_(true, 1, (dir_ / L"udf").c_str(), nullptr, envDone), c.exportResult);
        PumpFor(200);
        EXPECT_EQ(envCalls, c.exportResult == S_OK ? 1 : 0);
        EXPECT_EQ(FAILED(envResult) && env == nullptr, c.envReported);
        if (!env) continue;
        ICoreWebView2Controller* controller = nullptr;
        auto* ctlDone = Make<CtlDone>(IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                      [&](HRESULT hr, ICoreWebView2Controller* ctl) {
                                          ++ctlCalls;
                                          ctlResult = hr;
                                          controller = ctl;
                                      });
        env->CreateCoreWebView2Controller(host_, ctlDone);
        ASSERT_TRUE(PumpUntil([&] { return ctlCalls == 1; }));
        EXPECT_EQ(FAILED(ctlResult) && controller == nullptr, c.ctlReported);
        if (controller) controller->Close();
        env->Release();
    }
}

TEST_F(EngineTest, ViewWindowIsAChildThatFollowsBoundsVisibilityAndFocus) {
    Start();
    EXPECT_EQ(GetParent(viewWindow_), host_);
    EXPECT_FALSE(IsWindowVisible(viewWindow_));

    controller_->put_Bounds({10, 20, 310, 220});
    RECT r;
    GetWindowRect(viewWindow_, &r);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 310);
    EXPECT_EQ(r.bottom, 220);

    controller_->put_IsVisible(TRUE);
    EXPECT_TRUE(IsWindowVisible(viewWindow_));
    controller_->put_IsVisible(FALSE);
    EXPECT_FALSE(IsWindowVisible(viewWindow_));
    controller_->put_IsVisible(TRUE);
    controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    EXPECT_EQ(GetFocus(), viewWindow_);

    void* out = nullptr;
    EXPECT_EQ(view_->QueryInterface(IID_ICoreWebView2Controller, &out), E_NOINTERFACE);
    EXPECT_EQ(view_->QueryInterface(IID_IUnknown, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();

    for (const char* line : {"bounds 10,20,310,220", "visible 1", "visible 0", "focus 0"})
        EXPECT_TRUE(HasLine(line)) << line;
    controller_->Close();
    EXPECT_FALSE(IsWindow(viewWindow_));
    EXPECT_TRUE(HasLine("closed"));
}

TEST_F(EngineTest, NavigationOutcomes) {
    Start();
    Watch(L"cancel-me");
    struct Case {
        const wchar_t* uri;
        BOOL success;
        COREWEBVIEW2_WEB_ERROR_STATUS status;
        const wchar_t* sourceAfter;
    } cases[] = {
        {L"https://example.com/a", TRUE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, L"https://example.com/a"},
        {L"https://other.example/cancel-me", FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED,
         L"https://example.com/a"},
        {L"https://nowhere.invalid/x", FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED,
         L"https://nowhere.invalid/x"},
        {L"https://invalid.example/", TRUE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, L"https://invalid.example/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.uri));
        Completion done = NavigateAndWait([&] { view_->Navigate(c.uri); });
        EXPECT_EQ(started_.back(), c.uri);
        EXPECT_EQ(done.success, c.success);
        EXPECT_EQ(done.status, c.status);
        EXPECT_EQ(Source(), c.sourceAfter);
        std::string id = std::to_string(done.id);
        EXPECT_TRUE(HasLine("navigation started " + id + " " + Narrow(c.uri)));
        EXPECT_TRUE(HasLine("navigation completed " + id +
                            (c.success ? std::string(" success") : " status " + std::to_string(c.status))));
    }
    EXPECT_TRUE(HasLine("navigation cancelled 2"));
    EXPECT_TRUE(HasLine("page shown error https://nowhere.invalid/x"));
}

TEST_F(EngineTest, StringLoadedPageHasADataAddressAndShowsItsText) {
    Start();
    Watch();
    Completion done = NavigateAndWait([&] {
        view_->NavigateToString(
            L"<meta charset=utf-8><body style=\"background:#0e0f16;color:#e9eaf3\">"
            L"<h2>Hello there</h2><p style=\"color:#9a9db4\">Go to Site &rsaquo; Change.</p>");
    });
    EXPECT_TRUE(done.success);
    ASSERT_EQ(started_.size(), 1u);
    EXPECT_EQ(started_[0].rfind(L"data:text/html,", 0), 0u);
    EXPECT_EQ(Source(), started_[0]);
    EXPECT_TRUE(HasLine("page shown data: Hello there Go to Site \xE2\x80\xBA Change."));
}

TEST_F(EngineTest, HistoryBackForwardAndReload) {
    Start();
    Watch(L"cancel-me");
    for (const wchar_t* uri : {L"https://h.example/1", L"https://h.example/2", L"https://h.example/3"})
        NavigateAndWait([&] { view_->Navigate(uri); });
    struct Step {
        HRESULT (STDMETHODCALLTYPE ICoreWebView2::*move)();
        const wchar_t* source;
        BOOL canBack, canForward;
    } steps[] = {
        {&ICoreWebView2::GoBack, L"https://h.example/2", TRUE, TRUE},
        {&ICoreWebView2::GoBack, L"https://h.example/1", FALSE, TRUE},
        {&ICoreWebView2::GoForward, L"https://h.example/2", TRUE, TRUE},
        {&ICoreWebView2::Reload, L"https://h.example/2", TRUE, TRUE},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(Narrow(step.source));
        Completion done = NavigateAndWait([&] { (view_->*step.move)(); });
        EXPECT_TRUE(done.success);
        EXPECT_EQ(started_.back(), step.source);
        EXPECT_EQ(Source(), step.source);
        BOOL back = -1, forward = -1;
        view_->get_CanGoBack(&back);
        view_->get_CanGoForward(&forward);
        EXPECT_EQ(back, step.canBack);
        EXPECT_EQ(forward, step.canForward);
    }
    // A new page drops the forward entries; a cancelled one changes nothing.
    NavigateAndWait([&] { view_->Navigate(L"https://h.example/4"); });
    NavigateAndWait([&] { view_->Navigate(L"https://h.example/cancel-me"); });
    BOOL forward = TRUE;
    view_->get_CanGoForward(&forward);
    EXPECT_FALSE(forward);
    NavigateAndWait([&] { view_->GoBack(); });
    EXPECT_EQ(Source(), L"https://h.example/2");
}

TEST_F(EngineTest, RedirectRaisesNavigationStartingForEachHop) {
    Start();
    Watch(L"cancel-me");
    ASSERT_TRUE(Command(L"redirect https://r.example/a https://r.example/b https://r.example/c"));
    ASSERT_TRUE(PumpUntil([&] { return completed_.size() == 1; }));
    EXPECT_EQ(started_,
              (std::vector<std::wstring>{L"https://r.example/a", L"https://r.example/b", L"https://r.example/c"}));
    EXPECT_EQ(redirected_, (std::vector<BOOL>{FALSE, TRUE, TRUE}));
    EXPECT_TRUE(completed_[0].success);
    EXPECT_EQ(Source(), L"https://r.example/c");

    started_.clear();
    ASSERT_TRUE(Command(L"redirect https://r.example/d https://x.example/cancel-me https://r.example/e"));
    ASSERT_TRUE(PumpUntil([&] { return completed_.size() == 2; }));
    EXPECT_EQ(started_.size(), 2u);
    EXPECT_EQ(completed_[1].status, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    EXPECT_EQ(Source(), L"https://r.example/c");
}

TEST_F(EngineTest, ResourceFiltersMatchWholeAddressGlobs) {
    Start();
    view_->AddWebResourceRequestedFilter(L"*://ads.example/*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    view_->AddWebResourceRequestedFilter(L"https://cdn?.example/*.js", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT);
    std::vector<std::wstring> raised;
    EventRegistrationToken token;
    view_->add_WebResourceRequested(
        Make<OnResource>(IID_ICoreWebView2WebResourceRequestedEventHandler,
                         [&](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
                             ICoreWebView2WebResourceRequest* request = nullptr;
                             args->get_Request(&request);
                             LPWSTR uri = nullptr;
                             request->get_Uri(&uri);
                             raised.push_back(TakeEngineString(uri));
                             request->Release();
                             if (raised.back().find(L"cdn") != std::wstring::npos) return;
                             ICoreWebView2WebResourceResponse* response = nullptr;
                             environment_->CreateWebResourceResponse(nullptr, 403, L"Blocked", L"", &response);
                             args->put_Response(response);
                             response->Release();
                         }),
        &token);
    struct Case {
        const wchar_t* uri;
        int context;
        const char* outcome;
    } cases[] = {
        {L"https://ads.example/banner.png", 3, "resource answered 403 Blocked"},
        {L"http://ADS.example/x?y", 16, "resource answered 403 Blocked"},
        {L"https://ads.example", 3, "resource to network"},  // no "/" after the host
        {L"https://sub.ads.example/x", 3, "resource to network"},
        {L"https://cdn1.example/lib.js", 6, "resource to network"},   // event raised, no response
        {L"https://cdn1.example/lib.js", 3, "resource to network"},   // a script filter: not for an image
        {L"https://cdn12.example/lib.js", 6, "resource to network"},  // '?' is one character
        {L"https://cdn1.example/lib.css", 6, "resource to network"},
    };
    const std::vector<std::wstring> matching = {L"https://ads.example/banner.png", L"http://ADS.example/x?y",
                                                L"https://cdn1.example/lib.js"};
    for (const Case& c : cases) {
        size_t before = CountLines(std::string(c.outcome) + " " + Narrow(c.uri));
        ASSERT_TRUE(Command(L"request " + std::wstring(c.uri) + L" " + std::to_wstring(c.context)));
        EXPECT_TRUE(WaitLine(std::string(c.outcome) + " " + Narrow(c.uri), before + 1)) << Narrow(c.uri);
    }
    EXPECT_EQ(raised, matching);
    EXPECT_TRUE(HasLine("filter added *://ads.example/* 0"));
    EXPECT_TRUE(HasLine("filter added https://cdn?.example/*.js 6"));
}

// Which sources a filter reaches: the first call only the main frame and its
// same-origin frames, the call with source kinds those it names. The newer
// call is reached through its slot number (123), as the SDK lays it out.
TEST_F(EngineTest, FiltersReachTheSourcesTheirCallNames) {
    Start();
    ICoreWebView2_22* view22 = nullptr;
    ASSERT_EQ(view_->QueryInterface(IID_ICoreWebView2_22, reinterpret_cast<void**>(&view22)), S_OK);
    for (const IID* iid : {&IID_ICoreWebView2_2, &IID_ICoreWebView2_13, &IID_ICoreWebView2_21, &IID_ICoreWebView2_23,
                           &IID_ICoreWebView2_24}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(view_->QueryInterface(*iid, reinterpret_cast<void**>(&same)), S_OK);
        EXPECT_EQ(same, static_cast<IUnknown*>(view22));
        if (same) same->Release();
    }
    using AddWithKinds = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_22*, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT,
                                                      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS);
    auto add = reinterpret_cast<AddWithKinds>((*reinterpret_cast<void***>(view22))[123]);
    EXPECT_EQ(add(view22, L"*://kinds.example/*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
                  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT),
              S_OK);
    view22->Release();
    view_->AddWebResourceRequestedFilter(L"*://plain.example/*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    EXPECT_TRUE(HasLine("filter added *://kinds.example/* 0 sources 1"));

    const struct {
        const char* host;
        const char* source;
        bool reported;
    } kCases[] = {
        {"plain.example", "frame", true},           {"plain.example", "cross-frame", false},
        {"plain.example", "worker", false},         {"plain.example", "service-worker", false},
        {"kinds.example", "frame", true},           {"kinds.example", "cross-frame", true},
        {"kinds.example", "worker", true},          {"kinds.example", "shared-worker", false},
        {"kinds.example", "service-worker", false},
    };
    for (const auto& c : kCases) {
        std::string uri = std::string("https://") + c.host + "/" + c.source;
        ASSERT_TRUE(Command(L"request " + Wide(uri) + L" 3 " + Wide(c.source)));
        EXPECT_TRUE(WaitLine("resource to network " + uri)) << uri;
        EXPECT_EQ(HasLine("resource event 3 " + uri), c.reported) << uri;
    }
}

// A sign-in challenge or a bad certificate takes an address past a cancel,
// as in the runtime; the events, registered through their slots (97 and
// 106) as the SDK lays them out, decide what follows. The handlers answer
// by the last word of the address.
TEST_F(EngineTest, SignInAndCertificateEventsGoPastACancelAndCarryOutTheAnswer) {
    Start();
    Watch(L"/");  // every navigation is cancelled
    ICoreWebView2_22* view22 = nullptr;
    ASSERT_EQ(view_->QueryInterface(IID_ICoreWebView2_22, reinterpret_cast<void**>(&view22)), S_OK);
    void** slots = *reinterpret_cast<void***>(view22);
    using AddAuth = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_22*, ICoreWebView2BasicAuthenticationRequestedEventHandler*,
                                                 EventRegistrationToken*);
    using AddCertificate = HRESULT(STDMETHODCALLTYPE*)(
        ICoreWebView2_22*, ICoreWebView2ServerCertificateErrorDetectedEventHandler*, EventRegistrationToken*);
    std::vector<std::wstring> details;
    EventRegistrationToken token;
    EXPECT_EQ(reinterpret_cast<AddAuth>(slots[97])(
                  view22,
                  Make<OnAuth>(IID_ICoreWebView2BasicAuthenticationRequestedEventHandler,
                               [&](ICoreWebView2*, ICoreWebView2BasicAuthenticationRequestedEventArgs* args) {
                                   LPWSTR uri = nullptr, challenge = nullptr;
                                   args->get_Uri(&uri);
                                   args->get_Challenge(&challenge);
                                   std::wstring address = TakeEngineString(uri);
                                   details.push_back(TakeEngineString(challenge));
                                   ICoreWebView2BasicAuthenticationResponse* response = nullptr;
                                   args->get_Response(&response);
                                   if (address.ends_with(L"deny")) args->put_Cancel(TRUE);
                                   if (address.ends_with(L"user")) response->put_UserName(L"someone");
                                   response->Release();
                               }),
                  &token),
              S_OK);
    EXPECT_EQ(reinterpret_cast<AddCertificate>(slots[106])(
                  view22,
                  Make<OnCertificate>(IID_ICoreWebView2ServerCertificateErrorDetectedEventHandler,
                                      [&](ICoreWebView2*, ICoreWebView2ServerCertificateErrorDetectedEventArgs* args) {
                                          LPWSTR uri = nullptr;
                                          COREWEBVIEW2_WEB_ERROR_STATUS status = {};
                                          args->get_RequestUri(&uri);
                                          args->get_ErrorStatus(&status);
                                          std::wstring address = TakeEngineString(uri);
                                          details.push_back(std::to_wstring(status));
                                          if (address.ends_with(L"deny"))
                                              args->put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL);
                                          if (address.ends_with(L"allow"))
                                              args->put_Action(COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_ALWAYS_ALLOW);
                                      }),
                  &token),
              S_OK);
    view22->Release();

    const struct {
        const char* command;
        const wchar_t* detail;  // the challenge, or the certificate's error status
        const char* answer;
        const char* shown;  // the page that shows, or null: the shown page stays
        BOOL success;
        COREWEBVIEW2_WEB_ERROR_STATUS status;
    } kCases[] = {
        {"auth https://a.example/deny", L"Basic realm=\"a.example\"", "sign-in cancelled",
         "page shown https://a.example/deny", FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN},  // the server's 401 page
        {"auth https://a.example/user", L"Basic realm=\"a.example\"", "sign-in answered",
         "page shown https://a.example/user", TRUE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN},
        {"auth https://a.example/dialog", L"Basic realm=\"a.example\"", "sign-in left to the dialog",
         "page shown https://a.example/dialog", TRUE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN},
        {"certerror https://b.example/deny", L"5", "certificate action cancel", nullptr, FALSE,
         COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED},
        {"certerror https://b.example/warn", L"5", "certificate action default", "page shown error https://b.example/warn",
         FALSE, COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID},
        {"certerror https://b.example/allow", L"5", "certificate action always allow",
         "page shown https://b.example/allow", TRUE, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN},
    };
    for (const auto& c : kCases) {
        std::string command = c.command, uri = command.substr(command.find(' ') + 1);
        SCOPED_TRACE(command);
        details.clear();
        std::wstring before = Source();
        Completion done = NavigateAndWait([&] { ASSERT_TRUE(Command(Wide(command))); });
        EXPECT_EQ(details, std::vector<std::wstring>{c.detail});
        EXPECT_TRUE(HasLine("navigation cancelled " + std::to_string(done.id)));
        EXPECT_TRUE(HasLine(std::string(c.answer) + " " + uri));
        EXPECT_TRUE(!c.shown || HasLine(c.shown));
        EXPECT_EQ(Source(), c.shown ? Wide(uri) : before);
        EXPECT_EQ(done.success, c.success);
        EXPECT_EQ(done.status, c.status);
    }
}

TEST_F(EngineTest, PopupIsSwallowedOnlyWhenHandled) {
    Start();
    EventRegistrationToken token;
    view_->add_NewWindowRequested(Make<OnNewWindow>(IID_ICoreWebView2NewWindowRequestedEventHandler,
                                                    [](ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) {
                                                        LPWSTR uri = nullptr;
                                                        args->get_Uri(&uri);
                                                        if (TakeEngineString(uri).find(L"swallow") != std::wstring::npos)
                                                            args->put_Handled(TRUE);
                                                    }),
                                  &token);
    struct Case {
        const wchar_t* uri;
        const char* outcome;
        bool window;
    } cases[] = {
        {L"https://p.example/swallow", "popup swallowed", false},
        {L"https://p.example/open", "popup opened", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.uri));
        ASSERT_TRUE(Command(L"popup " + std::wstring(c.uri)));
        EXPECT_TRUE(WaitLine(std::string(c.outcome) + " " + Narrow(c.uri)));
        HWND popup = FindWindowW(kEnginePopupClass, c.uri);
        EXPECT_EQ(popup != nullptr, c.window);
        if (popup) DestroyWindow(popup);
    }
}

TEST_F(EngineTest, FullscreenElementChangesRaiseTheEvent) {
    Start();
    std::vector<BOOL> seen;
    EventRegistrationToken token;
    view_->add_ContainsFullScreenElementChanged(
        Make<OnFullscreen>(IID_ICoreWebView2ContainsFullScreenElementChangedEventHandler,
                           [&](ICoreWebView2* sender, IUnknown*) {
                               BOOL contains = -1;
                               sender->get_ContainsFullScreenElement(&contains);
                               seen.push_back(contains);
                           }),
        &token);
    for (const wchar_t* command : {L"fullscreen on", L"fullscreen on", L"fullscreen off"})
        ASSERT_TRUE(Command(command));
    ASSERT_TRUE(WaitLine("fullscreen element off"));
    EXPECT_EQ(seen, (std::vector<BOOL>{TRUE, FALSE}));  // the repeated "on" changed nothing
    EXPECT_TRUE(HasLine("fullscreen element on unchanged"));

    // Esc that reaches the page (no handler took it) ends the page's fullscreen element.
    ASSERT_TRUE(Command(L"fullscreen on"));
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
    PostMessageW(viewWindow_, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 4; }));
    EXPECT_EQ(seen.back(), FALSE);
}

TEST_F(EngineTest, AcceleratorKeysReachTheHandlerFirst) {
    Start();
    controller_->put_IsVisible(TRUE);
    controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    std::vector<std::pair<COREWEBVIEW2_KEY_EVENT_KIND, UINT>> seen;
    EventRegistrationToken token;
    // The handler takes F11 key-downs only.
    controller_->add_AcceleratorKeyPressed(
        Make<OnKey>(IID_ICoreWebView2AcceleratorKeyPressedEventHandler,
                    [&](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
                        COREWEBVIEW2_KEY_EVENT_KIND kind;
                        UINT key = 0;
                        args->get_KeyEventKind(&kind);
                        args->get_VirtualKey(&key);
                        seen.push_back({kind, key});
                        if (key == VK_F11 && kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN) args->put_Handled(TRUE);
                    }),
        &token);
    struct Case {
        UINT message;
        UINT key;
        bool raised;
        const char* line;
    } cases[] = {
        {WM_KEYDOWN, VK_F11, true, "key handled 122 0"},   {WM_KEYUP, VK_F11, true, "key to page 122 1"},
        {WM_KEYDOWN, VK_ESCAPE, true, "key to page 27 0"}, {WM_SYSKEYDOWN, VK_HOME, true, "key to page 36 2"},
        {WM_KEYDOWN, 'A', false, "key to page 65 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        seen.clear();
        PostMessageW(viewWindow_, c.message, c.key, 1);
        EXPECT_TRUE(WaitLine(c.line));
        EXPECT_EQ(seen.size(), c.raised ? 1u : 0u);
        if (!seen.empty()) {
            EXPECT_EQ(seen[0].second, c.key);
        }
    }
}

// Loads that bring no document fail and leave the page; a real failure
// commits the engine's error page first; a download is told of (through
// slot 75, as the SDK lays it out) only after its navigation has completed.
TEST_F(EngineTest, LoadsWithoutADocumentKeepThePageAndADownloadFollowsItsCompletion) {
    using OnLoading = Callback<ICoreWebView2ContentLoadingEventHandler, ICoreWebView2*,
                               ICoreWebView2ContentLoadingEventArgs*>;
    using OnDownload = Callback<ICoreWebView2DownloadStartingEventHandler, ICoreWebView2*,
                                ICoreWebView2DownloadStartingEventArgs*>;
    using AddDownload = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_22*, ICoreWebView2DownloadStartingEventHandler*,
                                                     EventRegistrationToken*);
    Start();
    Watch(L"never");
    std::vector<std::string> events;  // what the handlers saw, in order
    EventRegistrationToken token;
    view_->add_ContentLoading(Make<OnLoading>(IID_ICoreWebView2ContentLoadingEventHandler,
                                              [&](ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs* args) {
                                                  UINT64 id = 0;
                                                  BOOL error = FALSE;
                                                  args->get_NavigationId(&id);
                                                  args->get_IsErrorPage(&error);
                                                  events.push_back("loading " + std::to_string(id) +
                                                                   (error ? " error" : ""));
                                              }),
                              &token);
    ICoreWebView2_22* view22 = nullptr;
    ASSERT_EQ(view_->QueryInterface(IID_ICoreWebView2_22, reinterpret_cast<void**>(&view22)), S_OK);
    void** slots = *reinterpret_cast<void***>(view22);
    EXPECT_EQ(reinterpret_cast<AddDownload>(slots[75])(
                  view22,
                  Make<OnDownload>(IID_ICoreWebView2DownloadStartingEventHandler,
                                   [&](ICoreWebView2*, ICoreWebView2DownloadStartingEventArgs* args) {
                                       LPWSTR path = nullptr;
                                       args->get_ResultFilePath(&path);
                                       std::string file = Narrow(TakeEngineString(path));
                                       events.push_back("download after " + std::to_string(completed_.size()) +
                                                        " completions " + file);
                                       if (file.ends_with("refused.bin")) args->put_Cancel(TRUE);
                                   }),
                  &token),
              S_OK);
    view22->Release();
    NavigateAndWait([&] { view_->Navigate(L"https://a.example/"); });

    const struct {
        const char* command;
        COREWEBVIEW2_WEB_ERROR_STATUS status;
        const char* event;  // what follows the completion, or the error page before it; "" for nothing
    } kCases[] = {
        {"download https://a.example/report.bin", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED,
         "download after N completions C:\\Downloads\\report.bin"},
        {"download https://a.example/refused.bin", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED,
         "download after N completions C:\\Downloads\\refused.bin"},
        {"abort 14 https://a.example/empty", COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED, ""},
        {"abort 9 https://a.example/launch", COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED, ""},
        {"fail 12 https://a.example/down", COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT, "loading N error"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.command);
        events.clear();
        std::wstring before = Source();
        Completion done = NavigateAndWait([&] { ASSERT_TRUE(Command(Wide(c.command))); });
        PumpFor(100);  // anything that follows the completion
        EXPECT_FALSE(done.success);
        EXPECT_EQ(done.status, c.status);
        std::string event = c.event;
        if (!event.empty()) {
            size_t n = event.find(" N");
            // The error page of this navigation; a download after this navigation's completion.
            event.replace(n, 2, " " + std::to_string(event.starts_with("loading") ? done.id : completed_.size()));
        }
        EXPECT_EQ(events, event.empty() ? std::vector<std::string>{} : std::vector<std::string>{event});
        EXPECT_EQ(Source() == before, !event.starts_with("loading"));  // only an error page replaces the page
    }
    EXPECT_TRUE(HasLine("download cancelled https://a.example/refused.bin"));
    EXPECT_FALSE(HasLine("download cancelled https://a.example/report.bin"));
}

// A script added for the documents to come reaches none already shown, as
// the runtime has it (a kiosk's script added too late would leave its first
// page the runtime's dialogs), and its id is answered later.
TEST_F(EngineTest, DocumentScriptsReachOnlyTheDocumentsMadeAfterThem) {
    Start();
    Watch();
    NavigateAndWait([&] { view_->Navigate(L"https://a.example/"); });
    using ScriptDone = Callback<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, HRESULT, LPCWSTR>;
    std::wstring id;
    ASSERT_EQ(view_->AddScriptToExecuteOnDocumentCreated(
                  L"print = () => {}", Make<ScriptDone>(IID_IUnknown, [&](HRESULT, LPCWSTR given) { id = given; })),
              S_OK);
    EXPECT_TRUE(id.empty());
    EXPECT_TRUE(PumpUntil([&] { return !id.empty(); }));
    const struct {
        const wchar_t* command;
        const char* line;
    } kSteps[] = {
        {L"opens print", "runtime dialog print"},
        {L"link https://a.example/next", "page shown https://a.example/next"},
        {L"opens print", "page call stopped print"},
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(Narrow(step.command));
        size_t before = CountLines(step.line);
        ASSERT_TRUE(Command(step.command));
        EXPECT_TRUE(WaitLine(step.line, before + 1));
    }
    EXPECT_EQ(CountLines("runtime dialog print"), 1u);
}

TEST_F(EngineTest, ControlChannelRejectsMalformedCommands) {
    Start();
    struct Case {
        const wchar_t* text;
        bool understood;
    } cases[] = {
        {L"link https://c.example/", true},         {L"link", false},
        {L"redirect https://c.example/", false},    {L"fail 13 https://c.example/", true},
        {L"fail 99 https://c.example/", false},     {L"request https://c.example/x 3", true},
        {L"request https://c.example/x 17", false}, {L"fullscreen maybe", false},
        {L"jump https://c.example/", false},       {L"download", false},
        {L"abort 0 https://c.example/", false},   {L"permission 13", false},
        {L"permission 4 https://f.example/ script x", false}, {L"favicon https://c.example/i.png #12", false},
        {L"framelink", false}, {L"framelink tel:1 click", false}, {L"redirects https://c.example/", true},
        {L"opens files", false},
    };
    for (const Case& c : cases) EXPECT_EQ(Command(c.text), c.understood) << Narrow(c.text);

    COPYDATASTRUCT other = {1, 8, const_cast<wchar_t*>(L"link x")};
    EXPECT_FALSE(SendMessageW(viewWindow_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)));
}

}  // namespace

namespace {

// The answers to a page's permission requests, each row from an origin of its
// own: the handler's state (put after a deferral, or at once), whether it is
// saved in the profile, what the page is told, and whether asking again
// raises the event again.
TEST_F(EngineTest, PermissionAnswersAreCarriedOutAndSavedAsAsked) {
    const struct {
        const char* origin;
        COREWEBVIEW2_PERMISSION_KIND kind;
        COREWEBVIEW2_PERMISSION_STATE state;
        bool defer;
        BOOL saves;
        const char* result;
        bool prompt;       // the runtime's own prompt stands in, which the engine refuses
        bool askedAgain;
    } kCases[] = {
        {"https://once.example/", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, COREWEBVIEW2_PERMISSION_STATE_ALLOW, false, FALSE,
         "granted", false, true},
        {"https://later.example/", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, COREWEBVIEW2_PERMISSION_STATE_DENY, true, FALSE,
         "denied", false, true},
        {"https://kept-deny.example/", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, COREWEBVIEW2_PERMISSION_STATE_DENY, false,
         TRUE, "denied", false, false},
        {"https://kept-allow.example/", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, COREWEBVIEW2_PERMISSION_STATE_ALLOW, true,
         TRUE, "granted", false, false},
        {"https://left.example/", COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, COREWEBVIEW2_PERMISSION_STATE_DEFAULT, false,
         TRUE, "denied", false, true},
        {"https://camera.example/", COREWEBVIEW2_PERMISSION_KIND_CAMERA, COREWEBVIEW2_PERMISSION_STATE_DEFAULT, false, TRUE,
         "denied", true, true},
    };
    Start();
    std::vector<std::string> asked;  // "<uri> <kind> <user>"
    ICoreWebView2Deferral* deferral = nullptr;
    EventRegistrationToken token;
    ASSERT_EQ(view_->add_PermissionRequested(
                  Make<OnPermission>(
                      IID_ICoreWebView2PermissionRequestedEventHandler,
                      [&](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
                          LPWSTR uri = nullptr;
                          COREWEBVIEW2_PERMISSION_KIND kind = {};
                          BOOL user = -1;
                          args->get_Uri(&uri);
                          args->get_PermissionKind(&kind);
                          args->get_IsUserInitiated(&user);
                          std::string origin = Narrow(TakeEngineString(uri));
                          asked.push_back(origin + " " + std::to_string(kind) + " " + std::to_string(user));
                          for (const auto& c : kCases) {
                              if (origin != c.origin) continue;
                              ICoreWebView2PermissionRequestedEventArgs3* args3 = nullptr;
                              ASSERT_EQ(args->QueryInterface(IID_ICoreWebView2PermissionRequestedEventArgs3,
                                                             reinterpret_cast<void**>(&args3)),
                                        S_OK);
                              args3->put_SavesInProfile(c.saves);
                              args3->Release();
                              if (c.defer) args->GetDeferral(&deferral);
                              args->put_State(c.state);  // read only once the deferral completes
                          }
                      }),
                  &token),
              S_OK);
    for (const auto& c : kCases) {
        std::string origin = c.origin, kind = std::to_string(c.kind);
        SCOPED_TRACE(origin);
        asked.clear();
        ASSERT_TRUE(Command(L"permission " + Wide(kind) + L" " + Wide(origin.substr(0, origin.size() - 1))));
        ASSERT_TRUE(PumpUntil([&] { return asked.size() == 1; }));
        EXPECT_EQ(asked[0], origin + " " + kind + " 1");
        if (c.defer) {
            PumpFor(100);
            EXPECT_FALSE(HasLine("permission result " + std::string(c.result) + " " + kind + " " + origin))
                << "answered before the deferral completed";
            ASSERT_NE(deferral, nullptr);
            EXPECT_EQ(deferral->Complete(), S_OK);
            deferral->Release();
            deferral = nullptr;
        }
        EXPECT_TRUE(WaitLine("permission result " + std::string(c.result) + " " + kind + " " + origin));
        EXPECT_EQ(HasLine("permission prompt " + kind + " " + origin), c.prompt);
        // The page asks again, by its script alone.
        std::string result = "permission result " + std::string(c.result) + " " + kind + " " + origin;
        ASSERT_TRUE(Command(L"permission " + Wide(kind) + L" " + Wide(origin) + L" script"));
        ASSERT_TRUE(PumpUntil([&] { return deferral || CountLines(result) == 2; }));
        if (deferral) {
            deferral->Complete();
            deferral->Release();
            deferral = nullptr;
        }
        EXPECT_TRUE(WaitLine(result, 2));
        EXPECT_EQ(asked.size(), c.askedAgain ? 2u : 1u);
        if (asked.size() == 2) {
            EXPECT_EQ(asked[1], origin + " " + kind + " 0");
        }
        EXPECT_EQ(HasLine("permission remembered " + std::string(c.state == COREWEBVIEW2_PERMISSION_STATE_ALLOW ? "allow" : "deny") +
                          " " + kind + " " + origin),
                  !c.askedAgain);
    }
}

// States the profile keeps, set through the slots the SDK lays out (105 of
// the view, 15 of the profile), each after ALLOW: the page's request is
// answered from them at once, in this environment and in the next one on the
// same folder; DEFAULT takes one away; an address without an origin is refused.
TEST_F(EngineTest, ProfileStatesAnswerRequestsAndOutliveTheEnvironment) {
    using GetProfile = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_13*, ICoreWebView2Profile**);
    using SetState = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2Profile4*, COREWEBVIEW2_PERMISSION_KIND, LPCWSTR,
                                                 COREWEBVIEW2_PERMISSION_STATE,
                                                 ICoreWebView2SetPermissionStateCompletedHandler*);
    const struct {
        const wchar_t* origin;
        COREWEBVIEW2_PERMISSION_STATE state;
        const char* answer;  // how the page's request is answered then; null: refused
    } kCases[] = {
        {L"https://Allowed.example:443/any?x", COREWEBVIEW2_PERMISSION_STATE_ALLOW,
         "permission remembered allow 4 https://allowed.example/"},
        {L"https://denied.example", COREWEBVIEW2_PERMISSION_STATE_DENY, "permission remembered deny 4 https://denied.example/"},
        {L"https://asks.example", COREWEBVIEW2_PERMISSION_STATE_DEFAULT, "permission requested 4 script https://asks.example/"},
        {L"data:text/html,x", COREWEBVIEW2_PERMISSION_STATE_ALLOW, nullptr},
    };
    for (bool again : {false, true}) {
        SCOPED_TRACE(again ? "the next environment" : "the same environment");
        Start();
        ICoreWebView2_13* view13 = nullptr;
        ICoreWebView2Profile* profile = nullptr;
        ICoreWebView2Profile4* profile4 = nullptr;
        ASSERT_EQ(view_->QueryInterface(IID_ICoreWebView2_13, reinterpret_cast<void**>(&view13)), S_OK);
        ASSERT_EQ(reinterpret_cast<GetProfile>((*reinterpret_cast<void***>(view13))[105])(view13, &profile), S_OK);
        ASSERT_EQ(profile->QueryInterface(IID_ICoreWebView2Profile4, reinterpret_cast<void**>(&profile4)), S_OK);
        auto set = reinterpret_cast<SetState>((*reinterpret_cast<void***>(profile4))[15]);
        for (const auto& c : kCases) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(c.origin)));
            if (!again) {
                set(profile4, COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, c.origin, COREWEBVIEW2_PERMISSION_STATE_ALLOW,
                    nullptr);
                EXPECT_EQ(set(profile4, COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, c.origin, c.state, nullptr),
                          c.answer ? S_OK : E_INVALIDARG);
            }
            if (!c.answer) continue;
            size_t answers = CountLines(c.answer);
            ASSERT_TRUE(Command(L"permission 4 " + std::wstring(c.origin) + L" script"));
            EXPECT_TRUE(WaitLine(c.answer, answers + 1));
        }
        for (IUnknown* object : std::initializer_list<IUnknown*>{profile4, profile, view13, view_, controller_}) object->Release();
        environment_->Release();
        view_ = nullptr, controller_ = nullptr, environment_ = nullptr;
    }
}

// A profile deleted while its browser runs can't be made again, in any case
// of its name, while that browser runs: the completion refuses it as the
// runtime does. Other names can be made meanwhile.
TEST_F(EngineTest, AProfileWhoseDeletionIsPendingIsRefusedWhileItsBrowserRuns) {
    Start();  // the folder's browser runs on while this environment lives
    ICoreWebView2Environment10* environment10 = nullptr;
    auto make = [&](const wchar_t* name) {
        ICoreWebView2ControllerOptions* options = nullptr;
        EXPECT_EQ(environment10->CreateCoreWebView2ControllerOptions(&options), S_OK);
        options->put_ProfileName(name);
        HRESULT result = S_FALSE;
        ICoreWebView2Controller* made = nullptr;
        auto* done = Make<CtlDone>(IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                   [&](HRESULT hr, ICoreWebView2Controller* controller) {
                                       result = hr;
                                       if ((made = controller)) made->AddRef();
                                   });
        EXPECT_EQ(environment10->CreateCoreWebView2ControllerWithOptions(host_, options, done), S_OK);
        options->Release();
        EXPECT_TRUE(PumpUntil([&] { return result != S_FALSE; }));
        return std::pair{result, made};
    };
    ASSERT_EQ(environment_->QueryInterface(IID_ICoreWebView2Environment10, reinterpret_cast<void**>(&environment10)),
              S_OK);
    auto [made, gone] = make(L"Gone");
    ASSERT_EQ(made, S_OK);
    ICoreWebView2* view = nullptr;
    ICoreWebView2_13* view13 = nullptr;
    ICoreWebView2Profile* profile = nullptr;
    ICoreWebView2Profile8* profile8 = nullptr;
    ASSERT_EQ(gone->get_CoreWebView2(&view), S_OK);
    ASSERT_EQ(view->QueryInterface(IID_ICoreWebView2_13, reinterpret_cast<void**>(&view13)), S_OK);
    ASSERT_EQ(view13->get_Profile(&profile), S_OK);
    ASSERT_EQ(profile->QueryInterface(IID_ICoreWebView2Profile8, reinterpret_cast<void**>(&profile8)), S_OK);
    ASSERT_EQ(profile8->Delete(), S_OK);
    for (IUnknown* object : std::initializer_list<IUnknown*>{profile8, profile, view13, view, gone}) object->Release();
    const struct {
        const wchar_t* name;
        HRESULT result;
    } kCases[] = {
        {L"Gone", static_cast<HRESULT>(0x8007012fu)},  // ERROR_DELETE_PENDING
        {L"gONE", static_cast<HRESULT>(0x8007012fu)},
        {L"Gone2", S_OK},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        auto [result, controller] = make(c.name);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(controller != nullptr, SUCCEEDED(c.result));
        if (controller) controller->Close(), controller->Release();
    }
    environment10->Release();
}

// A page kept open: its title and icon as they change, and a notification it
// may show once allowed, which the program shows and reports back on (or
// leaves to the runtime). The newer events are reached through their slots
// (109, 112, 126), as the SDK lays them out.
TEST_F(EngineTest, APageTitlesItselfNamesItsIconAndNotifiesOnceAllowed) {
    using AddFavicon = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_24*, ICoreWebView2FaviconChangedEventHandler*,
                                                    EventRegistrationToken*);
    using GetFavicon = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_24*, COREWEBVIEW2_FAVICON_IMAGE_FORMAT,
                                                    ICoreWebView2GetFaviconCompletedHandler*);
    using AddNotification = HRESULT(STDMETHODCALLTYPE*)(ICoreWebView2_24*, ICoreWebView2NotificationReceivedEventHandler*,
                                                         EventRegistrationToken*);
    Start();
    std::vector<std::wstring> titles, icons, received;
    std::vector<ICoreWebView2Notification*> kept;
    int closeRequests = 0;
    EventRegistrationToken token;
    view_->add_DocumentTitleChanged(Make<OnTitleChange>(IID_ICoreWebView2DocumentTitleChangedEventHandler,
                                                       [&](ICoreWebView2* sender, IUnknown*) {
                                                           LPWSTR title = nullptr;
                                                           sender->get_DocumentTitle(&title);
                                                           titles.push_back(TakeEngineString(title));
                                                       }),
                                    &token);
    view_->add_PermissionRequested(Make<OnPermission>(IID_ICoreWebView2PermissionRequestedEventHandler,
                                                      [](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
                                                          args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
                                                      }),
                                   &token);
    ICoreWebView2_24* view24 = nullptr;
    ASSERT_EQ(view_->QueryInterface(IID_ICoreWebView2_24, reinterpret_cast<void**>(&view24)), S_OK);
    void** slots = *reinterpret_cast<void***>(view24);
    EXPECT_EQ(reinterpret_cast<AddFavicon>(slots[109])(
                  view24,
                  Make<OnFavicon>(IID_ICoreWebView2FaviconChangedEventHandler,
                                  [&](ICoreWebView2*, IUnknown*) {
                                      LPWSTR uri = nullptr;
                                      view24->get_FaviconUri(&uri);
                                      icons.push_back(TakeEngineString(uri));
                                  }),
                  &token),
              S_OK);
    // The program shows the notifications whose title begins with "Mine" itself.
    auto* onCloseRequested = Make<OnCloseRequested>(IID_ICoreWebView2NotificationCloseRequestedEventHandler,
                                                    [&](ICoreWebView2Notification*, IUnknown*) { ++closeRequests; });
    EXPECT_EQ(reinterpret_cast<AddNotification>(slots[126])(
                  view24,
                  Make<OnNotification>(
                      IID_ICoreWebView2NotificationReceivedEventHandler,
                      [&](ICoreWebView2*, ICoreWebView2NotificationReceivedEventArgs* args) {
                          LPWSTR origin = nullptr, title = nullptr, body = nullptr;
                          ICoreWebView2Notification* notification = nullptr;
                          args->get_SenderOrigin(&origin);
                          args->get_Notification(&notification);
                          notification->get_Title(&title);
                          notification->get_Body(&body);
                          received.push_back(TakeEngineString(origin) + L" " + TakeEngineString(title) + L": " + TakeEngineString(body));
                          if (received.back().find(L" Mine") == std::wstring::npos) {
                              notification->Release();
                              return;
                          }
                          args->put_Handled(TRUE);
                          EventRegistrationToken closeToken;
                          notification->add_CloseRequested(onCloseRequested, &closeToken);
                          kept.push_back(notification);
                      }),
                  &token),
              S_OK);

    Watch();
    NavigateAndWait([&] { view_->Navigate(L"https://n.example/inbox"); });
    EXPECT_EQ(titles, std::vector<std::wstring>{L"https://n.example/inbox"});
    for (const wchar_t* command : {L"notify Early", L"permission 4", L"notify Mine Three new messages  from Ada",
                                   L"notify Theirs", L"notify MineToo", L"title Inbox (3)", L"title Inbox (3)",
                                   L"favicon https://n.example/icon.png #ff0000"})
        ASSERT_TRUE(Command(command));
    ASSERT_TRUE(WaitLine("favicon changed https://n.example/icon.png"));
    EXPECT_TRUE(HasLine("notification refused Early"));
    EXPECT_TRUE(HasLine("notification shown by runtime Theirs"));
    EXPECT_EQ(received, (std::vector<std::wstring>{L"https://n.example/ Mine: Three new messages from Ada",
                                                   L"https://n.example/ Theirs: ", L"https://n.example/ MineToo: "}));
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0]->ReportShown(), S_OK);
    EXPECT_EQ(kept[0]->ReportClicked(), S_OK);
    EXPECT_EQ(kept[0]->ReportClosed(), S_OK);
    EXPECT_NE(kept[0]->ReportClicked(), S_OK);  // it is gone
    for (const char* line : {"notification shown Mine", "notification clicked Mine", "notification closed Mine"})
        EXPECT_TRUE(HasLine(line)) << line;
    ASSERT_TRUE(Command(L"notify-close MineToo"));
    ASSERT_TRUE(PumpUntil([&] { return closeRequests == 1; }));
    EXPECT_FALSE(Command(L"notify-close Nobody"));
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"https://n.example/inbox", L"Inbox (3)"}));
    EXPECT_EQ(icons, std::vector<std::wstring>{L"https://n.example/icon.png"});

    // The icon as the program asks for it: PNG or JPEG bytes.
    for (auto [format, magic] : {std::pair{COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG, std::string("\x89PNG")},
                                 std::pair{COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG, std::string("\xFF\xD8")}}) {
        std::string bytes = "none";
        ASSERT_EQ(reinterpret_cast<GetFavicon>(slots[112])(view24, format,
                                                          Make<FaviconDone>(IID_ICoreWebView2GetFaviconCompletedHandler,
                                                                            [&](HRESULT hr, IStream* stream) {
                                                                                char head[4] = {};
                                                                                ULONG read = 0;
                                                                                if (SUCCEEDED(hr) && stream)
                                                                                    stream->Read(head, magic.size(), &read);
                                                                                bytes.assign(head, read);
                                                                            })),
                  S_OK);
        ASSERT_TRUE(PumpUntil([&] { return bytes != "none"; }));
        EXPECT_EQ(bytes, magic);
    }
    // A new document brings its own title and no icon.
    NavigateAndWait([&] { view_->Navigate(L"https://n.example/settings"); });
    EXPECT_EQ(titles.back(), L"https://n.example/settings");
    EXPECT_EQ(icons.back(), L"");
    for (ICoreWebView2Notification* notification : kept) notification->Release();
    view24->Release();
}

}  // namespace
