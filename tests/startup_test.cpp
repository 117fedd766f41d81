// Engine start-up in the running program, against the test engine reached
// through the program's own loader.
#include <gtest/gtest.h>

#include "tests/support/app_session.h"

namespace {

bool Has(const std::vector<std::string>& log, const std::string& line) {
    for (const std::string& l : log)
        if (l == line) return true;
    return false;
}

TEST(StartupTest, SiteConfiguredIsLoadedWithoutWelcomePage) {
    AppSession app("url=Host/start?x=1\r\nblockAds=1\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    std::vector<std::string> log = app.Log();
    EXPECT_TRUE(Has(log, "navigation started 1 https://Host/start?x=1")) << ::testing::PrintToString(log);
    EXPECT_EQ(app.CountLog("page shown data:"), 0u);
    EXPECT_EQ(app.Quit(), 0u);
    EXPECT_TRUE(Has(app.Log(), "closed"));
}

}  // namespace
