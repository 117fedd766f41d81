// The rules that hold the view on the site where the runtime goes on past a
// cancelled navigation, and the last gate as the program carries it out on
// a view that only records what it is asked.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "tests/support/fake_engine.h"
#include "tests/support/task_memory_watch.h"
#include "webview/lock_gaps.h"

namespace {

const COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION kCancel = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_CANCEL;
const COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION kDefault = COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION_DEFAULT;

TEST(LockGaps, SignInCertificateAndDocumentRulesTable) {
    const struct {
        const wchar_t* homeOrigin;
        const wchar_t* address;
        bool refusesSignIn;
        COREWEBVIEW2_SERVER_CERTIFICATE_ERROR_ACTION certificate;
        bool stray;
    } kCases[] = {
        {L"https://site.example", L"https://site.example/private", false, kDefault, false},
        {L"https://site.example", L"https://user@site.example/a#b", false, kDefault, false},
        {L"https://site.example", L"https://other.example/private", true, kCancel, true},
        {L"https://site.example", L"http://site.example/", true, kCancel, true},  // another scheme
        {L"https://site.example", L"https://site.example:8443/", true, kCancel, true},
        {L"https://site.example", L"https://site.example@other.example/", true, kCancel, true},
        // The program's own pages are never replaced.
        {L"https://site.example", L"data:text/html,kept", false, kDefault, false},
        {L"https://site.example", L"about:blank", false, kDefault, false},
        // An address the engine did not give: refused, but no document replaced.
        {L"https://site.example", L"", true, kCancel, false},
        {L"", L"https://other.example/", true, kCancel, true},  // no site yet: nothing is the site
        // A site allowed for sign-in counts as the site's own.
        {L"https://site.example", L"https://auth.example/login", false, kDefault, false},
        {L"https://site.example", L"http://auth.example/login", true, kCancel, true},
    };
    const std::vector<std::wstring> allowed = {L"https://auth.example"};
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.homeOrigin) + L" " + c.address));
        EXPECT_EQ(RefusesSignIn(c.address, c.homeOrigin, allowed), c.refusesSignIn);
        EXPECT_EQ(CertificateErrorAction(c.address, c.homeOrigin, allowed), c.certificate);
        EXPECT_EQ(IsStrayDocument(c.address, c.homeOrigin, allowed), c.stray);
    }
}

// A view whose document is at a given address, which refuses pages of more
// than 2 MB as the runtime does (or every page, when told to).
struct SourceView : FakeView {
    const wchar_t* source = nullptr;  // null: get_Source fails
    bool refusesPages = false;
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override {
        FakeView::NavigateToString(html);
        return refusesPages || wcslen(html) * sizeof(wchar_t) > 2 * 1024 * 1024 ? E_INVALIDARG : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* out) override {
        if (!source) return E_FAIL;
        *out = TaskMemoryWatch::Get().Allocate(source);
        return S_OK;
    }
};

// The configured site for one test; g_app as it was afterwards.
struct SiteConfigured {
    AppState saved = g_app;
    SiteConfigured() {
        g_app.siteUrl = L"https://site.example/";
        g_app.homeOrigin = L"https://site.example";
    }
    ~SiteConfigured() { g_app = saved; }
};

TEST(LockGaps, ANewDocumentOffTheSiteIsReplacedByTheMessage) {
    SiteConfigured site;
    const std::wstring kLong = L"https://other.example/" + std::wstring(1100000, L'a');
    const struct {
        const wchar_t* source;
        const wchar_t* lastPage;  // the last web page that loaded
        const wchar_t* message;   // a piece of the page shown, or null: left alone
        const wchar_t* reloads;   // what Reload loads afterwards
        bool refusesPages = false;  // the view shows no page: an empty one takes the document's place
    } kCases[] = {
        // Named by its start only, so that the page can always be shown.
        {kLong.c_str(), L"", L"aaaa\u2026 is outside", L"https://site.example/"},
        {L"https://other.example/", L"", L"is outside", L"https://site.example/", true},
        {L"https://other.example/a?x=<b>&y=\"1\"", L"https://site.example/deep?q=1",
         L"https://other.example/a?x=&lt;b&gt;&amp;y=&quot;1&quot; is outside https://site.example/",
         L"https://site.example/deep?q=1"},
        {L"https://other.example/", L"", L"https://other.example/ is outside", L"https://site.example/"},
        // The last page that loaded was not the site's: back to the site's address.
        {L"https://other.example/", L"https://allowed-once.example/", L"is outside", L"https://site.example/"},
        {L"https://site.example/page#part", L"https://site.example/", nullptr, nullptr},
        {L"data:text/html,x", L"", nullptr, nullptr},
        {nullptr, L"", nullptr, nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.source ? c.source : L"(failed)").substr(0, 60)));
        SourceView view;
        view.source = c.source;
        view.refusesPages = c.refusesPages;
        g_app.webview = &view;
        g_app.nav.currentAddress = c.lastPage;
        g_app.nav.failedAddress.clear();
        EXPECT_EQ(GateNewDocument(&view), c.message != nullptr);
        if (!c.message) {
            EXPECT_TRUE(view.calls.empty());
            continue;
        }
        ASSERT_EQ(view.calls.size(), c.refusesPages ? 2u : 1u);
        EXPECT_TRUE(view.calls[0].starts_with(L"NavigateToString "));
        EXPECT_LT(view.calls[0].size(), 3000u);
        EXPECT_NE(view.calls[0].find(c.message), std::wstring::npos) << testing::PrintToString(view.calls[0].substr(0, 200));
        if (c.refusesPages) {
            EXPECT_EQ(view.calls[1], L"Navigate about:blank");
        }
        EXPECT_EQ(g_app.nav.failedAddress, c.reloads);
    }
}

struct FakeSourceChanged : FakeUnknown<ICoreWebView2SourceChangedEventArgs> {
    BOOL isNewDocument = FALSE;
    HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* out) override {
        *out = isNewDocument;
        return S_OK;
    }
};

// A new document is ContentLoading's to judge; a same-document change only
// moves the address within its origin, so it replaces only what is stray.
TEST(LockGaps, AnAddressChangedWithinTheDocumentIsJudgedOnlyWhenStray) {
    SiteConfigured site;
    const struct {
        const wchar_t* source;
        BOOL isNewDocument;
        bool replaced;
    } kCases[] = {
        {L"https://site.example/page#section", FALSE, false},
        {L"https://site.example/pushed/state", FALSE, false},
        {L"https://other.example/#x", FALSE, true},
        {L"https://other.example/", TRUE, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.source)));
        SourceView view;
        view.source = c.source;
        g_app.webview = &view;
        FakeSourceChanged args;
        args.isNewDocument = c.isNewDocument;
        EXPECT_EQ(OnSourceChanged(&view, &args), S_OK);
        EXPECT_EQ(view.calls.size(), c.replaced ? 1u : 0u);
    }
}

}  // namespace
