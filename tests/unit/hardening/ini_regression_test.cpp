// Inputs found by fuzzing the INI reader. A line opening with "[" and no "]"
// anywhere before its end once took the search for "]" past the start of the
// text (npos as the name's end) and read outside it; such a line is an
// ordinary line, so the keys after it still belong to the section before.
#include "common/ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct BracketCase {
    const char* text;
    const char* section;
    const char* key;
    const char* expected;
};

const BracketCase bracketCases[] = {
    {"[", "", "x", "d"},
    {"[\nx=1", "", "x", "1"},
    {"  [Rotta\r\nb=2\r\n", "", "b", "2"},
    {"[QUORVEITEMS=LTI=0\r\nUNIT=1\r\n", "", "UNIT", "1"},
    {"[QUORVEITEMS=LTI=0\r\nUNIT=1\r\n", "", "[QUORVEITEMS", "LTI=0"},
    // A "]" on an earlier line does not close this one either.
    {"[A]\n[Rotta\nb=3\n", "A", "b", "3"},
};

TEST(IniRegression, BracketLineWithoutCloseIsAnOrdinaryLine) {
    for (const BracketCase& c : bracketCases) {
        SCOPED_TRACE(c.text);
        char buffer[32];
        std::memset(buffer, 0xcc, sizeof buffer);
        unsigned count = iniReadString(c.text, c.section, c.key, "d", buffer, sizeof buffer);
        EXPECT_STREQ(c.expected, buffer);
        EXPECT_EQ(std::strlen(c.expected), count);
    }
}

TEST(IniRegression, WritesAfterAnUnclosedBracketLine) {
    std::string text = "[\r\n";
    ASSERT_TRUE(iniWriteString(text, "QUORVEL", "UNIT", "1"));
    EXPECT_EQ("[\r\n[QUORVEL]\r\nUNIT=1\r\n", text);
    char keys[16];
    EXPECT_EQ(0u, iniReadKeys("[", "", keys, sizeof keys));
}

}  // namespace
