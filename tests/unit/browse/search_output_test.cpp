// Clipboard text and printed layout of the search results.
#include "app/browse/search_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char Legend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce \r\n"
                      "*=concentrazione superiore a 100 ff/litro\r\n";

// Records what the print code would draw. Each text is as high as its lines
// (CR LF pairs, a final one not counting), up to the box it is given.
class RecordedPage : public ResultsPage {
public:
    explicit RecordedPage(int lineHeight) : lineHeight_(lineHeight) {}

    void drawLine(int y, const char* text) override
    {
        calls.push_back("line " + std::to_string(y) + " " + text);
    }
    int drawBox(int top, int bottom, const char* text) override
    {
        calls.push_back("box " + std::to_string(top) + "-" + std::to_string(bottom) + " " + flat(text));
        std::string s(text);
        int lines = 1;
        for (size_t p = s.find("\r\n"); p != std::string::npos; p = s.find("\r\n", p + 2))
            if (p + 2 < s.size())
                ++lines;
        return lines * lineHeight_;
    }
    void newPage() override { calls.push_back("page"); }

    std::vector<std::string> calls;

private:
    static std::string flat(const std::string& text)
    {
        std::string out;
        for (char c : text)
            out += c == '\r' ? std::string() : c == '\n' ? std::string("|") : std::string(1, c);
        return out;
    }
    int lineHeight_;
};

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

TEST(SearchPrint, LinesBoxesAndPageBreaks)
{
    const int L = 10;
    ResultsHeader header{"amianto", true, SearchCriterion::Or, "Elementi trovati: 1 voce, 1 cartella"};
    const ResultLine rows[] = {
        {7, "Opifici", nullptr},
        {13, "Voce", "Fonte"},
    };

    // Tall page: all on one page.
    RecordedPage page(L);
    printSearchResults(page, header, rows, 2, L, 1000);
    std::vector<std::string> expected = {
        "line 10 Risultati di ricerca in Quorvel",
        "line 20 Testo da cercare: ",
        "line 30 amianto",
        "line 40 Criterio di ricerca: OR",
        "line 60 Elementi trovati: 1 voce, 1 cartella",
        "box 70-100 Tipo|Descrizione|Bibliografia|",
        "box 120-180 C|Opifici",
        "box 160-220 B *|Voce|Fonte",
        "box 210-260 Legenda: |B=Bibliografia |C=Cartella |V=Voce|*=concentrazione superiore a 100 ff/litro|",
    };
    EXPECT_EQ(expected, page.calls);

    // n is 11 before the first row and (11 + 7) x 10 = 180 exceeds a page of
    // 170: the first row opens page two, the rest follows on it.
    RecordedPage shortPage(L);
    printSearchResults(shortPage, header, rows, 2, L, 170);
    std::vector<std::string> tail(shortPage.calls.begin() + 5, shortPage.calls.end());
    std::vector<std::string> expectedTail = {
        "box 70-100 Tipo|Descrizione|Bibliografia|",
        "page",
        "box 10-70 C|Opifici",
        "box 50-110 B *|Voce|Fonte",
        "box 100-150 Legenda: |B=Bibliografia |C=Cartella |V=Voce|*=concentrazione superiore a 100 ff/litro|",
    };
    EXPECT_EQ(expectedTail, tail);

    RecordedPage nothing(L);
    printSearchResults(nothing, header, rows, 2, 0, 1000);
    EXPECT_TRUE(nothing.calls.empty());
}
