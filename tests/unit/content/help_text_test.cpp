// Text conversions of the help build and the command line of hh.exe.
#include "content/viewer/command_line.h"
#include "tools/helpbuild/helpbuild.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(HelpText, Utf8ToCp1252)
{
    struct Case {
        const char* utf8;
        const char* cp1252;  // nullptr: refused
        size_t badOffset;
    };
    static const Case cases[] = {
        {"Amianto", "Amianto", 0},
        {"\xC3\xA0\xC3\xA8\xC3\xAC\xC3\xB2\xC3\xB9 \xC2\xB0", "\xE0\xE8\xEC\xF2\xF9 \xB0", 0},  // àèìòù °
        {"\xE2\x82\xAC 5", "\x80 5", 0},                                                      // €
        {"l\xE2\x80\x99" "aria", "l\x92" "aria", 0},                                          // ’
        {"\xC2\xB5m", "\xB5m", 0},                                                            // µm
        {"\xEF\xBB\xBFtesto", "testo", 0},                                                    // BOM dropped
        {"ok \xC4\x80", nullptr, 3},                                                          // Ā: no CP1252 byte
        {"ok \xF0\x9F\x98\x80", nullptr, 3},                                                  // emoji
        {"ab\xC0\x80", nullptr, 2},                                                           // overlong NUL
        {"ab\x80", nullptr, 2},                                                               // lone continuation
        {"ab\xC3", nullptr, 2},                                                               // cut sequence
        {"ab\xED\xA0\x80", nullptr, 2},                                                       // surrogate
        {"\xE0\xE8", nullptr, 0},                                                             // already CP1252
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out;
        size_t bad = 99;
        bool ok = utf8ToCp1252(c.utf8, &out, &bad);
        if (c.cp1252) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(out, c.cp1252);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(bad, c.badOffset);
        }
    }
}

TEST(HelpText, LineEndsBecomeCrLf)
{
    static const char* const cases[][2] = {
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\r\nb\r\r\n", "a\r\n\r\nb\r\n\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(withCrLf(c[0]), c[1]);
    }
}

TEST(HelpText, HtmlEscapeKeepsLettersAndEscapesMarkup)
{
    EXPECT_EQ(htmlEscape("Gibbs & Lachance <1972> \"AIHA\" l'\xE8"),
              "Gibbs &amp; Lachance &lt;1972&gt; &quot;AIHA&quot; l'\xE8");
    EXPECT_EQ(htmlEscape("&amp;"), "&amp;amp;");
}

TEST(HelpViewerCommandLine, Parsing)
{
    struct Case {
        const char* line;
        bool ok;
        bool hasMapId;
        uint32_t mapId;
        const char* file;
        const char* topic;
    };
    static const Case cases[] = {
        {"-mapid 115860 C:\\Quorvel\\Quorvel.chm", true, true, 115860, "C:\\Quorvel\\Quorvel.chm", ""},
        // the shortcut writes the path unquoted, blanks and all
        {"-mapid 115860 C:\\Program Files\\Quorvel\\Quorvel.chm  ", true, true, 115860,
         "C:\\Program Files\\Quorvel\\Quorvel.chm", ""},
        {"  -MapId   0   \"C:\\A B\\Quorvel.chm\"", true, true, 0, "C:\\A B\\Quorvel.chm", ""},
        {"Quorvel.chm", true, false, 0, "Quorvel.chm", ""},
        {"Quorvel.chm::/calcolo.htm", true, false, 0, "Quorvel.chm", "::/calcolo.htm"},
        {"-mapidx.chm", true, false, 0, "-mapidx.chm", ""},
        {"-mapid 4294967295 a.chm", true, true, 4294967295u, "a.chm", ""},
        {"-mapid 4294967296 a.chm", false, false, 0, "", ""},
        {"-mapid", false, false, 0, "", ""},
        {"-mapid dodici a.chm", false, false, 0, "", ""},
        {"-mapid 12x a.chm", false, false, 0, "", ""},
        {"-mapid 12", false, false, 0, "", ""},
        {"", false, false, 0, "", ""},
        {"   \"\"  ", false, false, 0, "", ""},
        {"::/calcolo.htm", false, false, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        HelpRequest request;
        ASSERT_EQ(parseHelpCommandLine(c.line, &request), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(request.hasMapId, c.hasMapId);
        EXPECT_EQ(request.mapId, c.mapId);
        EXPECT_STREQ(request.file, c.file);
        EXPECT_STREQ(request.topic, c.topic);
    }
}

TEST(HelpViewerCommandLine, NamesThatDoNotFitAreRefusedNotCut)
{
    HelpRequest request;
    std::string longest(259, 'a');
    EXPECT_TRUE(parseHelpCommandLine(longest.c_str(), &request));
    EXPECT_EQ(std::string(request.file), longest);
    std::string tooLong(260, 'a');
    EXPECT_FALSE(parseHelpCommandLine(tooLong.c_str(), &request));
    EXPECT_FALSE(parseHelpCommandLine(nullptr, &request));

    char out[12];
    std::memset(out, 0x5A, sizeof out);
    EXPECT_TRUE(joinTopic("a.chm", "::/b.h", out, sizeof out));
    EXPECT_STREQ(out, "a.chm::/b.h");
    std::memset(out, 0x5A, sizeof out);
    EXPECT_FALSE(joinTopic("a.chm", "::/b.ht", out, sizeof out));
    for (char c : out) EXPECT_EQ(c, 0x5A);  // untouched on refusal
}

}  // namespace
