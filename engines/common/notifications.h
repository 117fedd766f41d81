// Notifications a page makes (new Notification(...)): NotificationReceived
// and the notification object the program reports back on, which fires the
// page's own events.
#pragma once

#include "engines/common/browser.h"

struct NotificationContent {
    std::wstring title, body, tag, language, iconUri, badgeUri, bodyImageUri;
    COREWEBVIEW2_TEXT_DIRECTION_KIND direction = COREWEBVIEW2_TEXT_DIRECTION_KIND_DEFAULT;
    bool renotify = false, requiresInteraction = false, silent = false;
    double timestamp = 0;  // milliseconds since 1970, as the page's Date.now()
    std::vector<UINT64> vibration;
};

// Fires one of the page's events on the notification it made: "show",
// "click", "close" or "error".
using PageNotificationEvent = std::function<void(const char* type)>;

class NotificationFace : public ComObject<ICoreWebView2Notification> {
public:
    NotificationFace(const BrowserPtr& browser, NotificationContent content, PageNotificationEvent page)
        : ComObject(IID_ICoreWebView2Notification), browser_(browser), content_(std::move(content)), page_(std::move(page)) {}
    const NotificationContent& content() const { return content_; }
    bool closed() const { return closed_; }

    HRESULT STDMETHODCALLTYPE add_CloseRequested(ICoreWebView2NotificationCloseRequestedEventHandler* handler,
                                                 EventRegistrationToken* token) override {
        return closeRequested_.Add(handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_CloseRequested(EventRegistrationToken token) override {
        return closeRequested_.Remove(token);
    }
    HRESULT STDMETHODCALLTYPE ReportShown() override { return Report("show", L"notification shown "); }
    HRESULT STDMETHODCALLTYPE ReportClicked() override { return Report("click", L"notification clicked "); }
    HRESULT STDMETHODCALLTYPE ReportClosed() override { return Report("close", L"notification closed "); }
    HRESULT STDMETHODCALLTYPE get_Body(LPWSTR* value) override { return ReturnString(content_.body, value); }
    HRESULT STDMETHODCALLTYPE get_Direction(COREWEBVIEW2_TEXT_DIRECTION_KIND* value) override {
        return Out(value, content_.direction);
    }
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override { return ReturnString(content_.language, value); }
    HRESULT STDMETHODCALLTYPE get_Tag(LPWSTR* value) override { return ReturnString(content_.tag, value); }
    HRESULT STDMETHODCALLTYPE get_IconUri(LPWSTR* value) override { return ReturnString(content_.iconUri, value); }
    HRESULT STDMETHODCALLTYPE get_Title(LPWSTR* value) override { return ReturnString(content_.title, value); }
    HRESULT STDMETHODCALLTYPE get_BadgeUri(LPWSTR* value) override { return ReturnString(content_.badgeUri, value); }
    HRESULT STDMETHODCALLTYPE get_BodyImageUri(LPWSTR* value) override {
        return ReturnString(content_.bodyImageUri, value);
    }
    HRESULT STDMETHODCALLTYPE get_ShouldRenotify(BOOL* value) override { return Out(value, content_.renotify); }
    HRESULT STDMETHODCALLTYPE get_RequiresInteraction(BOOL* value) override {
        return Out(value, content_.requiresInteraction);
    }
    HRESULT STDMETHODCALLTYPE get_IsSilent(BOOL* value) override { return Out(value, content_.silent); }
    HRESULT STDMETHODCALLTYPE get_Timestamp(double* value) override { return Out(value, content_.timestamp); }
    HRESULT STDMETHODCALLTYPE GetVibrationPattern(UINT32* count, UINT64** pattern) override;

    // The handlers left it to the runtime, which shows it itself.
    void ShowByRuntime();
    // The page called close() on it.
    void CloseByPage();

private:
    HRESULT Report(const char* type, const wchar_t* line);

    std::weak_ptr<Browser> browser_;
    NotificationContent content_;
    PageNotificationEvent page_;
    EventList<ICoreWebView2NotificationCloseRequestedEventHandler> closeRequested_;
    bool byRuntime_ = false, closeAsked_ = false, closed_ = false;
};

// The document of origin made a notification. Without the permission it is
// refused (the page's error event) and null comes back. Otherwise
// NotificationReceived is raised; with Handled left FALSE (once every
// deferral completed) the runtime shows it itself and the page's show event
// fires; with Handled TRUE the program reports on it.
Ref<NotificationFace> ShowNotification(Browser& browser, const std::wstring& document, const std::wstring& origin,
                                       NotificationContent content, PageNotificationEvent page);
