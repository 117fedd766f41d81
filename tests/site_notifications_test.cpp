// What the view's permission and notification events do with what the engine
// hands them, without a window: every string freed once, and each
// notification shown once, in turn.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "tests/support/fake_engine.h"
#include "tests/support/task_memory_watch.h"
#include "webview/notifications.h"
#include "webview/permissions.h"

namespace {

struct FakeNotification : FakeUnknown<ICoreWebView2Notification> {
    std::wstring title;
    int shown = 0, closed = 0;
    HRESULT STDMETHODCALLTYPE add_CloseRequested(ICoreWebView2NotificationCloseRequestedEventHandler*, EventRegistrationToken*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE remove_CloseRequested(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReportShown() override { ++shown; return S_OK; }
    HRESULT STDMETHODCALLTYPE ReportClicked() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReportClosed() override { ++closed; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Body(LPWSTR* value) override { *value = nullptr; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Direction(COREWEBVIEW2_TEXT_DIRECTION_KIND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Tag(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IconUri(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Title(LPWSTR* value) override { *value = TaskMemoryWatch::Get().Allocate(title.c_str()); return S_OK; }
    HRESULT STDMETHODCALLTYPE get_BadgeUri(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_BodyImageUri(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ShouldRenotify(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RequiresInteraction(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsSilent(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Timestamp(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVibrationPattern(UINT32*, UINT64**) override { return E_NOTIMPL; }
};

struct FakeNotificationArgs : FakeUnknown<ICoreWebView2NotificationReceivedEventArgs> {
    LPWSTR origin = nullptr;
    FakeNotification* notification = nullptr;
    HRESULT STDMETHODCALLTYPE get_SenderOrigin(LPWSTR* value) override { *value = origin; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Notification(ICoreWebView2Notification** value) override {
        *value = notification;
        if (notification) notification->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }
};

struct FakePermissionArgs : FakeUnknown<ICoreWebView2PermissionRequestedEventArgs> {
    LPWSTR uri = nullptr;
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* value) override { *value = uri; return S_OK; }
    HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* kind) override {
        *kind = COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral**) override { return E_NOTIMPL; }
};

class SiteNotifications : public testing::Test {
protected:
    SiteNotifications() { g_app = AppState{}; }
    ~SiteNotifications() override { g_app = AppState{}; }
};

// The asking origin is the engine's string, freed once whether or not a site is set.
TEST_F(SiteNotifications, TheSendersOriginIsFreedOnceWithOrWithoutASite) {
    TaskMemoryWatch& memory = TaskMemoryWatch::Get();
    ASSERT_TRUE(memory.registered);
    for (const wchar_t* site : {L"", L"https://site.example"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(site)));
        g_app.homeOrigin = site;
        g_app.notifications = NotificationsAnswer::kBlock;
        FakePermissionArgs permission;
        permission.uri = memory.Allocate(L"https://site.example/");
        EXPECT_EQ(OnPermissionRequested(&permission), S_OK);
        EXPECT_EQ(memory.FreesOf(permission.uri), 1);
        FakeNotification notification;
        FakeNotificationArgs received;
        received.origin = memory.Allocate(L"https://site.example/");
        received.notification = &notification;
        EXPECT_EQ(OnNotificationReceived(&received), S_OK);
        EXPECT_EQ(memory.FreesOf(received.origin), 1);
        EXPECT_EQ(notification.refs, 1u);
    }
}

// Notifications that arrive before the window shows the first are each
// shown once, in turn, the newer closing the older.
TEST_F(SiteNotifications, EachArrivingNotificationIsShownOnceInTurn) {
    g_app.homeOrigin = L"https://site.example";
    g_app.notifications = NotificationsAnswer::kAllow;
    FakeNotification first, second;
    first.title = L"First";
    second.title = L"Second";
    for (FakeNotification* notification : {&first, &second}) {
        FakeNotificationArgs received;
        received.origin = TaskMemoryWatch::Get().Allocate(L"https://site.example/");
        received.notification = notification;
        ASSERT_EQ(OnNotificationReceived(&received), S_OK);
    }
    std::vector<std::wstring> shown;
    std::wstring title, body;
    while (NextNotification(&title, &body)) {
        shown.push_back(title);
        ReportNotification(NotificationOutcome::kShown);
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"First", L"Second"}));
    EXPECT_EQ(first.shown, 1);
    EXPECT_EQ(first.closed, 1);
    EXPECT_EQ(second.shown, 1);
    DropNotifications();
    EXPECT_EQ(second.closed, 1);
    EXPECT_EQ(second.refs, 1u);
}

}  // namespace
