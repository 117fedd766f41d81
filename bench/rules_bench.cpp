// Cost of the decision rules the engine's events run through, in nanoseconds
// per call, over addresses and keys like those a browsing session produces.
// Each rule lives in velotide_core (no link-time optimisation), so the calls
// cannot be folded away; their results are summed into a volatile sink too.
// Prints one line per rule: "<name> <ns per call>" (median of the rounds).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "settings/site_address.h"
#include "webview/ad_block.h"
#include "webview/navigation_policy.h"
#include "webview/shortcuts.h"

static volatile size_t g_sink;

static const wchar_t* const kNavigations[] = {
    L"https://site.example/",
    L"https://site.example/articles/2024/05/how-we-ship-small-programs?utm_source=newsletter&utm_medium=email",
    L"https://site.example/search?q=wine+xvfb+webview2#results",
    L"https://SITE.example/Login?next=%2Faccount%2Fsettings",
    L"https://site.example:8443/admin",
    L"https://www.youtube.com/watch?v=dQw4w9WgXcQ&list=PL0123456789",
    L"https://accounts.google.com/o/oauth2/v2/auth?client_id=123&redirect_uri=https%3A%2F%2Fsite.example",
    L"http://site.example/",
    L"data:text/html,%3Cmeta%20charset%3Dutf-8%3E%3Cbody%3EWelcome%3C%2Fbody%3E",
    L"about:blank",
};

static const wchar_t* const kRequestHosts[] = {
    L"site.example",         L"cdn.site.example",      L"fonts.gstatic.com", L"doubleclick.net",
    L"ad.doubleclick.net",   L"stats.g.doubleclick.net", L"xdoubleclick.net",  L"www.google-analytics.com",
    L"images.site.example",  L"securepubads.g.doubleclick.net",
};

struct Key {
    COREWEBVIEW2_KEY_EVENT_KIND kind;
    UINT virtualKey;
    bool ctrl, alt;
};

// What reaches the handler while typing in a page: mostly keys without a
// shortcut, their key-ups, and now and then a real shortcut.
static const Key kKeys[] = {
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, VK_RETURN, false, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP, VK_RETURN, false, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, VK_TAB, false, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, 'C', true, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP, 'C', true, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, 'R', true, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, VK_F11, false, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, VK_ESCAPE, false, false},
    {COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN, VK_HOME, false, true},
    {COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, VK_LEFT, false, false},
};

static double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

// Median over rounds of the time per call; one round calls `call` with
// every input index in turn, `passes` times, and lasts about 50 ms.
template <typename Call>
static double NanosecondsPerCall(size_t inputs, Call call) {
    auto round = [&](size_t passes) {
        size_t sum = 0;
        double begin = Now();
        for (size_t pass = 0; pass < passes; ++pass)
            for (size_t i = 0; i < inputs; ++i) sum += call(i);
        double elapsed = Now() - begin;
        g_sink = g_sink + sum;
        return elapsed;
    };
    size_t passes = 16;
    while (round(passes) < 5e6) passes *= 2;  // 5 ms: then scale to 50 ms
    passes = static_cast<size_t>(static_cast<double>(passes) * 5e7 / round(passes)) + 1;
    std::vector<double> perCall;
    for (int r = 0; r < 11; ++r) perCall.push_back(round(passes) / static_cast<double>(passes * inputs));
    std::sort(perCall.begin(), perCall.end());
    return perCall[perCall.size() / 2];
}

int wmain() {
    std::vector<std::wstring> navigations(std::begin(kNavigations), std::end(kNavigations));
    std::vector<std::wstring> hosts(std::begin(kRequestHosts), std::end(kRequestHosts));
    std::vector<std::wstring> requests;
    for (const std::wstring& host : hosts) requests.push_back(L"https://" + host + L"/assets/app.js?v=3");
    const std::wstring homeOrigin = SiteOrigin(L"https://site.example/");
    const std::wstring adDomain = g_app.adDomain;

    printf("IsAllowedNavigation %.1f\n", NanosecondsPerCall(navigations.size(), [&](size_t i) {
               return static_cast<size_t>(IsAllowedNavigation(navigations[i], homeOrigin));
           }));
    printf("SiteOrigin %.1f\n", NanosecondsPerCall(navigations.size(), [&](size_t i) {
               return SiteOrigin(navigations[i]).size();
           }));
    printf("IsBlockedHost %.1f\n", NanosecondsPerCall(hosts.size(), [&](size_t i) {
               return static_cast<size_t>(IsBlockedHost(hosts[i], adDomain));
           }));
    // What a filtered request costs in all: its host, then the rule.
    printf("SiteHost+IsBlockedHost %.1f\n", NanosecondsPerCall(requests.size(), [&](size_t i) {
               return static_cast<size_t>(IsBlockedHost(SiteHost(requests[i]), adDomain));
           }));
    printf("MapAcceleratorKey %.1f\n", NanosecondsPerCall(std::size(kKeys), [&](size_t i) {
               const Key& k = kKeys[i];
               return static_cast<size_t>(MapAcceleratorKey(k.kind, k.virtualKey, k.ctrl, k.alt, false, i & 1, false));
           }));
    return g_sink == 1 ? 3 : 0;  // reads the sink, so the sums stay live
}
