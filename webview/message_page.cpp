#include "webview/message_page.h"

#include <iterator>

#include "app/app_state.h"
#include "webview/retry_schedule.h"
#include "webview/view_notices.h"

// A kiosk's word for its visitor on every page it shows instead of the site.
static const wchar_t kTriedAgain[] = L"<br>It is tried again in a moment.";

std::wstring EscapeHtml(const std::wstring& text) {
    std::wstring escaped;
    for (wchar_t c : text) {
        switch (c) {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::wstring ShownAddress(const std::wstring& address) {
    if (address.size() <= kShownAddressLength) return EscapeHtml(address);
    size_t cut = kShownAddressLength;
    if (IS_LOW_SURROGATE(address[cut])) --cut;  // never half a character
    return EscapeHtml(address.substr(0, cut)) + L"\u2026";
}

void ShowMessagePage(const wchar_t* title, const wchar_t* text) {
    if (!g_app.webview) return;
    std::wstring page =
        L"<meta charset=utf-8><body style=\"background:#0e0f16;color:#e9eaf3;font:16px Segoe UI,sans-serif;"
        L"padding:48px;line-height:1.6\"><h2>";
    page += title;
    page += L"</h2><p style=\"color:#9a9db4\">";
    page += text;
    page += L"</p>";
    // The page replaces a document that must not stay on screen: when the
    // runtime refuses it (it takes no more than 2 MB), an empty page does.
    if (FAILED(g_app.webview->NavigateToString(page.c_str()))) g_app.webview->Navigate(L"about:blank");
}

void ScheduleNextTry() {
    PostViewNotice(kNoticeTryAgainLater, ScaledWait(FailureRetryDelayMs(g_app.nav.failureTries++)));
}

void ShowInsteadOfSite(const wchar_t* title, std::wstring text, const wchar_t* advice) {
    text += g_app.kiosk.on ? kTriedAgain : advice;
    ShowMessagePage(title, text.c_str());
    if (g_app.kiosk.on) ScheduleNextTry();
}

// One sentence per kind of failure; statuses not listed get the last one.
static const struct {
    COREWEBVIEW2_WEB_ERROR_STATUS status;
    const wchar_t* sentence;
} kFailureSentences[] = {
    {COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED, L"The site's name could not be found."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE, L"The site's server could not be reached or refused the connection."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT, L"The site's server could not be reached or refused the connection."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT, L"The site took too long to answer."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED, L"The connection to the site was lost."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET, L"The connection to the site was lost."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED, L"The connection to the site was lost."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED, L"The site's certificate is not valid: it has expired."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT,
     L"The site's certificate is not valid: it was made for another name."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED, L"The site's certificate is not valid: it has been revoked."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID, L"The site's certificate is not valid: it is not trusted."},
    {COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, L"Something went wrong while loading the site."},
};

const wchar_t* FailureSentence(COREWEBVIEW2_WEB_ERROR_STATUS status) {
    for (const auto& entry : kFailureSentences)
        if (entry.status == status) return entry.sentence;
    return kFailureSentences[std::size(kFailureSentences) - 1].sentence;
}

// A site the organisation fixed can't be changed: the page doesn't send the
// person to a greyed command. A kiosk has neither menu nor keys for a
// visitor: the page says that it comes back by itself.
std::wstring FailurePageText(const wchar_t* sentence, const std::wstring& address) {
    std::wstring text = std::wstring(sentence) + L"<br>Address: " + ShownAddress(address);
    if (g_app.kiosk.on) {
        text += kTriedAgain;
    } else {
        text += L"<br>Reload (Ctrl+R) tries again. Check your connection";
        text += g_app.fixed.site ? L"." : L", or use Site &rsaquo; Change site address.";
    }
    return text;
}

void ShowFailurePage(const wchar_t* sentence, const std::wstring& address) {
    g_app.nav.failedAddress = address;
    ShowMessagePage(L"Can't reach the site", FailurePageText(sentence, address).c_str());
}
