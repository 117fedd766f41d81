// Site apps' ids and shortcut names as made from the name a person gives.
#include <gtest/gtest.h>

#include <set>

#include "settings/app_names.h"

namespace {

std::set<std::wstring> takenIds;
bool Taken(const std::wstring& id) { return takenIds.count(id) > 0; }

TEST(AppNames, IdFromNameTable) {
    const std::wstring k200(200, L'w');
    const struct {
        std::wstring name;
        std::set<std::wstring> taken;
        std::wstring id;
    } kCases[] = {
        {L"Mail", {}, L"mail"},
        {L"  Team Board!! 2 ", {}, L"team-board-2"},
        {L"Caf\u00E9 M\u00FCnchen", {}, L"cafe-munchen"},
        {L"", {}, L"app"},
        {L"\u2606\u2606 ***", {}, L"app"},        // only symbols
        {L"\u041F\u043E\u0447\u0442\u0430", {}, L"app"},  // letters with no a-z form
        {L"Mail", {L"mail"}, L"mail-2"},
        {L"Mail", {L"mail", L"mail-2", L"mail-3"}, L"mail-4"},
        {L"-Chat-", {}, L"chat"},
        {k200, {}, std::wstring(40, L'w')},
        {k200, {std::wstring(40, L'w')}, std::wstring(38, L'w') + L"-2"},
        {L"Aux", {}, L"aux-app"},  // names Windows keeps for devices
        {L"COM7", {L"com7-app"}, L"com7-app-2"},
        {L"Nul.dev", {}, L"nul-dev"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        takenIds = c.taken;
        std::wstring id = AppIdFromName(c.name, Taken);
        EXPECT_EQ(id, c.id);
        EXPECT_TRUE(IsValidAppId(id));
    }
}

TEST(AppNames, ValidIdsAndShortcutNames) {
    for (const wchar_t* id : {L"a", L"mail-2", L"0abc"}) EXPECT_TRUE(IsValidAppId(id)) << id;
    for (const wchar_t* id : {L"", L"-mail", L"Mail", L"ma il", L"m\u00E9l", L"..\\x", L"a/b", L"aux", L"lpt9", L"con"})
        EXPECT_FALSE(IsValidAppId(id)) << id;
    EXPECT_FALSE(IsValidAppId(std::wstring(41, L'a')));
    const struct {
        const wchar_t* name;
        const wchar_t* file;
    } kFiles[] = {
        {L"Team: Board?", L"Team Board"}, {L"a\\b/c*d|e\"f<g>h", L"abcdefgh"}, {L"Mail. ", L"Mail"},
        {L"CON", L"CON app"},            {L"lpt1.txt", L"lpt1 app.txt"},    {L"Console", L"Console"},
        {L"???", L"fallback"},           {L"Nul.dev", L"Nul app.dev"},      {L"aUx .x.y", L"aUx app .x.y"},
        {L"Com\u00B9", L"Com\u00B9 app"}, {L"COM10", L"COM10"},
    };
    for (const auto& f : kFiles) EXPECT_EQ(ShortcutFileName(f.name, L"fallback"), f.file) << f.name;
}

}  // namespace
