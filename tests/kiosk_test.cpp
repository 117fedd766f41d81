// The kiosk's and the failure page's rules, without a window: the kiosk's
// command line, when its idle watch clears the session, and how long each
// try waits.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/kiosk.h"
#include "webview/retry_schedule.h"

namespace {

// The kiosk the line asks for: "kiosk sleep public idle=N site=ADDRESS", the parts it has.
std::wstring KioskOf(const CommandLine& parsed) {
    const KioskMode& k = parsed.kiosk;
    return std::wstring(k.on ? L"kiosk" : L"") + (k.allowSleep ? L" sleep" : L"") + (k.inPrivate ? L" public" : L"") +
           (k.idleMinutes ? L" idle=" + std::to_wstring(k.idleMinutes) : L"") +
           (parsed.site.empty() ? L"" : L" site=" + parsed.site);
}

TEST(KioskCommandLineTest, ReadsTheKioskSwitchesAndNamesWhatIsWrong) {
    const struct {
        const wchar_t* line;
        const wchar_t* kiosk;
        const wchar_t* problem;  // the start of the message, "" for none
    } kCases[] = {
        {L"v.exe --KIOSK Example.com/x --kiosk-public", L"kiosk public site=https://Example.com/x", L""},
        {L"v.exe --kiosk-allow-sleep --kiosk-idle-minutes 0010 --kiosk http://a.test",
         L"kiosk sleep idle=10 site=http://a.test", L""},
        // Without --kiosk a word is no address, and the kiosk switches are only checked.
        {L"v.exe a.test b.test --kiosk-public", L" public", L""},
        {L"v.exe --kiosk-idle-minutes 1441", L"",
         L"--kiosk-idle-minutes needs a whole number of minutes from 1 to 1440, not \u201C1441\u201D."},
        {L"v.exe --kiosk --kiosk-idle-minutes 0", L"kiosk", L"--kiosk-idle-minutes needs"},
        {L"v.exe --kiosk --kiosk-idle-minutes", L"kiosk",
         L"--kiosk-idle-minutes needs a whole number of minutes from 1 to 1440."},
        {L"v.exe --kiosk a.test --kiosk-idle-minutes ten", L"kiosk site=https://a.test", L"--kiosk-idle-minutes needs"},
        {L"v.exe --kiosk a.test b.test", L"kiosk",
         L"A kiosk shows one site, but the command line names two: \u201Ca.test\u201D and \u201Cb.test\u201D."},
        {L"v.exe --kiosk ftp://a.test", L"kiosk",
         L"The site address given with --kiosk is not valid: \u201Cftp://a.test\u201D."},
        {L"v.exe --kiosk-idle 5 --kiosk", L"kiosk site=https://5",
         L"Velotide does not know the switch \u201C--kiosk-idle\u201D."},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.line)));
        CommandLine parsed = ParseCommandLine(c.line);
        EXPECT_EQ(KioskOf(parsed), c.kiosk);
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
