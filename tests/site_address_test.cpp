#include <gtest/gtest.h>

#include "engines/common/uri.h"
#include "settings/site_address.h"

namespace {

struct NormalizeCase {
    const wchar_t* input;
    const wchar_t* after;
    bool valid;
};

const NormalizeCase kNormalizeCases[] = {
    {L"Host", L"https://Host", true},
    {L"Host:8080", L"https://Host:8080", true},
    {L"  HTTP://Host:8080/Path?q#f \t", L"HTTP://Host:8080/Path?q#f", true},
    {L"HTTPS://HOST", L"HTTPS://HOST", true},
    {L"ftp://Host", L"ftp://Host", false},
    {L"Host/next?to=http://Other", L"Host/next?to=http://Other", false},
    {L"https://", L"https://", false},
    {L"https://:8080", L"https://:8080", false},
    {L"Host:65536", L"https://Host:65536", false},
    {L"https:///Path", L"https:///Path", false},
    {L"   ", L"", false},
    {L"", L"", false},
    // Every code unit iswspace accepts is trimmed, not only the ASCII blank.
    {L"\r\n\v\f Host\t\x3000", L"https://Host", true},
    {L"\t\n", L"", false},
    // The scheme test is on the lower-cased text; the stored text keeps case.
    {L"HtTp://Host", L"HtTp://Host", true},
    {L"https:/Host", L"https://https:/Host", true},
    {L"user@Host", L"https://user@Host", true},
    {L"user:pw@Host", L"https://user:pw@Host", true},
    {L":8080", L"https://:8080", false},
    {L"/Path", L"https:///Path", false},
    // Kept as typed; valid when the host has an ASCII form.
    {L"Stra\u00dfe-Caf\u00e9.test", L"https://Stra\u00dfe-Caf\u00e9.test", true},
    {L"http://Site.TEST:80", L"http://Site.TEST:80", true},
    {L"me@Site.test", L"https://me@Site.test", true},
    {L"http://\u2488.test/", L"http://\u2488.test/", false},
    {L"https://me@\u2488.test", L"https://me@\u2488.test", false},
    {L"https://me@", L"https://me@", false},
    // Refused where browsers form no host, or one no name server could look up.
    {L"ex\u00ADample.test", L"https://ex\u00ADample.test", true},
    {L"https://\u00AD/", L"https://\u00AD/", false},
    {L"https://Ho st", L"https://Ho st", false},
    {L"https://a*b.test", L"https://a*b.test", false},
    {L"https://a%2Fb.test", L"https://a%2Fb.test", false},
    {L"https://%C3.test", L"https://%C3.test", false},
    {L"https://a%zzb.test", L"https://a%zzb.test", false},
    {L"1.2.3.09", L"https://1.2.3.09", false},
    {L"https://1.256.0.0/", L"https://1.256.0.0/", false},
    {L"https://0x100000000/", L"https://0x100000000/", false},
    {L"https://[1::2::3]/", L"https://[1::2::3]/", false},
    {L"https://a\u200Db.test", L"https://a\u200Db.test", false},
    {L"https://\u0627\u200C\u0628.test", L"https://\u0627\u200C\u0628.test", false},
};

TEST(SiteAddressNormalize, TableOfInputs) {
    for (const NormalizeCase& c : kNormalizeCases) {
        std::wstring address = c.input;
        bool valid = NormalizeSiteAddress(address);
        EXPECT_EQ(address, c.after) << "input: " << testing::PrintToString(std::wstring(c.input));
        EXPECT_EQ(valid, c.valid) << "input: " << testing::PrintToString(std::wstring(c.input));
    }
}

TEST(SiteAddressNormalize, NormalizingTwiceChangesNothing) {
    for (const NormalizeCase& c : kNormalizeCases) {
        std::wstring address = c.input;
        if (!NormalizeSiteAddress(address)) continue;
        std::wstring again = address;
        EXPECT_TRUE(NormalizeSiteAddress(again)) << testing::PrintToString(address);
        EXPECT_EQ(again, address);
    }
}

struct OriginCase {
    const wchar_t* address;
    const wchar_t* origin;
    const wchar_t* host;
};

const OriginCase kOriginCases[] = {
    {L"https://Host", L"https://host", L"host"},
    {L"HTTPS://Host:8080/a/b", L"https://host:8080", L"host"},
    {L"https://Host?x=1", L"https://host", L"host"},
    {L"https://Host#top", L"https://host", L"host"},
    {L"https://[::1]:8080/", L"https://[::1]:8080", L"[::1]"},
    {L"file:///C:/x", L"file://", L""},
    {L"about:blank", L"", L""},
    {L"Host/a", L"", L""},
    {L"", L"", L""},
    // Canonical as the engine forms it: default ports, user information and
    // international names; dots stay.
    {L"https://Host:443", L"https://host", L"host"},
    {L"http://Host:80/", L"http://host", L"host"},
    {L"http://Host:0080", L"http://host", L"host"},
    {L"http://Host:/", L"http://host", L"host"},
    {L"https://Host:80", L"https://host:80", L"host"},
    {L"http://Host:443", L"http://host:443", L"host"},
    {L"https://Host:08443", L"https://host:8443", L"host"},
    {L"https://Host./", L"https://host.", L"host."},
    {L"https://H%41st/", L"https://hast", L"hast"},
    {L"https://User@Host/", L"https://host", L"host"},
    {L"https://User:Pw@Host:443/", L"https://host", L"host"},
    {L"https://site.example@evil.example/", L"https://evil.example", L"evil.example"},
    {L"https://a@b@Host/", L"https://host", L"host"},
    {L"https://[::1]/", L"https://[::1]", L"[::1]"},
    {L"http://[::1]:80/", L"http://[::1]", L"[::1]"},
    {L"https://?q", L"https://", L""},
    // International names in their ASCII form, as the engine gives them.
    {L"http://stra\u00dfe-caf\u00e9.test/", L"http://xn--strae-caf-j1a9i.test", L"xn--strae-caf-j1a9i.test"},
    {L"http://STRA\u00dfE-CAF\u00c9.test/", L"http://xn--strae-caf-j1a9i.test", L"xn--strae-caf-j1a9i.test"},
    {L"http://Stra\u00dfe.Caf\u00e9.test/x", L"http://xn--strae-oqa.xn--caf-dma.test", L"xn--strae-oqa.xn--caf-dma.test"},
    {L"http://\u1e9e.test/", L"http://xn--zca.test", L"xn--zca.test"},
    {L"http://\u03c3\u03bf\u03c6\u03b9\u03b1\u03c2.test/", L"http://xn--mxaprobt.test", L"xn--mxaprobt.test"},
    {L"http://Ex\u00e4mple.com", L"http://xn--exmple-cua.com", L"xn--exmple-cua.com"},
    {L"https://\u00c9XAMPLE.com:443/", L"https://xn--xample-9ua.com", L"xn--xample-9ua.com"},
    {L"http://m\u00fcnchen.test", L"http://xn--mnchen-3ya.test", L"xn--mnchen-3ya.test"},
    {L"http://\uff26ull.test/", L"http://full.test", L"full.test"},
    {L"http://a\u3002b.test/", L"http://a.b.test", L"a.b.test"},
    {L"https://me@\u00c4.test:443/", L"https://xn--4ca.test", L"xn--4ca.test"},
    // As browsers write hosts typed otherwise: escapes decoded, ignored code
    // points dropped, joiners kept where they may stand, IPv4 addresses in
    // dotted decimal, IPv6 ones compressed; "\" ends the authority.
    {L"https://%C3%BC%E2%80%8B.test/", L"https://xn--tda.test", L"xn--tda.test"},
    {L"https://Ex\u00ADam\uFE0Fple.test/", L"https://example.test", L"example.test"},
    {L"https://\u0DC1\u0DCA\u200D\u0DBB\u0DD3/", L"https://xn--10cl1a0b660p", L"xn--10cl1a0b660p"},
    {L"https://\u0646\u0627\u0645\u0647\u200C\u0627\u06CC/", L"https://xn--mgba3gch31f060k", L"xn--mgba3gch31f060k"},
    {L"http://0x7F.1/", L"http://127.0.0.1", L"127.0.0.1"},
    {L"http://0177.0.0.1./", L"http://127.0.0.1", L"127.0.0.1"},
    {L"http://2130706433:8080/", L"http://127.0.0.1:8080", L"127.0.0.1"},
    {L"http://\uFF10\uFF38\uFF43\uFF10.%30%32%35%30.1/", L"http://192.168.0.1", L"192.168.0.1"},
    {L"https://[0:0::1]/", L"https://[::1]", L"[::1]"},
    {L"https://[1:0:0:2:0:0:0:3]/", L"https://[1:0:0:2::3]", L"[1:0:0:2::3]"},
    {L"https://[::FFFF:1.2.3.4]/", L"https://[::ffff:102:304]", L"[::ffff:102:304]"},
    {L"https://Host\\Path", L"https://host", L"host"},
    {L"https://site.example\\@evil.example/", L"https://site.example", L"site.example"},
    // One browsers can't form stays as typed, lower-cased: never equal to one they can.
    {L"https://1.2.3.09/", L"https://1.2.3.09", L"1.2.3.09"},
    {L"https://A\u200DB.test/", L"https://a\u200Db.test", L"a\u200Db.test"},
    // The first "://" anywhere counts, even past a "/".
    {L"Host/x?u=HTTP://Other", L"host/x?u=http://other", L"other"},
    {L"Host/x?u=http://Other/p", L"host/x?u=http://other", L"other"},
    {L"data:text/html,<p>", L"", L""},
};

TEST(SiteAddressOrigin, OriginAndHostTable) {
    for (const OriginCase& c : kOriginCases) {
        EXPECT_EQ(SiteOrigin(c.address), c.origin) << testing::PrintToString(std::wstring(c.address));
        EXPECT_EQ(SiteHost(c.address), c.host) << testing::PrintToString(std::wstring(c.address));
    }
}

// A label encoded here fills at most the 63 octets DNS allows a label, as
// IdnToAscii has it for the labels it encodes.
TEST(SiteAddressNormalize, EncodedLabelsFitDns) {
    const std::wstring fits = std::wstring(55, L'a') + L"\u00df";  // xn--<55 a>-une
    const struct {
        std::wstring host;
        bool valid;
    } cases[] = {{fits, true}, {L"a" + fits, false}, {std::wstring(57, L'a') + L"\u00e4", false}};
    for (const auto& c : cases) {
        std::wstring address = L"https://" + c.host + L".test";
        EXPECT_EQ(NormalizeSiteAddress(address), c.valid) << testing::PrintToString(c.host);
    }
    EXPECT_EQ(SiteHost(L"https://" + fits), L"xn--" + std::wstring(55, L'a') + L"-une");
}

// The test engine names every host as the program does, so what it reports
// is judged by the same rules a browser would be.
TEST(SiteAddressOrigin, TestEngineNamesHostsAlike) {
    for (const OriginCase& c : kOriginCases)
        EXPECT_EQ(HostOf(c.address), c.host) << testing::PrintToString(std::wstring(c.address));
    for (const NormalizeCase& c : kNormalizeCases)
        EXPECT_EQ(HostOf(c.after), SiteHost(c.after)) << testing::PrintToString(std::wstring(c.after));
}

// Lower-casing follows the classic C locale: A-Z and nothing else. Other
// letters (Latin-1, Cyrillic, Greek, full-width) are left alone; an
// international host gets its case from its ASCII form.
TEST(SiteAddressLowerCase, OnlyAsciiCapitalsChange) {
    struct {
        const wchar_t* input;
        const wchar_t* lower;
    } cases[] = {
        {L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", L"abcdefghijklmnopqrstuvwxyz"},
        {L"@[`{az09-_.", L"@[`{az09-_."},
        {L"\x00C4\x00C9\x00DE", L"\x00C4\x00C9\x00DE"},
        {L"\x0410\x0416\x042F", L"\x0410\x0416\x042F"},
        {L"\x0391\x03A9", L"\x0391\x03A9"},
        {L"\x0130\xFF21", L"\x0130\xFF21"},
        {L"Stra\x00DF" L"E", L"stra\x00DF" L"e"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(LowerCase(c.input), c.lower) << testing::PrintToString(std::wstring(c.input));
}

}  // namespace
