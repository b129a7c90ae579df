// Windows-1252 folding against the table of what CharLowerA gives, and the
// comparisons built on it.
#include "common/cp1252.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/common/charlower_cases.h"

TEST(Cp1252Lower, EveryByteFoldsAsCharLowerA)
{
    for (int c = 0; c < 256; ++c) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << c);
        EXPECT_EQ(CharLowerCases[c], cp1252Lower(static_cast<unsigned char>(c)));
    }
}

TEST(Cp1252Lower, StringFoldingMatchesTheTableAndStopsAtTheNul)
{
    char text[257];
    for (int c = 1; c < 256; ++c)
        text[c - 1] = static_cast<char>(c);
    text[255] = '\0';
    text[256] = 'X';  // past the NUL: must stay as it is
    cp1252LowerInPlace(text);
    for (int c = 1; c < 256; ++c) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << c);
        EXPECT_EQ(CharLowerCases[c], static_cast<unsigned char>(text[c - 1]));
    }
    EXPECT_EQ('X', text[256]);
}

TEST(Cp1252Lower, BoundedCopyCutsAndTerminates)
{
    struct Case {
        const char* text;
        size_t size;
        const char* expected;
    } cases[] = {
        {"CITTÀ", 16, "città"},
        {"CITTÀ", 4, "cit"},
        {"CITTÀ", 1, ""},
        {"", 8, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " into " << c.size);
        char out[20];
        std::memset(out, 0xCC, sizeof out);
        size_t n = cp1252LowerCopy(c.text, out, c.size);
        EXPECT_STREQ(c.expected, out);
        EXPECT_EQ(std::strlen(c.expected), n);
        for (size_t i = c.size; i < sizeof out; ++i)
            ASSERT_EQ(static_cast<char>(0xCC), out[i]) << "written past the buffer at " << i;
    }
    char untouched = 'Q';
    EXPECT_EQ(0u, cp1252LowerCopy("ABC", &untouched, 0));
    EXPECT_EQ('Q', untouched);
}

TEST(Cp1252Compare, CaseInsensitiveEquality)
{
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"AMIANTO", "amianto", true},
        {"Perché È così", "PERCHÉ è COSÌ", true},
        {"ŠŒŽŸ", "šœžÿ", true},
        {"straße", "STRASSE", false},  // ß has no capital in the code page
        {"×", "÷", false},              // 0xD7 is not a letter
        {"amianto", "amiant", false},
        {"", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " / " << c.b);
        EXPECT_EQ(c.equal, cp1252EqualNoCase(c.a, c.b));
        EXPECT_EQ(c.equal, cp1252CompareNoCase(c.a, c.b) == 0);
        EXPECT_EQ(cp1252CompareNoCase(c.a, c.b), -cp1252CompareNoCase(c.b, c.a));
    }
    // Bytes compare unsigned: an accented letter sorts after 'z'.
    EXPECT_LT(cp1252CompareNoCase("z", "à"), 0);
}

TEST(Cp1252Contains, PlainSubstringWithoutWordBoundaries)
{
    struct Case {
        const char* text;
        const char* pattern;
        bool found;
    } cases[] = {
        {"Amianto", "amia", true},
        {"Lastre in CEMENTO AMIANTO", "cemento amianto", true},
        {"cemento  amianto", "cemento amianto", false},
        {"UNIVERSITÀ", "università", true},
        {"ami", "amia", false},
        {"qualsiasi", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pattern << " in " << c.text);
        EXPECT_EQ(c.found, cp1252ContainsNoCase(c.text, c.pattern));
    }
}

TEST(Cp1252Collate, DictionaryOrderIsTotalAndAccentAware)
{
    // Each entry sorts strictly before the next one.
    const char* ordered[] = {
        "àbaco", "Abete", "abete", "Cemento", "Città", "città", "cittadino",
        "Elenco", "Èlenco", "èlenco", "Fibre", "Ørsted", "Zolfo",
    };
    const size_t count = sizeof ordered / sizeof ordered[0];
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = 0; j < count; ++j) {
            SCOPED_TRACE(testing::Message() << ordered[i] << " / " << ordered[j]);
            int expected = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(expected, cp1252Collate(ordered[i], ordered[j]));
        }
    }
}
