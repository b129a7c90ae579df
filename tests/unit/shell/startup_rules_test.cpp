// Help-file path, openable extensions and the stacking of the two panes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/shell/pane_layout.h"
#include "app/shell/startup_rules.h"

TEST(PaneLayout, OddHeightGivesTwoEqualPanesOnePixelApart)
{
    const PaneRect content = {0, 30, 792, 30 + 401};
    const PanePlacement panelAbove = splitContentArea(content, 0);
    EXPECT_EQ(panelAbove.panel.top, 30);
    EXPECT_EQ(panelAbove.panel.bottom - panelAbove.panel.top, 200);
    EXPECT_EQ(panelAbove.tree.top, 30 + 201);
    EXPECT_EQ(panelAbove.tree.bottom - panelAbove.tree.top, 200);
    EXPECT_EQ(panelAbove.tree.right, 792);

    const PanePlacement treeAbove = splitContentArea(content, 1);
    EXPECT_EQ(treeAbove.tree.top, 30);
    EXPECT_EQ(treeAbove.panel.top, 30 + 201);
}

TEST(PaneLayout, AnyNonZeroValuePutsTheTreeAbove)
{
    const PaneRect content = {5, 10, 105, 110};
    for (unsigned long value : {1ul, 2ul, 0xFFFFFFFFul}) {
        SCOPED_TRACE(value);
        EXPECT_LT(splitContentArea(content, value).tree.top, splitContentArea(content, value).panel.top);
    }
    EXPECT_EQ(splitContentArea(content, 0).panel.left, 5);
}

TEST(OpenableExtension, OnlyQvlInAnyCaseOpensTheCalculator)
{
    struct Case {
        const char* name;
        int command;
    } cases[] = {
        {"C:\\calcoli\\esempio.qvl", 40049},
        {"C:\\calcoli\\ESEMPIO.QVL", 40049},
        {"C:\\calcoli\\esempio.QvL", 40049},
        {"esempio.qvl", 40049},
        {"C:\\calcoli\\leggimi.txt", 0},
        {"C:\\calcoli\\esempio.qvl.txt", 0},
        {"C:\\calcoli\\esempio", 0},
        {"C:\\cartella.qvl\\esempio", 0},
        {"C:\\cartella.qvl\\", 0},
        {"C:\\calcoli\\esempio.qvlx", 0},
        {"", 0},
        {"\"C:\\calcoli\\esempio.qvl\"", 0},  // taken verbatim: quotes are not removed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(commandForFileName(c.name), c.command);
    }
    EXPECT_EQ(commandForFileName(nullptr), 0);
}

TEST(OpenableExtension, NamesThatDoNotFitThePathBufferAreRefused)
{
    std::string name = "C:\\" + std::string(252, 'a') + ".qvl";  // 259 characters
    ASSERT_EQ(name.size(), 259u);
    EXPECT_EQ(commandForFileName(name.c_str()), 40049);
    name.insert(3, "b");
    EXPECT_EQ(commandForFileName(name.c_str()), 0);
    name.insert(3, std::string(5000, 'c'));
    EXPECT_EQ(commandForFileName(name.c_str()), 0);
}

TEST(HelpPath, ReplacesTheProgramNameAfterTheLastBackslash)
{
    char out[260];
    EXPECT_TRUE(buildHelpPath("C:\\Programmi\\Quorvel\\Quorvel.exe", out, sizeof out));
    EXPECT_STREQ(out, "C:\\Programmi\\Quorvel\\Quorvel.chm");
    EXPECT_TRUE(buildHelpPath("C:\\Q.EXE", out, sizeof out));
    EXPECT_STREQ(out, "C:\\Quorvel.chm");
}

TEST(HelpPath, FallsBackToTheBareNameAndNeverOverflows)
{
    char out[260];
    EXPECT_FALSE(buildHelpPath("", out, sizeof out));
    EXPECT_STREQ(out, "Quorvel.chm");
    EXPECT_FALSE(buildHelpPath(nullptr, out, sizeof out));
    EXPECT_STREQ(out, "Quorvel.chm");

    // A folder of 250 characters leaves no room for the 11-character name.
    const std::string longFolder = "C:\\" + std::string(247, 'x') + "\\Quorvel.exe";
    char guarded[262];
    std::memset(guarded, 0xcc, sizeof guarded);
    EXPECT_FALSE(buildHelpPath(longFolder.c_str(), guarded, 260));
    EXPECT_STREQ(guarded, "Quorvel.chm");
    EXPECT_EQ(static_cast<unsigned char>(guarded[260]), 0xcc);
    EXPECT_EQ(static_cast<unsigned char>(guarded[261]), 0xcc);
}
