// Panel path, title and item text: the exact strings the panel shows and
// copy and print carry.
#include "app/browse/item_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/database/database.h"

namespace {

NodeRecord makeItem(double concentration, const char* bibliography)
{
    NodeRecord node{};
    node.id = 13;
    node.kind = Item;
    node.concentration = concentration;
    node.name = "voce";
    node.bibliography = bibliography;
    return node;
}

std::string titleOf(const std::vector<const char*>& leafFirst)
{
    char path[PanelTitleSize] = "";
    for (const char* label : leafFirst)
        EXPECT_TRUE(appendUpwardLabel(path, sizeof path, label));
    char title[PanelTitleSize];
    upwardPathToTitle(path, title, sizeof title);
    return title;
}

}  // namespace

TEST(PanelTitle, UpwardPathReversesIntoTheTitle)
{
    struct Case {
        std::vector<const char*> leafFirst;
        const char* upward;
        const char* title;
    } cases[] = {
        {{"Amianto"}, "Amianto", "Amianto"},
        {{"Bonifica", "Ciclo di vita", "Amianto"},
         "Bonifica<-Ciclo di vita<-Amianto",
         "Amianto->Ciclo di vita->Bonifica"},
        // Labels with arrows of their own are not split.
        {{"a<b", "x->y", "Amianto"}, "a<b<-x->y<-Amianto", "Amianto->x->y->a<b"},
        {{"fine<", "Amianto"}, "fine<<-Amianto", "Amianto->fine<"},
        {{"città", "Università"}, "città<-Università", "Università->città"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upward);
        char path[PanelTitleSize] = "";
        for (const char* label : c.leafFirst)
            ASSERT_TRUE(appendUpwardLabel(path, sizeof path, label));
        EXPECT_STREQ(c.upward, path);
        EXPECT_EQ(c.title, titleOf(c.leafFirst));
    }
}

TEST(PanelTitle, LongPathsAreCutAtTheBuffer)
{
    // 20 labels of 120 characters: about 2.4 KB, more than the 2047 allowed.
    std::string label(120, 'x');
    char path[PanelTitleSize + 8];
    std::memset(path, 0xCC, sizeof path);
    path[0] = '\0';
    bool fitted = true;
    for (int i = 0; i < 20; ++i) {
        label[0] = static_cast<char>('A' + i);
        fitted = appendUpwardLabel(path, PanelTitleSize, label.c_str()) && fitted;
    }
    EXPECT_FALSE(fitted);
    EXPECT_EQ(PanelTitleSize - 1, std::strlen(path));
    for (size_t i = PanelTitleSize; i < sizeof path; ++i)
        ASSERT_EQ(static_cast<char>(0xCC), path[i]);

    char title[PanelTitleSize + 8];
    std::memset(title, 0xCC, sizeof title);
    upwardPathToTitle(path, title, PanelTitleSize);
    EXPECT_EQ(PanelTitleSize - 1, std::strlen(title));
    for (size_t i = PanelTitleSize; i < sizeof title; ++i)
        ASSERT_EQ(static_cast<char>(0xCC), title[i]);

    // A tiny buffer still ends with its NUL.
    char small[5];
    upwardPathToTitle("Bonifica<-Amianto", small, sizeof small);
    EXPECT_STREQ("Amia", small);
}

TEST(ItemDisplayText, ConcentrationAndSourceInEachUnit)
{
    const char* source = "Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989";
    struct Case {
        double concentration;
        DisplayUnit unit;
        const char* firstLine;
    } cases[] = {
        {0.057, PerCc, "Concentrazione:   0.0570 ff/cc"},
        {0.057, PerLitre, "Concentrazione:     57.0 ff/l"},
        {0.0, PerCc, "Concentrazione:   0.0000 ff/cc"},
        {0.0, PerLitre, "Concentrazione:      0.0 ff/l"},
        {600.0, PerCc, "Concentrazione: 600.0000 ff/cc"},
        {600.0, PerLitre, "Concentrazione: 600000.0 ff/l"},
        {0.00005, PerCc, "Concentrazione:   0.0001 ff/cc"},  // half away from zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        NodeRecord item = makeItem(c.concentration, source);
        char text[PanelTextSize];
        int length = formatItemDisplayText(item, c.unit, text, sizeof text);
        std::string expected = std::string(c.firstLine) + "\r\n\r\nFonte bibliografica: " + source;
        EXPECT_EQ(expected, text);
        EXPECT_EQ(static_cast<int>(expected.size()), length);
    }
}

TEST(ItemDisplayText, LongestSourceFitsAndSmallBuffersAreCut)
{
    // The longest bibliography the generator lets through.
    const std::string longest(NodeBibliographySize - 1, 'b');
    NodeRecord item = makeItem(0.18, longest.c_str());
    char text[PanelTextSize];
    int length = formatItemDisplayText(item, PerLitre, text, sizeof text);
    EXPECT_LT(length, static_cast<int>(PanelTextSize));
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(text));
    length = formatItemDisplayText(item, PerCc, text, sizeof text);
    EXPECT_EQ(55 + static_cast<int>(longest.size()), length);

    char small[24];
    std::memset(small, 0xCC, sizeof small);
    length = formatItemDisplayText(item, PerCc, small, 16);
    EXPECT_STREQ("Concentrazione:", small);
    EXPECT_GT(length, 16);
    for (size_t i = 16; i < sizeof small; ++i)
        ASSERT_EQ(static_cast<char>(0xCC), small[i]);
}

TEST(ItemCopyText, TitleTextAndLineBreaks)
{
    EXPECT_EQ("Amianto\r\n\r\n\r\n\r\n", itemCopyText("Amianto", ""));
    EXPECT_EQ("Amianto->Ciclo di vita\r\n\r\nriga 1\r\n\r\nriga 2\r\n\r\n",
              itemCopyText("Amianto->Ciclo di vita", "riga 1\r\n\r\nriga 2"));
}
