// Clipboard text and printed layout of the search results.
#include "app/browse/search_output.h"

#include "tests/unit/ui/recorded_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char Legend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce \r\n"
                      "*=concentrazione superiore a 100 ff/litro\r\n";

}  // namespace

TEST(SearchCopy, HeaderAndLegendWithoutRows)
{
    struct Case {
        bool advanced;
        SearchCriterion criterion;
        const char* name;
    } cases[] = {
        {false, SearchCriterion::Or, "nessuno"},
        {true, SearchCriterion::And, "AND"},
        {true, SearchCriterion::Or, "OR"},
        {true, SearchCriterion::Not, "NOT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResultsHeader header{"xyzw", c.advanced, c.criterion, "Elementi trovati: 0 voci, 0 cartelle"};
        std::string expected = std::string("Risultati di ricerca in Quorvel\r\n")
                             + "Testo da cercare:\txyzw\r\n"
                             + "Criterio di ricerca:\t" + c.name + "\r\n"
                             + "Elementi trovati: 0 voci, 0 cartelle\r\n"
                             + "Tipo\tDescrizione\tBibliografia\r\n" + Legend;
        EXPECT_EQ(expected, searchResultsCopyText(header, nullptr, 0));
    }
}

TEST(SearchCopy, OneLinePerRowInListOrder)
{
    ResultsHeader header{"serpentinite", false, SearchCriterion::And, "Elementi trovati: 2 voci, 1 cartella"};
    const ResultLine rows[] = {
        {21, "Cave di serpentinite", "Valore massimo. Fonte: 55° Congr."},
        {7, "Cave", "ignorata per le cartelle"},
        {9, "Città", "Fonte"},
    };
    std::string text = searchResultsCopyText(header, rows, 3);
    std::string expectedRows = "Tipo\tDescrizione\tBibliografia\r\n"
                               "V *\tCave di serpentinite\tValore massimo. Fonte: 55° Congr.\r\n"
                               "C\tCave\t\r\n"
                               "B\tCittà\tFonte\r\n";
    EXPECT_NE(std::string::npos, text.find(expectedRows + Legend)) << text;
}

TEST(SearchPrint, LinesPageBreaksHeadingsAndNumbers)
{
    const int L = 10;
    ResultsHeader header{"amianto", true, SearchCriterion::Or, "Elementi trovati: 1 voce, 1 cartella"};
    const ResultLine rows[] = {
        {7, "Opifici", nullptr},
        {13, "Voce", "Fonte"},
    };
    const std::vector<std::string> legend = {
        "Legenda:", "B=Bibliografia", "C=Cartella", "V=Voce", "*=concentrazione superiore a 100 ff/litro",
    };

    // Tall page: all on one page, no page number.
    RecordedPage page;
    printSearchResults(page, header, rows, 2, L, 1000, 1000);
    std::vector<std::string> expected = {
        "line 10 Risultati di ricerca in Quorvel",
        "line 20 Testo da cercare: ",
        "line 30 amianto",
        "line 40 Criterio di ricerca: OR",
        "line 60 Elementi trovati: 1 voce, 1 cartella",
        "line 70 Tipo", "line 80 Descrizione", "line 90 Bibliografia",
        "line 120 C", "line 130 Opifici",
        "line 160 B *", "line 170 Voce", "line 180 Fonte",
    };
    for (size_t i = 0; i < legend.size(); ++i)
        expected.push_back("line " + std::to_string(210 + 10 * static_cast<int>(i)) + " " + legend[i]);
    EXPECT_EQ(expected, page.calls);

    // A page of 180 holds text down to line 15 and its number on line 17:
    // the second row moves whole to page two, under the repeated title and
    // column headings.
    RecordedPage shortPage;
    printSearchResults(shortPage, header, rows, 2, L, 1000, 180);
    std::vector<std::string> tail(shortPage.calls.begin() + 10, shortPage.calls.end());
    std::vector<std::string> expectedTail = {
        "line 170 Pagina 1", "page", "line 10 Risultati di ricerca in Quorvel",
        "line 20 Tipo", "line 30 Descrizione", "line 40 Bibliografia",
        "line 60 B *", "line 70 Voce", "line 80 Fonte",
    };
    for (size_t i = 0; i < legend.size(); ++i)
        expectedTail.push_back("line " + std::to_string(110 + 10 * static_cast<int>(i)) + " " + legend[i]);
    expectedTail.push_back("line 170 Pagina 2");
    EXPECT_EQ(expectedTail, tail);

    RecordedPage nothing;
    printSearchResults(nothing, header, rows, 2, 0, 1000, 1000);
    EXPECT_TRUE(nothing.calls.empty());
}

TEST(SearchPrint, RowsLongerThanSixLinesOrAPageArePrintedWhole)
{
    std::string source;
    for (int i = 0; i < 40; ++i)
        source += "parola" + std::to_string(i) + " ";
    const ResultLine rows[] = {{13, "Voce", source.c_str()}};
    ResultsHeader header{"voce", false, SearchCriterion::And, "Elementi trovati: 1 voce, 0 cartelle"};
    // 10 units wide: one word a line, 40 lines on pages of 20.
    RecordedPage page;
    printSearchResults(page, header, rows, 1, 10, 10, 200);
    std::string printed;
    for (const std::string& call : page.calls)
        printed += call + "\n";
    for (int i = 0; i < 40; ++i)
        EXPECT_NE(printed.find(" parola" + std::to_string(i) + "\n"), std::string::npos) << i << printed;
    EXPECT_NE(printed.find("Pagina 3"), std::string::npos) << printed;
}
