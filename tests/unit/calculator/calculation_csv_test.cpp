#include "app/calculator/calculator.h"

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
