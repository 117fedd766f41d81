// Site apps' ids and shortcut names as made from the name a person gives,
// and site owners' programs' ids, from their name and site.
#include <gtest/gtest.h>

#include <set>

#include "settings/app_names.h"
#include "settings/program_preset.h"

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

// A program's id is its folder, settings, sign-in and instance: two owners'
// programs of one name differ by their site, and the same name and site give
// the same id in every version, or its people lose their sign-in.
TEST(AppNames, ProgramIdsTakeInTheSite) {
    const struct {
        const wchar_t* name;
        const wchar_t* origin;
        const wchar_t* id;
    } kCases[] = {
        {L"Acme Board", L"https://a.example", L"acme-board-117c41cd"},
        {L"ACME-board", L"https://b.example", L"acme-board-c61b2490"},
        {L"Acme Board", L"http://a.example:8080", L"acme-board-9291c8fc"},
        {L"Acme Board", L"", L"acme-board"},  // made before ids took in the site
        {L"Aux", L"https://a.example", L"aux-app-117c41cd"},
        // Room for the hash: the name's id cut to 31, no "-" left before it.
        {L"abcdefghijklmnopqrstuvwxyz 12 4567", L"https://a.example", L"abcdefghijklmnopqrstuvwxyz-12-4-117c41cd"},
        {L"abcdefghijklmnopqrstuvwxyz 123 567", L"https://a.example", L"abcdefghijklmnopqrstuvwxyz-123-117c41cd"},
    };
    for (const auto& c : kCases) {
        std::wstring id = ProgramId(c.name, c.origin);
        EXPECT_EQ(id, c.id) << c.name << L" " << c.origin;
        EXPECT_TRUE(IsValidAppId(id)) << id;
    }
}

// A preset written today carries its id; one of an earlier program carries
// none and keeps the name's id. The line's value is never taken: the id is
// made from the name and site, so no program claims another's.
TEST(AppNames, ProgramPresetsKeepTheirIds) {
    ProgramPreset made;
    made.name = L"Acme Board";
    made.siteUrl = L"https://a.example/board";
    const std::string kEarlier = "url=https://a.example/board\r\nname=Acme Board\r\n";
    const struct {
        std::string text;
        const wchar_t* id;
    } kCases[] = {
        {PresetText(made), L"acme-board-117c41cd"},
        {kEarlier, L"acme-board"},
        {"name=Acme Board\nid=\nurl=A.EXAMPLE:443\n", L"acme-board-117c41cd"},
        {kEarlier + "id=other-c61b2490\r\n", L"acme-board-117c41cd"},
    };
    for (const auto& c : kCases) {
        ProgramPreset read;
        EXPECT_TRUE(ReadPreset(c.text, &read)) << c.text;
        EXPECT_EQ(read.id, c.id) << c.text;
    }
}

}  // namespace
