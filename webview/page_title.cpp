#include "webview/page_title.h"

#include "app/app_state.h"
#include "webview/handler.h"
#include "webview/view_notices.h"

int UnreadCount(const std::wstring& title) {
    if (title.empty() || (title[0] != L'(' && title[0] != L'[')) return 0;
    wchar_t close = title[0] == L'(' ? L')' : L']';
    long long count = 0;
    size_t at = 1;
    for (; at < title.size() && title[at] >= L'0' && title[at] <= L'9'; ++at)
        if (count < kUnreadCap) count = count * 10 + (title[at] - L'0');
    if (at == 1) return 0;  // no digits
    if (at < title.size() && title[at] == L'+') ++at, ++count;
    if (at >= title.size() || title[at] != close) return 0;
    return static_cast<int>(count < kUnreadCap ? count : kUnreadCap);
}

HRESULT OnDocumentTitleChanged(ICoreWebView2* view) {
    LPWSTR title = nullptr;  // a failed call: no title, no count
    view->get_DocumentTitle(&title);
    g_app.pageTitle = TakeEngineString(title).substr(0, kKeptTitleLength);
    int count = UnreadCount(g_app.pageTitle);
    if (count != g_app.unreadCount) {
        g_app.unreadCount = count;
        PostViewNotice(kNoticeUnreadChanged);
    }
    return S_OK;
}

void AddTitleHandler(ICoreWebView2* view) {
    EventRegistrationToken token;
    view->add_DocumentTitleChanged(
        Give(new OnTitle_([](ICoreWebView2* sender, IUnknown*) { return OnDocumentTitleChanged(sender); })), &token);
}
