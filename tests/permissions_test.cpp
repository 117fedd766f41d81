// Which asking origin counts as the site's, for its permissions and its
// notifications, and that the engine's string is freed once whatever it is.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "tests/support/task_memory_watch.h"
#include "webview/permissions.h"

namespace {

TEST(SitePermissions, TheAskingOriginIsTheSitesOnlyWhenItMatchesAndIsFreedOnce) {
    TaskMemoryWatch& memory = TaskMemoryWatch::Get();
    ASSERT_TRUE(memory.registered);
    const struct {
        const wchar_t* site;
        const wchar_t* origin;
        bool fromSite;
    } kCases[] = {
        {L"https://site.example", L"https://site.example/", true},
        {L"https://site.example", L"https://other.example/", false},
        {L"", L"https://site.example/", false},  // no site set yet
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.site) + L" " + c.origin));
        g_app.homeOrigin = c.site;
        LPWSTR origin = memory.Allocate(c.origin);
        EXPECT_EQ(IsSiteOrigin(origin), c.fromSite);
        EXPECT_EQ(memory.FreesOf(origin), 1);
    }
}

}  // namespace
