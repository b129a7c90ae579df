// The shipped example calculations: each one, read as the calculator reads
// it and recomputed, gives back the results it stores, and names activities
// that the database holds with the same concentration.
#include <gtest/gtest.h>

#include <string>

#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "common/ini.h"

namespace {

std::string examplePath(const char* name)
{
    return std::string(QUORVEL_SOURCE_DIR) + "/content/examples/" + name;
}

bool databaseHolds(const std::string& name, double concentration)
{
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind == Item && name == node->name && node->concentration == concentration)
            return true;
    }
    return false;
}

TEST(ExampleCalculations, RecomputeToTheirStoredResults)
{
    struct Example {
        const char* file;
        DisplayUnit unit;
        bool multiple;
        size_t rows;
        const char* resultCc;
        const char* resultL;
    } examples[] = {
        {"Esempio1.qvl", PerCc, false, 0, "0.03750", "37.50"},
        {"Esempio2.qvl", PerLitre, false, 0, "0.03750", "37.50"},
        {"Esempio3.qvl", PerLitre, true, 2, "0.03888", "38.88"},
        {"Esempio4.qvl", PerCc, true, 3, "1.80625", "1806.25"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.file);
        IniFileProfile profile(examplePath(e.file).c_str());
        const CalculationFile file = readCalculationFile(profile);
        EXPECT_EQ(file.unit, e.unit);
        EXPECT_EQ(file.multiple, e.multiple);
        EXPECT_EQ(file.rows.size(), e.rows);

        Calculation calculation;
        DisplayUnit unit = PerCc;
        ASSERT_TRUE(applyCalculationFile(file, examplePath(e.file), calculation, &unit));
        EXPECT_EQ(calculation.resultCc, e.resultCc);
        recomputeResults(calculation, unit);
        EXPECT_EQ(calculation.resultCc, e.resultCc);
        EXPECT_EQ(calculation.resultL, e.resultL);
    }
}

TEST(ExampleCalculations, ActivitiesAreItemsOfTheDatabase)
{
    EXPECT_TRUE(databaseHolds("Centrali elettriche a vapore: rimozione di guarnizioni di valvole", 0.3));
    EXPECT_TRUE(databaseHolds("Turbinista in zona turbina", 0.004));
    EXPECT_TRUE(databaseHolds("Mescolatrice: stima per l'ambiente", 2.2));
    EXPECT_TRUE(databaseHolds("Pastigliatrici", 1.9));
    EXPECT_TRUE(databaseHolds("Preformazione ceppi", 1.8));
}

}  // namespace
