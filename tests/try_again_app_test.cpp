// The failure page trying again by itself, on the running velotide.exe and
// the test engine, whose server for a host can be taken down and brought back.
#include <gtest/gtest.h>

#include "tests/support/app_session.h"

namespace {

// The loads of the page that failed, the first one included.
size_t Tries(const AppSession& app) {
    size_t tries = 0;
    for (const std::string& line : app.LogLines("navigation started "))
        tries += line.ends_with(" http://site.test/page");
    return tries;
}

TEST(TryAgainAppTest, TheFailurePageTriesAgainWhileShownAndGoesBackToThePageOnceItsServerIsBack) {
    // At 5 % the schedule's 10 s, 30 s and 60 s are 0.5 s, 1.5 s and 3 s.
    AppSession app("url=http://site.test/\r\n", Engine::kTest, {{L"VELOTIDE_WAIT_SCALE", L"5"}});
    const char kFailurePage[] = "page shown data: Can't reach the site The site's server could not be reached";
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed 1 success"));
    ASSERT_TRUE(app.Page(L"down site.test"));
    ASSERT_TRUE(app.Page(L"link http://site.test/page"));
    // Each try while the server is down shows the failure page again, and
    // the second waits its 1.5 s after the first (less what seeing it took).
    DWORD seen[2] = {};
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(PumpUntil([&] { return Tries(app) == i + 2; }));
        seen[i] = GetTickCount();
        ASSERT_TRUE(app.WaitForLog(kFailurePage, i + 2));
    }
    EXPECT_GE(seen[1] - seen[0], 1000u);
    // Minimised, nothing is tried; shown again, the try that fell due is made.
    ShowWindowAsync(app.mainWindow(), SW_MINIMIZE);
    ASSERT_TRUE(app.WaitForLog("visible 0"));
    size_t tries = Tries(app);
    PumpFor(4000);  // past the next wait, 3 s
    EXPECT_EQ(Tries(app), tries);
    ASSERT_TRUE(app.Page(L"up site.test"));
    ShowWindowAsync(app.mainWindow(), SW_RESTORE);
    EXPECT_TRUE(app.WaitForLog("page shown http://site.test/page", 1, 1000));
    // Back on the site, nothing more is tried.
    PumpFor(3500);
    EXPECT_EQ(Tries(app), tries + 1);
    EXPECT_EQ(app.Quit(), 0u);
}

}  // namespace
