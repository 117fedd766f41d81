#include <gtest/gtest.h>
#include "tests/support/app_session.h"

namespace {

std::string Tail(const AppSession& app) {
    std::string s;
    auto log = app.Log();
    for (size_t i = log.size() > 8 ? log.size() - 8 : 0; i < log.size(); ++i) s += log[i] + "\n";
    return s;
}

TEST(HandsAppProbe, Attach) {
    AppSession app("url=https://host.test/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    DWORD thread = GetWindowThreadProcessId(app.view(), nullptr);
    BOOL a = AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    BOOL s = SetKeyboardState(keys);
    PostMessageW(app.view(), WM_KEYDOWN, 'R', 1);
    bool ok = app.WaitForLog("key ", 1, 3000);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    printf("attach=%d set=%d ok=%d\n%s", a, s, ok, Tail(app).c_str());
    EXPECT_EQ(app.Quit(), 0u);
}

TEST(HandsAppProbe, Input) {
    AppSession app("url=https://host.test/\r\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.WaitForLog("navigation completed"));
    printf("fg=%p main=%p focus?\n", GetForegroundWindow(), app.mainWindow());
    BOOL f = SetForegroundWindow(app.mainWindow());
    PumpUntil([&] { return GetForegroundWindow() == app.mainWindow(); }, 2000);
    printf("setfg=%d fg=%p\n", f, GetForegroundWindow());
    INPUT in[4] = {};
    for (auto& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_CONTROL;
    in[1].ki.wVk = 'R';
    in[2].ki.wVk = 'R'; in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_CONTROL; in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    UINT n = SendInput(4, in, sizeof(INPUT));
    bool ok = app.WaitForLog("key ", 4, 3000);
    printf("sent=%u ok=%d\n%s", n, ok, Tail(app).c_str());
    EXPECT_EQ(app.Quit(), 0u);
}

}  // namespace
