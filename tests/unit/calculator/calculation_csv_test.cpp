#include "app/calculator/calculator.h"
#include "app/database/database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int PerCc = 0;
constexpr int PerLitre = 1;

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

}  // namespace
