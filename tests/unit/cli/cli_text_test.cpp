// The command line's text conversions and quoting.
#include <gtest/gtest.h>

#include "cli/cli_internal.h"
#include "cli/text_encoding.h"

TEST(CliEncoding, EveryWindows1252ByteSurvivesTheRoundTripThroughUtf8)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isUtf8(utf8));
    std::string back, bad;
    ASSERT_TRUE(utf8ToCp1252(utf8, &back, &bad)) << bad;
    EXPECT_EQ(all, back);
}

TEST(CliEncoding, KnownCharactersAndRefusals)
{
    struct Case {
        const char* utf8;
        bool accepted;
        const char* cp1252OrBad;
    } cases[] = {
        {u8"già", true, "gi\xE0"},
        {u8"55° Congr", true, "55\xB0 Congr"},
        {u8"€ – “x”", true, "\x80 \x96 \x93x\x94"},
        {"\xC2\x81", true, "\x81"},     // undefined byte: its control character
        {u8"中", false, "U+4E2D"},
        {u8"ÿĀ", false, "U+0100"},
        {"ok\xC3", false, "byte 2"},    // cut sequence
        {"\xC0\xAF", false, "byte 0"},  // overlong
        {"\xED\xA0\x80", false, "byte 0"},  // surrogate
        {"\xE0\x80\x80", false, "byte 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out, bad;
        EXPECT_EQ(c.accepted, utf8ToCp1252(c.utf8, &out, &bad));
        EXPECT_EQ(c.cp1252OrBad, c.accepted ? out : bad);
    }
    EXPECT_EQ("\xE2\x82\xAC\xC3\xA0", cp1252ToUtf8("\x80\xE0"));
}

TEST(CliQuoting, CsvJsonAndDecimalTexts)
{
    EXPECT_EQ("plain", csvField("plain"));
    EXPECT_EQ("\"a, b\"", csvField("a, b"));
    EXPECT_EQ("\"say \"\"x\"\"\"", csvField("say \"x\""));
    EXPECT_EQ("\"two\nlines\"", csvField("two\nlines"));
    EXPECT_EQ("\"a\\\"b\\\\c\\n\\t\\u0001\xE0\"", jsonString("a\"b\\c\n\t\x01\xE0"));

    struct Case {
        double value;
        const char* cc;
        const char* litre;
    } cases[] = {
        {0.057, "0.057", "57"},    {0.00013, "0.00013", "0.13"}, {600, "600", "600000"},
        {20.6, "20.6", "20600"},   {0, "0", "0"},               {1.23456, "1.23456", "1234.56"},
        {0.1, "0.1", "100"},       {0.0021, "0.0021", "2.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cc);
        EXPECT_EQ(c.cc, shortestDecimal(c.value));
        EXPECT_EQ(c.litre, timesThousandText(c.cc));
    }
    EXPECT_EQ("-2500", timesThousandText("-2.5"));
    EXPECT_EQ("a\nb\n", unixLines("a\r\nb\r\n"));
}
