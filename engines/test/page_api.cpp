// What a site kept open all day does in the test engine's page: asks for
// permissions, shows notifications, titles itself and names its icon; and
// what leads from it to files or a printer.
#include "engines/common/image.h"
#include "engines/common/permissions.h"
#include "engines/common/uri.h"
#include "engines/test/test_browser.h"

namespace {

const size_t kKeptNotifications = 16;

std::wstring Document(const TestBrowser& b) { return std::to_wstring(b.document); }

// The page's clock, as Date.now() gives it.
double Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>((ticks - 116444736000000000ull) / 10000);
}

}  // namespace

void TestBrowser::LoadFavicon(std::function<void(std::string image)> done) {
    if (faviconAnswered) PostTask([done, icon = favicon] { done(icon); });
}

void NewDocument(TestBrowser& b) {
    ++b.document;
    b.notifications.clear();
    b.favicon.clear();
    b.faviconAnswered = true;
    RaiseDocumentTitleChanged(b, b.page.title, true);
    RaiseFaviconChanged(b, L"");
}

void AskPermission(const TestBrowserPtr& b, COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                   bool userInitiated) {
    PostTask([b, kind, origin, userInitiated] {
        PermissionRequest request = {Document(*b), origin.empty() ? OriginOf(b->page.uri) : OriginOf(CanonicalUri(origin)),
                                     kind, userInitiated};
        RequestPermission(*b, request, [](bool) {});
    });
}

void MakeNotification(const TestBrowserPtr& b, const std::wstring& title, const std::wstring& body) {
    PostTask([b, title, body] {
        NotificationContent content;
        content.title = title;
        content.body = body;
        content.timestamp = Now();
        Ref<NotificationFace> notification =
            ShowNotification(*b, Document(*b), OriginOf(b->page.uri), content, [](const char*) {});
        if (!notification) return;
        if (b->notifications.size() >= kKeptNotifications) b->notifications.erase(b->notifications.begin());
        b->notifications.push_back(notification);
    });
}

bool CloseNotification(const TestBrowserPtr& b, const std::wstring& title) {
    for (auto n = b->notifications.rbegin(); n != b->notifications.rend(); ++n) {
        if ((*n)->content().title != title || (*n)->closed()) continue;
        PostTask([notification = *n] { notification->CloseByPage(); });
        return true;
    }
    return false;
}

// The engine runs no script: it stands in for the scripts that reach the
// shown document by looking in them for what a call needs (its name, or a
// file input's event) and takes the call as stopped where one has it all.
bool OpenFileDialog(const TestBrowserPtr& b, const std::wstring& what) {
    static const struct {
        const wchar_t *what, *needs[2];
    } kCalls[] = {
        {L"print", {L"print"}},
        {L"open-picker", {L"showOpenFilePicker"}},
        {L"save-picker", {L"showSaveFilePicker"}},
        {L"directory-picker", {L"showDirectoryPicker"}},
        {L"file-input", {L"'file'", L"'click'"}},
        {L"file-input-key", {L"'file'", L"'click'"}},  // Space and Enter click it, as in Chromium
    };
    if (what == L"save-as") {
        PostTask([b] { RaiseSaveAsUIShowing(*b); });
        return true;
    }
    for (const auto& call : kCalls) {
        if (what != call.what) continue;
        PostTask([b, what, needs = call.needs] {
            bool stopped = false;
            for (size_t i = 0; i < b->documentScripts.size(); ++i) {
                const std::wstring& script = b->documentScripts[i];
                stopped |= b->documentScriptsFrom[i] <= b->document && script.find(needs[0]) != std::wstring::npos &&
                           (!needs[1] || script.find(needs[1]) != std::wstring::npos);
            }
            EngineLog((stopped ? L"page call stopped " : L"runtime dialog ") + what);
        });
        return true;
    }
    return false;
}

void SetTitle(const TestBrowserPtr& b, const std::wstring& title) {
    PostTask([b, title] {
        b->page.title = title;
        RaiseDocumentTitleChanged(*b, title, false);
    });
}

void SetFavicon(const TestBrowserPtr& b, const std::wstring& uri, COLORREF color, bool answered) {
    PostTask([b, uri, color, answered] {
        b->favicon = uri.empty() ? "" : SolidPng(color, 16);
        b->faviconAnswered = answered;
        RaiseFaviconChanged(*b, uri);
    });
}
