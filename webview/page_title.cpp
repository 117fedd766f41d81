#include "webview/page_title.h"

#include "app/app_state.h"

#include <cwctype>
#include "webview/handler.h"
#include "webview/view_notices.h"

// The count at the title's start, and where the text after it begins (0 when
// the title begins with no count).
static int LeadingCount(const std::wstring& title, size_t* after) {
    *after = 0;
    if (title.empty() || (title[0] != L'(' && title[0] != L'[')) return 0;
    wchar_t close = title[0] == L'(' ? L')' : L']';
    long long count = 0;
    size_t at = 1;
    for (; at < title.size() && title[at] >= L'0' && title[at] <= L'9'; ++at)
        if (count < kUnreadCap) count = count * 10 + (title[at] - L'0');
    if (at == 1) return 0;  // no digits
    if (at < title.size() && title[at] == L'+') ++at, ++count;
    if (at >= title.size() || title[at] != close) return 0;
    *after = at + 1;
    return static_cast<int>(count < kUnreadCap ? count : kUnreadCap);
}

int UnreadCount(const std::wstring& title) {
    size_t after;
    return LeadingCount(title, &after);
}

std::wstring NameFromTitle(const std::wstring& title) {
    size_t start;
    LeadingCount(title, &start);
    while (start < title.size() && iswspace(title[start])) ++start;
    std::wstring name = title.substr(start, kNameFromTitleLength);
    if (name.size() == kNameFromTitleLength && IS_HIGH_SURROGATE(name.back())) name.pop_back();
    while (!name.empty() && iswspace(name.back())) name.pop_back();
    return name;
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
