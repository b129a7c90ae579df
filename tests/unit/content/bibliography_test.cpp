// The "Bibliografia" topic made from the sources table.
#include "tools/helpbuild/helpbuild.h"

#include "app/database/database.h"
#include "common/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CitedSource cited(const char* reference, const char* address, bool checked)
{
    return CitedSource{reference, address, checked, 0, "", "", "", ""};
}

TEST(Bibliography, SourcesAreCountedOnceIgnoringCaseAndSortedAsADictionary)
{
    Bibliography result = collectBibliography({
        cited("Zeta 2001", "https://doi.org/z", true),
        cited("\xC8tude 1990", "", true),  // È sorts with E
        cited("zeta 2001", "https://doi.org/z", false),
        cited("Eta 1980", "", true),
        cited("ZETA 2001", "", true),
        cited("alfa 1970", "", true),
    }, 10);
    EXPECT_EQ(result.items, 10);
    EXPECT_EQ(result.cited, 6);
    EXPECT_EQ(result.checked, 5);
    ASSERT_EQ(result.sources.size(), 4u);
    static const char* const order[] = {"alfa 1970", "Eta 1980", "\xC8tude 1990", "Zeta 2001"};
    static const int counts[] = {1, 1, 1, 3};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.sources[i].reference, order[i]);  // first spelling kept
        EXPECT_EQ(result.sources[i].items, counts[i]);
    }
    EXPECT_FALSE(result.sources[3].checked) << "one unchecked row marks the publication";
}

TEST(Bibliography, PageEscapesSourcesAndSaysHowManyItemsCiteThem)
{
    Bibliography bibliography = collectBibliography(
        {{"Gibbs & Lachance <Arch Environ Health> 1972", "", false, 2, "Canada", "altro", "media", ""},
         {"B 1", "https://doi.org/10.1/x?a=1&b=2", true, 5, "Italia", "SEM", "non rilevato", "tabella"},
         {"B 1", "", true, 9, "USA", "PCM", "TWA", "riassunto"}},
        4);
    std::string page = bibliographyPage(bibliography);
    EXPECT_NE(page.find("<li>Gibbs &amp; Lachance &lt;Arch Environ Health&gt; 1972 <i>(1 voce, fonte non "
                        "verificata)</i><br>\nvoce 2: Canada, altro, media, non letta</li>"),
              std::string::npos);
    EXPECT_NE(page.find("<li>B 1. https://doi.org/10.1/x?a=1&amp;b=2 <i>(2 voci)</i><br>\nvoce 5: Italia, SEM, "
                        "non rilevato, letta in una tabella<br>\nvoce 9: USA, PCM, TWA, letta nel riassunto</li>"),
              std::string::npos);
    EXPECT_NE(page.find("Delle 4 voci della banca dati, 3 citano una pubblicazione; di queste 2 riportano un valore "
                        "letto nella pubblicazione o nel suo riassunto (0 nel testo completo, 1 in una tabella, "
                        "1 nel solo riassunto)"),
              std::string::npos);
    EXPECT_NE(page.find("Le restanti 1 voci riportano un valore indicativo"), std::string::npos);
    EXPECT_NE(page.find("charset=windows-1252"), std::string::npos);
    EXPECT_NE(page.find("set di dati dimostrativo"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);

    std::string empty = bibliographyPage(collectBibliography({}, 2));
    EXPECT_NE(empty.find("Nessuna voce della banca dati cita una pubblicazione."), std::string::npos);
    EXPECT_EQ(empty.find("<ol>"), std::string::npos);
}

// The shipped sources table: every row is accounted for, and the list is
// strictly ordered, so no publication appears twice.
TEST(Bibliography, ShippedSourcesGiveAnOrderedListWithoutDuplicates)
{
    std::vector<CitedSource> rows;
    for (int i = 0; i < sourceCount(); ++i)
        rows.push_back(cited(SourceTable[i].reference, SourceDetailTable[i].address, SourceTable[i].checked));
    Bibliography bibliography = collectBibliography(rows, 864);
    ASSERT_FALSE(bibliography.sources.empty());
    int counted = 0;
    for (size_t i = 0; i < bibliography.sources.size(); ++i) {
        counted += bibliography.sources[i].items;
        if (i > 0) {
            SCOPED_TRACE(bibliography.sources[i].reference);
            EXPECT_LT(cp1252Collate(bibliography.sources[i - 1].reference.c_str(),
                                    bibliography.sources[i].reference.c_str()), 0);
        }
    }
    EXPECT_EQ(counted, sourceCount());
}

}  // namespace
