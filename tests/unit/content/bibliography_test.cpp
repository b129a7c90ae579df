// The "Bibliografia" topic made from the items' bibliography texts.
#include "tools/helpbuild/helpbuild.h"

#include "app/database/database.h"
#include "common/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Bibliography, CitedSource)
{
    static const char* const cases[][2] = {
        {"Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989", "G. Ig. Ind. 14:207, 1989"},
        {"Valore massimo. Fonte: 55\xB0 Congr. Naz. Med. Lav., 1990.", "55\xB0 Congr. Naz. Med. Lav., 1990"},
        {"Fonte: Dement et al.", "Dement et al."},
        {"Fonte:   Reitze,  Selikoff et al.,\tAIHA J 1972  ", "Reitze, Selikoff et al., AIHA J 1972"},
        {"Media. Fonte: tesi. fonte: Ind Health 2007;45:787", "Ind Health 2007;45:787"},
        {"Valore indicativo dimostrativo, non \xE8 una misura pubblicata.", ""},
        {"Fonte:", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(citedSource(c[0]), c[1]);
    }
}

TEST(Bibliography, SourcesAreCountedOnceIgnoringCaseAndSortedAsADictionary)
{
    Bibliography result = collectBibliography({
        "Fonte: Zeta 2001",
        "Valore indicativo.",
        "Fonte: \xC8tude 1990",  // È sorts with E
        "Campionamento. Fonte: zeta 2001",
        "Fonte: Eta 1980",
        "Fonte: ZETA 2001.",
        "",
        "Fonte: alfa 1970",
    });
    EXPECT_EQ(result.items, 8);
    EXPECT_EQ(result.itemsWithoutSource, 2);
    ASSERT_EQ(result.sources.size(), 4u);
    static const char* const order[] = {"alfa 1970", "Eta 1980", "\xC8tude 1990", "Zeta 2001"};
    static const int counts[] = {1, 1, 1, 3};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.sources[i].source, order[i]);  // first spelling kept
        EXPECT_EQ(result.sources[i].items, counts[i]);
    }
}

TEST(Bibliography, PageEscapesSourcesAndSaysHowManyItemsCiteThem)
{
    Bibliography bibliography = collectBibliography(
        {"Fonte: Gibbs & Lachance <Arch Environ Health> 1972", "Fonte: B 1", "Fonte: B 1", "senza fonte"});
    std::string page = bibliographyPage(bibliography);
    EXPECT_NE(page.find("<li>Gibbs &amp; Lachance &lt;Arch Environ Health&gt; 1972 <i>(1 voce)</i></li>"),
              std::string::npos);
    EXPECT_NE(page.find("<li>B 1 <i>(2 voci)</i></li>"), std::string::npos);
    EXPECT_NE(page.find("Delle 4 voci, 1 non cita alcuna pubblicazione"), std::string::npos);
    EXPECT_NE(page.find("charset=windows-1252"), std::string::npos);
    EXPECT_NE(page.find("set di dati dimostrativo"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);

    std::string empty = bibliographyPage(collectBibliography({"senza fonte", "nemmeno"}));
    EXPECT_NE(empty.find("Nessuna voce della banca dati cita una pubblicazione."), std::string::npos);
    EXPECT_EQ(empty.find("<ol>"), std::string::npos);
}

// The shipped data: every item that cites a publication is accounted for, and
// the list is strictly ordered, so no source appears twice.
TEST(Bibliography, ShippedDataGivesAnOrderedListWithoutDuplicates)
{
    std::vector<std::string> texts;
    int citing = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind != Item) continue;
        texts.emplace_back(node->bibliography);
        if (!citedSource(node->bibliography).empty()) ++citing;
    }
    Bibliography bibliography = collectBibliography(texts);
    ASSERT_FALSE(bibliography.sources.empty());
    int counted = 0;
    for (size_t i = 0; i < bibliography.sources.size(); ++i) {
        counted += bibliography.sources[i].items;
        if (i > 0) {
            SCOPED_TRACE(bibliography.sources[i].source);
            EXPECT_LT(cp1252Collate(bibliography.sources[i - 1].source.c_str(), bibliography.sources[i].source.c_str()), 0);
            EXPECT_FALSE(cp1252EqualNoCase(bibliography.sources[i - 1].source.c_str(),
                                           bibliography.sources[i].source.c_str()));
        }
    }
    EXPECT_EQ(counted, citing);
    EXPECT_EQ(bibliography.itemsWithoutSource, static_cast<int>(texts.size()) - citing);
}

}  // namespace
