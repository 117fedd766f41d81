// The suite's own JSON reading: DevTools' answers carry page text with every
// kind of escape, and a misread answer would fail a row for the wrong reason.
#include <winsock2.h>

#include <gtest/gtest.h>

#include "tests/conformance/devtools.h"

TEST(ConformanceJson, ReadsWhatDevToolsSends) {
    const struct {
        const char* json;
        bool valid;
        const char* value;  // result.result.value, for the valid ones
    } kCases[] = {
        {R"({"id":1,"result":{"result":{"type":"string","value":"Conformance home"}}})", true, "Conformance home"},
        {R"({"result":{"result":{"value":"a\"b\\c\/d\n"}}})", true, "a\"b\\c/d\n"},
        {R"({"result":{"result":{"value":"caf\u00e9 \u20ac \ud83d\ude00"}}})", true,
         "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {R"( { "result" : { "result" : { "value" : "" } } , "id" : 2 } )", true, ""},
        {R"({"result":{"result":{"value":"x"}}} trailing)", false, nullptr},
        {R"({"result":{"result":{"value":"unterminated}}})", false, nullptr},
        {R"({"id":1,)", false, nullptr},
        {R"({"value":"bad escape \q"})", false, nullptr},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.json);
        Json parsed;
        ASSERT_EQ(ParseJson(c.json, parsed), c.valid);
        if (c.valid) {
            EXPECT_EQ(parsed["result"]["result"].Str("value"), c.value);
        }
    }
}

TEST(ConformanceJson, ReadsNumbersListsAndMissingMembers) {
    Json parsed;
    ASSERT_TRUE(ParseJson(R"([{"status":403,"ok":false,"n":null},{"status":-1.5e2},[]])", parsed));
    ASSERT_EQ(parsed.items.size(), 3u);
    EXPECT_EQ(parsed.items[0]["status"].number, 403);
    EXPECT_EQ(parsed.items[0]["ok"].text, "false");
    EXPECT_EQ(parsed.items[0]["n"].kind, Json::kNull);
    EXPECT_EQ(parsed.items[1]["status"].number, -150);
    EXPECT_EQ(parsed.items[1]["missing"]["deeper"].kind, Json::kNull);
    EXPECT_EQ(parsed.items[2].kind, Json::kArray);
}

TEST(ConformanceJson, QuotesWhatItSendsSoThatItReadsBack) {
    const std::string kTexts[] = {"plain", "quote \" and \\ back", "line\nbreak\ttab\x01", "caf\xC3\xA9"};
    for (const std::string& text : kTexts) {
        Json parsed;
        ASSERT_TRUE(ParseJson(Quote(text), parsed)) << Quote(text);
        EXPECT_EQ(parsed.text, text);
    }
}
