#include "app/calculator/calculator.h"
#include "app/database/database.h"

#include "tests/unit/ui/recorded_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {


std::string lines(const std::vector<std::string>& all)
{
    std::string text;
    for (const std::string& line : all)
        text += line + "\r\n";
    return text;
}

const char* const Title = "Calcolo dell'esposizione media annuale a fibre d'amianto";

TEST(CalculationCsv, MultipleCalculation)
{
    Calculation calculation;
    calculation.multiple = true;
    for (RowValues values : {RowValues{"Mescolatrice: campionamento ambientale", 2.2, 4, 240},
                             RowValues{"Pastigliatrici", 1.9, 2.5, 240}, RowValues{"Preformazione ceppi", 1.8, 1, 120}})
        calculation.rows.push_back(writeRow(values, PerCc));
    recomputeResults(calculation, PerCc);
    calculation.notes = "Esempio 4: tre lavorazioni, valori in fibre/cc.";
    EXPECT_EQ(lines({Title, "Esposizioni multiple:\t3", "Descrizione\tFibre\tOre\tGiorni\tEsposizione",
                     "Mescolatrice: campionamento ambientale\t2,20000\t4,000\t240,0\t1,10000",
                     "Pastigliatrici\t1,90000\t2,500\t240,0\t0,59375",
                     "Preformazione ceppi\t1,80000\t1,000\t120,0\t0,11250",
                     "Esposizione annuale (ff/cc):\t1,80625", "Esposizione annuale (ff/l):\t1806,25",
                     "Note:\tEsempio 4: tre lavorazioni, valori in fibre/cc."}),
              calculationCsvText(calculation, PerCc));

    // The list's texts are copied as they are, never multiplied again.
    Calculation perLitre;
    perLitre.multiple = true;
    RowValues row{"Centrali. Vapore", 300, 2, 120};
    perLitre.rows.push_back(writeRow(row, PerLitre));
    std::string text = calculationCsvText(perLitre, PerLitre);
    EXPECT_NE(std::string::npos, text.find("\r\nCentrali. Vapore\t300,00\t2,000\t120,0\t37,50\r\n"));

    Calculation empty;
    empty.multiple = true;
    recomputeResults(empty, PerCc);
    EXPECT_EQ(lines({Title, "Esposizioni multiple:\t0", "Descrizione\tFibre\tOre\tGiorni\tEsposizione",
                     "Esposizione annuale (ff/cc):\t0,00000", "Esposizione annuale (ff/l):\t0,00", "Note:\t"}),
              calculationCsvText(empty, PerCc));
}

TEST(CalculationCsv, SingleCalculationCopiesTheFieldTexts)
{
    Calculation calculation;
    calculation.description = "Voce 1.5 con punto";
    calculation.fText = "1.5";
    calculation.tText = "8";
    calculation.gText = "1.2.3";
    calculation.resultCc = "0.05000";
    calculation.resultL = "50.00";
    calculation.notes = "Nota 1.5\r\nseconda riga";
    EXPECT_EQ(lines({Title, "Voce 1.5 con punto", "Concentrazione (ff/l):\t1,5", "Ore/giorno:\t8",
                     "Giorni/anno:\t1,2.3", "Esposizione annuale (ff/cc):\t0,05000",
                     "Esposizione annuale (ff/l):\t50,00", "Note:\tNota 1.5\r\nseconda riga"}),
              calculationCsvText(calculation, PerLitre));
}

}  // namespace

namespace {

// The first item of the database with a source row (cited) or without.
unsigned firstItem(bool cited)
{
    for (int i = 0; i < nodeCount(); ++i)
        if (nodeAt(i)->kind == Item && (findSource(nodeAt(i)->id) != nullptr) == cited)
            return nodeAt(i)->id;
    return 0;
}

TEST(CalculationCsv, ValuesFromTheDatabaseNameTheirSource)
{
    const unsigned cited = firstItem(true), indicative = firstItem(false);
    ASSERT_NE(0u, cited);
    ASSERT_NE(0u, indicative);
    const SourceRecord& source = *findSource(cited);
    EXPECT_NE(std::string::npos, itemOriginText(cited).find(std::string(", ") +
                                                             (*source.method ? source.method : "metodo non indicato") +
                                                             ": " + source.reference));
    EXPECT_EQ("voce " + std::to_string(indicative) + ", valore indicativo (non è una misura pubblicata)",
              itemOriginText(indicative));

    Calculation list;
    list.multiple = true;
    RowValues fromItem{"Dal database", findNode(cited)->concentration * 1000, 8, 240};
    list.rows.push_back(writeRow(fromItem, PerLitre));
    list.rows.back().itemId = cited;
    RowValues typed{"Scritta a mano", 1, 8, 240};
    list.rows.push_back(writeRow(typed, PerLitre));
    std::string text = calculationCsvText(list, PerLitre);
    EXPECT_NE(std::string::npos, text.find("\tEsposizione\tFonte\r\n"));
    EXPECT_NE(std::string::npos, text.find("\t" + itemOriginText(cited) + "\r\nScritta a mano\t")) << text;
    EXPECT_NE(std::string::npos, text.find("\t1,00\t\r\n")) << text;  // a typed row has no source

    Calculation single;
    single.fText = concentrationText(findNode(indicative)->concentration, PerCc);
    single.itemId = indicative;
    EXPECT_NE(std::string::npos,
              calculationCsvText(single, PerCc).find("\r\nFonte:\t" + itemOriginText(indicative) + "\r\n"));
    // A value typed over the item's is no longer the item's.
    single.fText = "12.5";
    EXPECT_EQ(std::string::npos, calculationCsvText(single, PerCc).find("Fonte:"));
}

TEST(CalculationCsv, PhaseContrastAndElectronCountsDoNotMix)
{
    struct Case {
        std::vector<std::string> methods;
        bool mixed;
    } cases[] = {
        {{"PCM", "TEM"}, true}, {{"SEM", "", "PCM"}, true}, {{"PCM", "PCM", ""}, false},
        {{"TEM", "SEM"}, false}, {{"PCM", "altro"}, false}, {{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.methods.size());
        EXPECT_EQ(c.mixed, mixesMicroscopy(c.methods));
    }
}

const char* const WindowTitle = "Calcolo dell'esposizione annuale a fibre";

std::vector<std::string> printedRow(int i)
{
    return {"Descrizione: Riga " + std::to_string(i), "Concentrazione (ff/cc): 0.10000", "Ore/giorno: 8.000",
            "Giorni/anno: 240.0", "Esposizione parziale (ff/cc): 0.10000"};
}

// Mended: the note went alone onto a new page, away from the results and
// the rows it speaks of.
TEST(CalculationPrint, TheNoteStaysWithTheLastRowAndTheResults)
{
    Calculation multiple;
    multiple.multiple = true;
    for (int i = 1; i <= 4; ++i) {
        RowValues values{"Riga " + std::to_string(i), 0.1, 8, 240, 0};
        multiple.rows.push_back(writeRow(values, PerCc));
    }
    recomputeResults(multiple, PerCc);
    multiple.notes = "Nota del calcolo";

    Calculation single;
    single.description = "Taglio";
    single.fText = "0.1";
    single.tText = "8";
    single.gText = "240";
    recomputeResults(single, PerCc);
    single.notes = "Nota del calcolo";

    const std::vector<std::string> results = {"Esposizione annuale (ff/cc): 0.40000",
                                              "Esposizione annuale (ff/l): 400.00"};
    struct Case {
        const char* name;
        const Calculation* calculation;
        int height;  // lines of 10 units: text down to line height/10 - 3
        std::vector<std::vector<std::string>> pages;
    } cases[] = {
        // Text to line 29: the note, three lines below the results, would
        // begin on line 31; the last row goes over with it.
        {"multiple", &multiple, 320, {{WindowTitle, "Esposizioni multiple"}, {WindowTitle}}},
        // Text to line 13: the results (9, 10) go over with the note (14).
        {"single", &single, 160,
         {{WindowTitle, "Taglio", "Concentrazione (ff/cc): 0.1", "Ore/giorno: 8", "Giorni/anno: 240", "Pagina 1"},
          {WindowTitle, "Esposizione annuale (ff/cc): 0.10000", "Esposizione annuale (ff/l): 100.00",
           "Nota del calcolo", "Pagina 2"}}},
    };
    for (int i = 1; i <= 4; ++i) {
        std::vector<std::string>& page = cases[0].pages[i < 4 ? 0 : 1];
        for (const std::string& line : printedRow(i))
            page.push_back(line);
    }
    cases[0].pages[0].push_back("Pagina 1");
    for (const std::string& line : results)
        cases[0].pages[1].push_back(line);
    cases[0].pages[1].push_back("Nota del calcolo");
    cases[0].pages[1].push_back("Pagina 2");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedPage page;
        printCalculationLines(page, *c.calculation, PerCc, WindowTitle, 10, 1000, c.height);
        EXPECT_EQ(c.pages, page.pages());
    }
}

}  // namespace
