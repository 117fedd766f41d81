// The Chromium engine's reading of DevTools words in WebView2 terms: the
// statuses a failed navigation reports and the contexts resource filters match.
#include <gtest/gtest.h>

#include "engines/chromium/protocol_values.h"

namespace {

TEST(ChromiumValuesTest, NetErrorsBecomeTheRuntimesStatuses) {
    const struct {
        const char* error;
        int status;
    } kCases[] = {
        {"net::ERR_ABORTED", 14},          {"net::ERR_NAME_NOT_RESOLVED", 13},    {"net::ERR_CONNECTION_REFUSED", 12},
        {"net::ERR_TIMED_OUT", 7},         {"net::ERR_CONNECTION_TIMED_OUT", 7}, {"net::ERR_CONNECTION_RESET", 10},
        {"net::ERR_CONNECTION_ABORTED", 9}, {"net::ERR_CERT_COMMON_NAME_INVALID", 1}, {"net::ERR_CERT_DATE_INVALID", 2},
        {"net::ERR_CERT_REVOKED", 4},      {"net::ERR_CERT_AUTHORITY_INVALID", 5}, {"net::ERR_TOO_MANY_REDIRECTS", 15},
        {"net::ERR_BLOCKED_BY_CLIENT", 0}, {"ERR_ABORTED", 0},                    {"", 0},
    };
    for (const auto& c : kCases) EXPECT_EQ(WebErrorStatusFor(c.error), c.status) << c.error;
}

TEST(ChromiumValuesTest, ResourceTypesAndContextsMatchBothWays) {
    for (int context = COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT; context <= COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER;
         ++context) {
        auto c = static_cast<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>(context);
        EXPECT_EQ(ResourceContextFor(ResourceTypeFor(c)), c) << context;
    }
    EXPECT_EQ(ResourceTypeFor(COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL), "");  // a pattern for every type
    EXPECT_EQ(ResourceContextFor("Image"), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE);
    EXPECT_EQ(ResourceContextFor("Script"), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT);
    EXPECT_EQ(ResourceContextFor("XHR"), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST);
    EXPECT_EQ(ResourceContextFor("Prefetch"), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER);
}

}  // namespace
