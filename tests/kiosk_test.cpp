// The kiosk's and the failure page's rules, without a window: the kiosk's
// command line, when its idle watch clears the session, and how long each
// try waits.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/kiosk.h"
#include "webview/retry_schedule.h"

namespace {

TEST(KioskCommandLineTest, ReadsTheKioskSwitchesAndNamesWhatIsWrong) {
    const struct {
        const wchar_t* line;
        bool kiosk, allowSleep, inPrivate;
        unsigned idleMinutes;
        const wchar_t* site;
        const wchar_t* problem;  // the start of the message, "" for none
    } kCases[] = {
        {L"v.exe --kiosk", true, false, false, 0, L"", L""},
        {L"v.exe --KIOSK Example.com/x --kiosk-public", true, false, true, 0, L"https://Example.com/x", L""},
        {L"v.exe --kiosk-allow-sleep --kiosk-idle-minutes 0010 --kiosk http://a.test", true, true, false, 10,
         L"http://a.test", L""},
        {L"v.exe --kiosk --kiosk-idle-minutes 1440", true, false, false, 1440, L"", L""},
        // Without --kiosk a word is no address, and the kiosk switches are only checked.
        {L"v.exe a.test b.test --kiosk-public", false, false, true, 0, L"", L""},
        {L"v.exe --kiosk-idle-minutes 1441", false, false, false, 0, L"",
         L"--kiosk-idle-minutes needs a whole number of minutes from 1 to 1440, not \u201C1441\u201D."},
        {L"v.exe --kiosk --kiosk-idle-minutes 0", true, false, false, 0, L"", L"--kiosk-idle-minutes needs"},
        {L"v.exe --kiosk --kiosk-idle-minutes -5", true, false, false, 0, L"", L"--kiosk-idle-minutes needs"},
        {L"v.exe --kiosk --kiosk-idle-minutes", true, false, false, 0, L"",
         L"--kiosk-idle-minutes needs a whole number of minutes from 1 to 1440."},
        {L"v.exe --kiosk a.test --kiosk-idle-minutes ten", true, false, false, 0, L"https://a.test",
         L"--kiosk-idle-minutes needs a whole number of minutes from 1 to 1440, not \u201Cten\u201D."},
        {L"v.exe --kiosk a.test b.test", true, false, false, 0, L"",
         L"A kiosk shows one site, but the command line names two: \u201Ca.test\u201D and \u201Cb.test\u201D."},
        {L"v.exe --kiosk ftp://a.test", true, false, false, 0, L"",
         L"The site address given with --kiosk is not valid: \u201Cftp://a.test\u201D."},
        {L"v.exe --kiosk --kiosk-idle 5", true, false, false, 0, L"https://5",
         L"Velotide does not know the switch \u201C--kiosk-idle\u201D."},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.line)));
        CommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(parsed.kiosk.on, c.kiosk);
        EXPECT_EQ(parsed.kiosk.allowSleep, c.allowSleep);
        EXPECT_EQ(parsed.kiosk.inPrivate, c.inPrivate);
        EXPECT_EQ(parsed.kiosk.idleMinutes, c.idleMinutes);
        EXPECT_EQ(parsed.site, c.site);
        EXPECT_EQ(parsed.problem.rfind(c.problem, 0), 0u) << ::testing::PrintToString(parsed.problem);
        EXPECT_EQ(parsed.problem.empty(), !*c.problem);
    }
}

TEST(KioskIdleTest, ClearsOnceForEachStretchWithoutInputAndLooksAgainWhenItCouldBeDue) {
    const ULONGLONG kMinute = 60000;
    const struct {
        ULONGLONG idle;
        bool resetAlready, reset;
        ULONGLONG lookAgain;
    } kCases[] = {
        {0, false, false, kMinute},                      // input just now: a full idle time from now
        {20000, false, false, 40000},                    // the rest of it
        {kMinute, false, true, kMinute},                 // due now
        {5 * kMinute, false, true, kMinute},             // long overdue (the program was busy)
        {kMinute + 1, true, false, kMinute},             // cleared already: nobody came since
        {0xFFFFFFFFull + kMinute, true, false, kMinute}, // no input for longer than the tick count lasts
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.idle);
        IdleDecision decision = DecideIdle(c.idle, kMinute, c.resetAlready);
        EXPECT_EQ(decision.reset, c.reset);
        EXPECT_EQ(decision.lookAgainMs, c.lookAgain);
    }
}

TEST(RetryScheduleTest, TheFailurePageWaitsTenThenThirtySecondsThenAMinuteAndAKioskGrowsToAMinute) {
    const struct {
        unsigned tries;
        DWORD failure, recovery;
    } kCases[] = {
        {0, 10000, 0}, {1, 30000, 5000}, {2, 60000, 10000}, {3, 60000, 20000},
        {4, 60000, 40000}, {5, 60000, 60000}, {1000, 60000, 60000},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.tries);
        EXPECT_EQ(FailureRetryDelayMs(c.tries), c.failure);
        EXPECT_EQ(RecoveryDelayMs(c.tries), c.recovery);
    }
}

}  // namespace
