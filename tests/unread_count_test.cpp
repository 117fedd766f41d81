// The unread count a page's title begins with, and how the program shows it:
// the badge on the taskbar button and the notification area's tooltip.
#include <gtest/gtest.h>

#include "app/tray.h"
#include "app/unread_badge.h"
#include "webview/page_title.h"

namespace {

TEST(UnreadCount, TitlesTable) {
    const struct {
        const wchar_t* title;
        int count;
        const wchar_t* badge;  // what the badge says, null for none
    } kCases[] = {
        {L"(3) Inbox", 3, L"3"},
        {L"[12] Chat", 12, L"12"},
        {L"(99+) Inbox", 100, L"99+"},
        {L"(100) Inbox", 100, L"99+"},
        {L"(007)", 7, L"7"},
        {L"(0) Inbox", 0, nullptr},
        {L"Inbox (3)", 0, nullptr},  // not where the count goes
        {L" (3) Inbox", 0, nullptr},
        {L"(3] Inbox", 0, nullptr},  // brackets that don't pair
        {L"(3", 0, nullptr},
        {L"() Inbox", 0, nullptr},
        {L"(+) Inbox", 0, nullptr},
        {L"(1,234) Inbox", 0, nullptr},
        {L"(\x0663) Inbox", 0, nullptr},  // Arabic-Indic digits are no count here
        {L"(99999999999999999999) Inbox", kUnreadCap, L"99+"},
        {L"", 0, nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.title)));
        int count = UnreadCount(c.title);
        EXPECT_EQ(count, c.count);

        EXPECT_EQ(TrayTooltip(count), c.badge ? L"Velotide \u2013 " + CountText(count) + L" unread" : L"Velotide");
        if (c.badge) {
            EXPECT_EQ(BadgeText(count), c.badge);
        }
    }
}

// A site app's name from the page's title: without its count, 64 characters at most.
TEST(UnreadCount, NameFromTitleTable) {
    const std::wstring k100(100, L'n');
    const std::pair<std::wstring, std::wstring> kCases[] = {
        {L"(3) Inbox \u2013 Mail ", L"Inbox \u2013 Mail"}, {L"[0]Chat", L"Chat"}, {L"Inbox (3)", L"Inbox (3)"},
        {k100, k100.substr(0, 64)}, {L"(12)", L""},
    };
    for (const auto& [title, name] : kCases) EXPECT_EQ(NameFromTitle(title), name) << testing::PrintToString(title);
}

// The badge is a red disc with the number drawn in white, at the size asked
// for, clear around the disc.
TEST(UnreadCount, BadgeIsDrawnForTheSizeAsked) {
    for (int size : {16, 24, 32}) {
        SCOPED_TRACE(size);
        HICON badge = CreateBadgeIcon(150, size);
        ASSERT_TRUE(badge);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(badge, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        std::vector<DWORD> pixels(size * size);
        BITMAPINFO format = {};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC dc = GetDC(nullptr);
        ASSERT_EQ(GetDIBits(dc, info.hbmColor, 0, size, pixels.data(), &format, DIB_RGB_COLORS), size);
        ReleaseDC(nullptr, dc);
        EXPECT_EQ(pixels[0] >> 24, 0u);  // the corner is clear
        int red = 0, white = 0;
        for (DWORD p : pixels) {
            red += p == 0xFFD13438;
            white += (p & 0xFFFFFF) == 0xFFFFFF;
        }
        EXPECT_GT(red, size * size / 3);
        EXPECT_GT(white, 0);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(badge);
    }
}

}  // namespace
