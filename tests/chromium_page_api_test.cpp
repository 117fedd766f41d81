// The Chromium engine loaded directly, as velotide.exe loads it, against the
// fixture's Chromium: a real page's notification permission, notifications,
// title and icon reach the program's handlers, and what they answer reaches
// the page (which reports it in its title).
#include <gtest/gtest.h>

#include <algorithm>

#include "engines/common/engine_protocol.h"
#include "tests/support/com_callback.h"
#include "tests/support/engine_install.h"
#include "tests/support/test_support.h"

namespace {


TEST(ChromiumPageApiTest, ARealPageAsksNotifiesTitlesItselfAndHasAnIcon) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the program does: the icon goes through WIC
    ScratchDir dir;
    SetEnvironmentVariableW(kEngineLogVariable, (dir / L"engine.log").c_str());
    SetEnvironmentVariableW(kChromiumDevToolsVariable, ChromiumDevToolsEndpoint().c_str());
    HMODULE module = LoadLibraryW(ChromiumEngineDllPath().c_str());
    ASSERT_NE(module, nullptr);
    auto create = reinterpret_cast<CreateFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal")));
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
    ICoreWebView2Environment* environment = nullptr;
    ICoreWebView2Controller* controller = nullptr;
    auto* envDone = new EnvDone(IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                                [&](HRESULT, ICoreWebView2Environment* made) { (environment = made)->AddRef(); });
    auto* ctlDone = new CtlDone(IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                                [&](HRESULT, ICoreWebView2Controller* made) { (controller = made)->AddRef(); });
    ASSERT_EQ(create(true, 1, (dir / L"udf").c_str(), nullptr, envDone), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return environment != nullptr; }, 10000));
    ASSERT_EQ(environment->CreateCoreWebView2Controller(host, ctlDone), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return controller != nullptr; }, 10000));
    ICoreWebView2* view = nullptr;
    ICoreWebView2_24* view24 = nullptr;
    controller->get_CoreWebView2(&view);
    ASSERT_EQ(view->QueryInterface(IID_ICoreWebView2_24, reinterpret_cast<void**>(&view24)), S_OK);

    std::vector<std::wstring> titles, icons, asked, received;
    std::vector<ICoreWebView2Notification*> kept;
    std::vector<IUnknown*> handlers = {
        new OnTitleChange(IID_ICoreWebView2DocumentTitleChangedEventHandler,
                     [&](ICoreWebView2*, IUnknown*) {
                         LPWSTR title = nullptr;
                         view->get_DocumentTitle(&title);
                         titles.push_back(TakeEngineString(title));
                     }),
        new OnFavicon(IID_ICoreWebView2FaviconChangedEventHandler,
                      [&](ICoreWebView2*, IUnknown*) {
                          LPWSTR uri = nullptr;
                          view24->get_FaviconUri(&uri);
                          icons.push_back(TakeEngineString(uri));
                      }),
        // Allowed for this document only: the page's answer, and no saved one.
        new OnPermission(IID_ICoreWebView2PermissionRequestedEventHandler,
                         [&](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
                             LPWSTR uri = nullptr;
                             COREWEBVIEW2_PERMISSION_KIND kind = {};
                             BOOL user = FALSE;
                             args->get_Uri(&uri);
                             args->get_PermissionKind(&kind);
                             args->get_IsUserInitiated(&user);
                             asked.push_back(TakeEngineString(uri) + L" " + std::to_wstring(kind) + L" " + std::to_wstring(user));
                             args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
                             ICoreWebView2PermissionRequestedEventArgs3* args3 = nullptr;
                             args->QueryInterface(IID_ICoreWebView2PermissionRequestedEventArgs3,
                                                  reinterpret_cast<void**>(&args3));
                             args3->put_SavesInProfile(FALSE);
                             args3->Release();
                         }),
        new OnNotification(IID_ICoreWebView2NotificationReceivedEventHandler,
                           [&](ICoreWebView2*, ICoreWebView2NotificationReceivedEventArgs* args) {
                               LPWSTR origin = nullptr, title = nullptr, body = nullptr;
                               ICoreWebView2Notification* notification = nullptr;
                               args->get_SenderOrigin(&origin);
                               args->get_Notification(&notification);
                               notification->get_Title(&title);
                               notification->get_Body(&body);
                               received.push_back(TakeEngineString(origin) + L" " + TakeEngineString(title) + L": " + TakeEngineString(body));
                               args->put_Handled(TRUE);
                               kept.push_back(notification);
                           }),
    };
    EventRegistrationToken token;
    view->add_DocumentTitleChanged(static_cast<OnTitleChange*>(handlers[0]), &token);
    view24->add_FaviconChanged(static_cast<OnFavicon*>(handlers[1]), &token);
    view->add_PermissionRequested(static_cast<OnPermission*>(handlers[2]), &token);
    view24->add_NotificationReceived(static_cast<OnNotification*>(handlers[3]), &token);
    HWND page = FindEngineView(host);
    auto titled = [&](const std::wstring& title) {
        return PumpUntil([&] { return !titles.empty() && titles.back() == title; }, 10000);
    };

    view->Navigate(L"http://site.test/notify");
    EXPECT_TRUE(titled(L"Inbox")) << titles.size();
    EXPECT_EQ(icons, std::vector<std::wstring>{L"http://site.test/icon.png"});
    // The icon as a PNG's first bytes.
    std::string png;
    auto icon = [&] {
        png = "none";
        handlers.push_back(new FaviconDone(IID_ICoreWebView2GetFaviconCompletedHandler, [&](HRESULT hr, IStream* stream) {
            char head[4] = {};
            ULONG read = 0;
            if (SUCCEEDED(hr) && stream) stream->Read(head, 4, &read);
            png.assign(head, read);
        }));
        view24->GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT_PNG, static_cast<FaviconDone*>(handlers.back()));
        PumpUntil([&] { return png != "none"; }, 10000);
        return png;
    };
    EXPECT_EQ(icon(), "\x89PNG");
    // The page draws an icon of its own, as an unread count does.
    ASSERT_TRUE(SendEngineCommand(page, L"script { const c = document.createElement('canvas'); c.width = c.height = 8; "
                                        L"c.getContext('2d').fillRect(0, 0, 8, 8); "
                                        L"document.querySelector('link').href = c.toDataURL(); }"));
    ASSERT_TRUE(PumpUntil([&] { return icons.size() == 2; }, 10000));
    EXPECT_EQ(icons[1].rfind(L"data:image/png;base64,", 0), 0u);
    EXPECT_EQ(icon(), "\x89PNG");

    ASSERT_TRUE(SendEngineCommand(page, L"script ask()"));  // as after a click
    EXPECT_TRUE(titled(L"permission granted"));
    ASSERT_TRUE(SendEngineCommand(page, L"script notifyMe('Hello')"));
    ASSERT_TRUE(PumpUntil([&] { return kept.size() == 1; }, 10000));
    EXPECT_EQ(received, std::vector<std::wstring>{L"http://site.test/ Hello: From the site"});
    EXPECT_EQ(kept[0]->ReportClicked(), S_OK);
    EXPECT_TRUE(titled(L"click Hello"));

    // A frame of another site asks as it loads, with its own origin.
    view->Navigate(L"http://site.test/frame?src=http://other.test/notify?ask");
    EXPECT_TRUE(PumpUntil([&] { return asked.size() == 2; }, 10000));
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"http://site.test/ 4 1", L"http://other.test/ 4 0"}));

    for (ICoreWebView2Notification* notification : kept) notification->Release();
    controller->Close();
    for (IUnknown* object : {static_cast<IUnknown*>(view24), static_cast<IUnknown*>(view),
                             static_cast<IUnknown*>(controller), static_cast<IUnknown*>(environment)})
        object->Release();
    for (IUnknown* handler : handlers) handler->Release();
    envDone->Release();
    ctlDone->Release();
    DestroyWindow(host);
    SetEnvironmentVariableW(kEngineLogVariable, nullptr);
}

}  // namespace
