// The section-indexed profile answers as the INI reader on the whole text.
#include <gtest/gtest.h>

#include <cstring>

#include "cli/cli_internal.h"
#include "common/ini.h"

TEST(CliSectionProfile, AnswersAsTheWholeTextReader)
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
        SectionProfile indexed(text);
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
    SectionProfile profile("[A]\n[ b ]\nk=v\nx [C]\n");
    EXPECT_TRUE(profile.hasSection("a"));
    EXPECT_TRUE(profile.hasSection("B"));
    EXPECT_FALSE(profile.hasSection("C"));
    EXPECT_FALSE(profile.writeString("A", "k", "v"));
}
