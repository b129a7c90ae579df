// The shared INI case table against the portable reader and writer, through
// real files as the Windows runner does, plus the rules where the portable
// code deliberately departs from the platform or goes beyond the table.
#include "common/ini.h"

#include "tests/common/ini_cases.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string printable(const char* bytes, size_t length) {
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = bytes[i];
        if (c == 0) out += "\\0";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += static_cast<char>(c);
    }
    return out;
}

std::string withLineEnds(const char* text, const char* eol) {
    std::string out;
    for (; *text; ++text) {
        if (*text == '\n') out += eol;
        else out += *text;
    }
    return out;
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ::testing::TempDir() + "qv_ini_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        std::remove(path_.c_str());
    }
    void TearDown() override { std::remove(path_.c_str()); }

    void put(const char* bytes, size_t length) {
        std::remove(path_.c_str());
        if (bytes) {
            ASSERT_TRUE(writeWholeFile(path_.c_str(), std::string(bytes, length)));
        }
    }
    std::string contents() {
        std::string text;
        readWholeFile(path_.c_str(), &text);
        return text;
    }

    std::string path_;
};

TEST_F(IniFileTest, SharedReadCases) {
    const char* eols[] = {"\r\n", "\n", "\r"};
    for (const IniReadCase& c : iniReadCases) {
        for (const char* eol : eols) {
            SCOPED_TRACE(std::string(c.name) + " with " + printable(eol, std::strlen(eol)));
            std::string file = c.file ? withLineEnds(c.file, eol) : std::string();
            put(c.file ? file.data() : nullptr, file.size());
            IniFileProfile profile(path_.c_str());
            char buffer[300];
            std::memset(buffer, 0xCC, sizeof buffer);
            unsigned count = c.key
                ? profile.readString(c.section, c.key, c.defaultValue, buffer, c.size)
                : profile.readKeys(c.section, buffer, c.size);
            EXPECT_EQ(count, c.expectedCount);
            EXPECT_EQ(printable(buffer, c.expectedCount + 1),
                      printable(c.expected, c.expectedCount + 1));
            // Nothing is written past the buffer handed over.
            EXPECT_EQ(static_cast<unsigned char>(buffer[c.size]), 0xCC);
        }
    }
}

TEST_F(IniFileTest, SharedIntCases) {
    const char* eols[] = {"\r\n", "\n", "\r"};
    for (const IniIntCase& c : iniIntCases) {
        for (const char* eol : eols) {
            SCOPED_TRACE(std::string(c.name) + " with " + printable(eol, std::strlen(eol)));
            std::string file = c.file ? withLineEnds(c.file, eol) : std::string();
            put(c.file ? file.data() : nullptr, file.size());
            EXPECT_EQ(IniFileProfile(path_.c_str()).readInt(c.section, c.key, c.defaultValue),
                      c.expected);
        }
    }
}

TEST_F(IniFileTest, SharedWriteCases) {
    for (const IniWriteCase& c : iniWriteCases) {
        SCOPED_TRACE(c.name);
        put(c.before, c.before ? std::strlen(c.before) : 0);
        EXPECT_TRUE(IniFileProfile(path_.c_str()).writeString(c.section, c.key, c.value));
        EXPECT_EQ(printable(contents().data(), contents().size()),
                  printable(c.after, std::strlen(c.after)));
    }
}

TEST_F(IniFileTest, WriteFailsWhereTheFileCannotBeWritten) {
    std::string inMissingFolder = ::testing::TempDir() + "qv_no_such_folder/x.ini";
    EXPECT_FALSE(IniFileProfile(inMissingFolder.c_str()).writeString("A", "x", "1"));
    // A folder in place of the file cannot be read; it must not count as a
    // missing file.
    std::string folder = ::testing::TempDir();
    EXPECT_FALSE(IniFileProfile(folder.c_str()).writeString("A", "x", "1"));
}

TEST_F(IniFileTest, DeletingFromAMissingFileCreatesNothing) {
    EXPECT_TRUE(IniFileProfile(path_.c_str()).writeString("A", "x", nullptr));
    std::string text;
    EXPECT_FALSE(readWholeFile(path_.c_str(), &text));
}

// Where the portable rules and Wine part ways: Wine drops one more character
// of a quoted value that exactly fits, and does not fold accented capitals.
TEST(IniText, SoundBehaviourWherePlatformsDiffer) {
    const std::string text = "[Città]\r\nPerché=sì\r\nq=\"abcd\"\r\n";
    char buffer[16];
    EXPECT_EQ(iniReadString(text, "CITTÀ", "PERCHÉ", "", buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "sì");
    EXPECT_EQ(iniReadString(text, "città", "q", "", buffer, 5), 4u);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(iniReadString(text, "città", "q", "", buffer, 4), 3u);
    EXPECT_STREQ(buffer, "abc");
}

TEST(IniText, BuffersAreNeverOverrun) {
    const std::string text = "[S]\r\nlungo=abcdefghij\r\nk2=x\r\n";
    char buffer[8];
    std::memset(buffer, 0x5A, sizeof buffer);
    EXPECT_EQ(iniReadString(text, "S", "lungo", "", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 0x5A);
    EXPECT_EQ(iniReadKeys(text, "S", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 0x5A);

    // Whether cut or not, the list ends with two NULs inside the buffer.
    for (unsigned size = 3; size < sizeof buffer; ++size) {
        SCOPED_TRACE(size);
        std::memset(buffer, 0x5A, sizeof buffer);
        unsigned count = iniReadKeys(text, "S", buffer, size);
        ASSERT_LE(count + 2, size);
        EXPECT_EQ(buffer[count], '\0');
        EXPECT_TRUE(buffer[count + 1] == '\0' || (count > 0 && buffer[count - 1] == '\0'));
        EXPECT_EQ(buffer[size], 0x5A);
    }
}

// Writes keep every byte they do not write, whatever the file looks like.
TEST(IniText, WritesKeepForeignBytes) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"blanks around equals kept", "[A]\r\n  x = 1  \r\ny=2\r\n", "A", "x", "9",
         "[A]\r\n  x = 9\r\ny=2\r\n"},
        {"blank line stays between sections", "[A]\r\nx=1\r\n\r\n[B]\r\n", "A", "z", "5",
         "[A]\r\nx=1\r\nz=5\r\n\r\n[B]\r\n"},
        {"LF file gets LF lines", "[A]\nx=1\n", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"CR file gets CR lines", "[A]\rx=1\r", "B", "y", "2", "[A]\rx=1\r[B]\ry=2\r"},
        {"odd lines untouched", "; note\r\n[A] rem\r\n#x\r\n x=1\r\n", "a", "X", "2",
         "; note\r\n[A] rem\r\n#x\r\n x=2\r\n"},
        {"section missing after text without line end", "[A]\r\nx=1", "B", "y", "2",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"value with quotes and blanks inside", "[A]\r\n", "A", "n", "\" a \"",
         "[A]\r\nn=\" a \"\r\n"},
        {"section deleted up to the next", "[A]\r\nx=1\r\n\r\n;c\r\n[B]\r\ny=2\r\n", "A",
         nullptr, nullptr, "[B]\r\ny=2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.before;
        EXPECT_TRUE(iniWriteString(text, c.section, c.key, c.value));
        EXPECT_EQ(printable(text.data(), text.size()), printable(c.after, std::strlen(c.after)));
    }
}

TEST(IniText, EmptyNamesAreRefused) {
    std::string text = "[A]\r\nx=1\r\n";
    EXPECT_FALSE(iniWriteString(text, "", "x", "2"));
    EXPECT_FALSE(iniWriteString(text, nullptr, "x", "2"));
    EXPECT_FALSE(iniWriteString(text, "A", "  ", "2"));
    EXPECT_EQ(text, "[A]\r\nx=1\r\n");
}

TEST(IniText, WrittenValuesReadBack) {
    IniTextProfile profile;
    const char* values[] = {"", "semplice", "con = uguale", "'apici'", "fine con spazio ",
                            "È già più"};
    for (const char* value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(profile.writeString("QUORVEL", "NOTE", value));
        char buffer[256];
        profile.readString("QUORVEL", "NOTE", "x", buffer, sizeof buffer);
        std::string expected = value;
        if (expected == "'apici'") expected = "apici";
        if (expected == "fine con spazio ") expected = "fine con spazio";
        EXPECT_EQ(std::string(buffer), expected);
    }
    EXPECT_EQ(profile.text(), "[QUORVEL]\r\nNOTE=È già più\r\n");
}

}  // namespace

// The section-indexed profile answers as the reader on the whole text.
TEST(IniSectionProfile, AnswersAsTheWholeTextReader)
{
    const char* texts[] = {
        "[QUORVEL]\r\nMULTI=1\r\nITEMS=2\r\n[EXPO_0]\r\nVOCE=a\r\n[EXPO_1]\r\nVOCE=\"b\"\r\n",
        "NOTE=before\r\n[quorvel]\r\nNOTE=first\r\n[QUORVEL]\r\nNOTE=second\r\nUNIT=1\r\n",
        "[ QUORVEL ]\rFIBRE = 0.3 \r[EXPO_0]\rVOCE=x",
        "[EXPO_0] trailing ] text\nVOCE=y\n[EXPO_0\nVOCE=z\n;[QUORVEL]\nITEMS=3\n",
        "[QUORVEL]\n  [EXPO_0]  \n\tVOCE\t=\t'q'\nVOCE=second\n",
        "",
        "[\xC8XPO]\nVOCE=accent\n[\xE8xpo]\nVOCE=lower\n",
    };
    const char* sections[] = {"QUORVEL", "quorvel", " QUORVEL ", "EXPO_0", "EXPO_1", "EXPO_9", "",
                              "\xE8XPO"};
    const char* keys[] = {"MULTI", "ITEMS", "VOCE", "NOTE", "UNIT", "FIBRE", "missing"};
    for (const char* text : texts) {
        IniSectionProfile indexed(text);
        for (const char* section : sections) {
            for (const char* key : keys) {
                SCOPED_TRACE(std::string(text) + " | " + section + " | " + key);
                char expected[64], got[64];
                unsigned n = iniReadString(text, section, key, "dflt", expected, sizeof expected);
                EXPECT_EQ(n, indexed.readString(section, key, "dflt", got, sizeof got));
                EXPECT_STREQ(expected, got);
                EXPECT_EQ(iniReadInt(text, section, key, 7), indexed.readInt(section, key, 7));
            }
            char expectedKeys[64], gotKeys[64];
            unsigned n = iniReadKeys(text, section, expectedKeys, sizeof expectedKeys);
            ASSERT_EQ(n, indexed.readKeys(section, gotKeys, sizeof gotKeys));
            EXPECT_EQ(0, memcmp(expectedKeys, gotKeys, n + 1));
        }
    }
    IniSectionProfile profile("[A]\n[ b ]\nk=v\nx [C]\n");
    EXPECT_TRUE(profile.hasSection("a"));
    EXPECT_TRUE(profile.hasSection("B"));
    EXPECT_FALSE(profile.hasSection("C"));
    EXPECT_FALSE(profile.writeString("A", "k", "v"));
}
