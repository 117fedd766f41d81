// The Chromium engine loaded directly, as velotide.exe loads it, against a
// scripted DevTools peer (tests/chromium/devtools_peer.py) that misbehaves as
// a broken or hung browser would: the engine survives each fault, and what it
// reports is what the runtime reports (a failed controller, ProcessFailed).
#include <gtest/gtest.h>

#include <map>

#include "engines/common/engine_protocol.h"
#include "tests/support/com_callback.h"
#include "tests/support/engine_install.h"
#include "tests/support/test_support.h"

namespace {


// "scenario port" lines the peer wrote.
std::map<std::string, std::wstring> PeerPorts() {
    std::map<std::string, std::wstring> ports;
    std::string text = ReadFileBytes(WinPathFromUnix(VELOTIDE_BUILD_UNIX_DIR "/devtools-peer/peer.ports"));
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at), space = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        if (space < end) ports[text.substr(at, space - at)] = L"127.0.0.1:" + std::wstring(text.begin() + space + 1, text.begin() + end);
        at = end + 1;
    }
    return ports;
}

TEST(ChromiumPeerTest, TheEngineSurvivesAMisbehavingPeerAndReportsWhatTheRuntimeWould) {
    const struct {
        const char* scenario;
        bool controller;     // whether the controller completion succeeds
        const char* report;  // what the view hears afterwards, or null for nothing
    } kCases[] = {
        {"well", true, nullptr},
        {"malformed", true, nullptr},           // a message that isn't JSON before every reply
        {"unknown", true, nullptr},             // an unknown event and a reply for an unknown id
        {"error-reply", false, nullptr},        // the page refuses to be set up
        {"drop-before-attach", false, nullptr},  // the connection ends before the page attaches
        {"close-mid-message", true, "process failed 0"},
        {"oversized", true, "process failed 0"},  // a message without end
        {"lost-page", true, "process failed 0"},  // the page target goes away
        {"hang", true, "process failed 0"},       // the browser stops answering
        {"rejects", true, "navigation completed 1 status 9"},  // a paused request can't be let go nor failed
    };
    std::map<std::string, std::wstring> ports = PeerPorts();
    ScratchDir dir;
    std::wstring log = dir / L"engine.log";
    SetEnvironmentVariableW(kEngineLogVariable, log.c_str());
    HMODULE module = LoadLibraryW(ChromiumEngineDllPath().c_str());
    ASSERT_NE(module, nullptr);
    auto create = reinterpret_cast<CreateFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal")));
    ASSERT_NE(create, nullptr);
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.scenario);
        ASSERT_TRUE(ports.count(c.scenario));
        SetEnvironmentVariableW(kChromiumDevToolsVariable, ports[c.scenario].c_str());
        size_t from = ReadEngineLog(log).size();
        ICoreWebView2Environment* environment = nullptr;
        ICoreWebView2Controller* controller = nullptr;
        bool envCalled = false, ctlCalled = false;
        HRESULT ctlResult = E_PENDING;
        auto* envDone = new EnvDone(IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                                    [&](HRESULT hr, ICoreWebView2Environment* env) {
                                        envCalled = true;
                                        if (SUCCEEDED(hr)) (environment = env)->AddRef();
                                    });
        auto* ctlDone = new CtlDone(IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                    [&](HRESULT hr, ICoreWebView2Controller* made) {
                                        ctlCalled = true;
                                        ctlResult = hr;
                                        if (made) (controller = made)->AddRef();
                                    });
        ASSERT_EQ(create(true, 1, (dir / L"udf").c_str(), nullptr, envDone), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return envCalled; }));
        ASSERT_NE(environment, nullptr);
        ASSERT_EQ(environment->CreateCoreWebView2Controller(host, ctlDone), S_OK);
        EXPECT_TRUE(PumpUntil([&] { return ctlCalled; }, 5000)) << "no controller completion";
        EXPECT_EQ(SUCCEEDED(ctlResult), c.controller) << std::hex << ctlResult;
        EXPECT_EQ(controller != nullptr, c.controller);
        // A report comes within the browser's liveness bound; none comes after
        // a round of liveness checks that were answered.
        auto count = [&](const std::string& line) {
            std::vector<std::string> lines = ReadEngineLog(log);
            return std::count(lines.begin() + std::min(from, lines.size()), lines.end(), line);
        };
        std::string report = c.report ? c.report : "";
        if (c.report) {
            EXPECT_TRUE(PumpUntil([&] { return count(report) > 0; }, 20000)) << report;
        } else {
            PumpFor(c.controller ? 4000 : 200);
        }
        EXPECT_EQ(count("process failed 0"), report == "process failed 0" ? 1 : 0);
        if (controller) controller->Close();
        for (IUnknown* object : {static_cast<IUnknown*>(controller), static_cast<IUnknown*>(environment)})
            if (object) object->Release();
        envDone->Release();
        ctlDone->Release();
    }
    DestroyWindow(host);
    SetEnvironmentVariableW(kEngineLogVariable, nullptr);
}

}  // namespace
