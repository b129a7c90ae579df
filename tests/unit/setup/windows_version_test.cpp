// Every row of the Windows-version table, with the uninstaller's flag.
#include "setup/windows_version.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(WindowsVersionLabel, EveryRow) {
    struct Case {
        unsigned long platform, major, minor;
        const char* servicePack;
        const char* label;
        bool oldSetupEngine;
    } cases[] = {
        {1, 4, 0, "", "Windows 95 ", true},
        {1, 4, 0, " C", "Windows 95 OSR2 ", true},
        {1, 4, 0, " B", "Windows 95 ", true},
        {1, 4, 0, "C", "Windows 95 ", true},
        {1, 4, 10, "", "Windows 98 ", true},
        {1, 4, 10, " A ", "Windows 98 SE ", true},
        {1, 4, 10, " C", "Windows 98 ", true},
        {1, 4, 90, " A", "Windows Me ", false},
        {1, 4, 91, "", "Windows versione successiva a Me ", false},
        {1, 5, 0, "", "Windows versione successiva a Me ", false},
        {2, 3, 51, "", "Windows NT ", false},
        {2, 4, 0, "Service Pack 6", "Windows NT ", false},
        {2, 5, 0, "", "Windows 2000 ", false},
        {2, 5, 1, "Service Pack 3", "Windows XP ", false},
        {2, 5, 2, "", "Windows versione successiva ad XP ", false},
        {2, 6, 1, "", "Windows versione successiva ad XP ", false},
        {2, 10, 0, "", "Windows versione successiva ad XP ", false},
        {0, 3, 10, "", "", false},
        {3, 4, 0, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WindowsVersion version = {c.major, c.minor, c.platform, c.servicePack};
        char label[WindowsVersionLabelSize];
        std::memset(label, 'Z', sizeof label);
        EXPECT_EQ(windowsVersionLabel(&version, label, sizeof label), c.oldSetupEngine);
        EXPECT_STREQ(label, c.label);
    }
}

TEST(WindowsVersionLabel, UnknownVersionAndSmallBuffers) {
    char label[8] = "xxxxxxx";
    EXPECT_TRUE(windowsVersionLabel(nullptr, label, sizeof label));
    EXPECT_STREQ(label, "");

    WindowsVersion xp = {5, 1, 2, nullptr};
    EXPECT_FALSE(windowsVersionLabel(&xp, label, sizeof label));
    EXPECT_STREQ(label, "Windows");
    EXPECT_FALSE(windowsVersionLabel(&xp, nullptr, 0));
}

}  // namespace
