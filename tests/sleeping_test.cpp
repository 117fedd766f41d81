// When a site out of sight may sleep: never shown, never one allowed to
// notify, never with sleeping turned off or after the runtime said it can't.
#include <gtest/gtest.h>

#include "webview/sleeping.h"

namespace {

TEST(Sleeping, ASiteMaySleepOnlyOutOfSightUnableToNotifyAndNotRefused) {
    using N = NotificationsAnswer;
    const struct {
        Sight sight;
        N notifications;
        unsigned sleepAfter;
        bool refused, maySleep;
    } kCases[] = {
        {Sight::kShown, N::kBlock, 10, false, false},    {Sight::kShown, N::kAsk, 1, false, false},
        {Sight::kHidden, N::kBlock, 10, false, true},    {Sight::kMinimised, N::kAsk, 10, false, true},
        {Sight::kHidden, N::kAsk, 1440, false, true},    {Sight::kHidden, N::kAllow, 10, false, false},
        {Sight::kMinimised, N::kAllow, 1, false, false}, {Sight::kHidden, N::kBlock, 0, false, false},
        {Sight::kMinimised, N::kAsk, 0, false, false},   {Sight::kHidden, N::kAsk, 10, true, false},
        {Sight::kMinimised, N::kBlock, 1, true, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.sight) << " " << static_cast<int>(c.notifications)
                                        << " " << c.sleepAfter << " " << c.refused);
        EXPECT_EQ(MaySleep(c.sight, c.notifications, c.sleepAfter, c.refused), c.maySleep);
    }
}

}  // namespace
