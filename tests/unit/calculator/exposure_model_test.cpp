#include "app/calculator/calculator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {


struct Activity {
    const char* description;
    double f, t, g;
};

Calculation multipleOf(const std::vector<Activity>& activities, DisplayUnit unit)
{
    Calculation calculation;
    calculation.multiple = true;
    for (const Activity& a : activities) {
        RowValues values;
        values.description = a.description;
        values.f = a.f;
        values.t = a.t;
        values.g = a.g;
        calculation.rows.push_back(writeRow(values, unit));
    }
    return calculation;
}

Calculation singleOf(const char* f, const char* t, const char* g)
{
    Calculation calculation;
    calculation.fText = f;
    calculation.tText = t;
    calculation.gText = g;
    return calculation;
}

TEST(ExposureModel, SingleActivityResults)
{
    const struct {
        const char *f, *t, *g;
        DisplayUnit unit;
        const char *resultCc, *resultL;
    } cases[] = {
        {"0.3", "2", "120", PerCc, "0.03750", "37.50"},
        {"1", "8", "240", PerCc, "1.00000", "1000.00"},
        {"0.05", "8", "240", PerCc, "0.05000", "50.00"},
        {"1", "30", "240", PerCc, "3.75000", "3750.00"},  // no range check outside the list
        {"57.00", "8", "240", PerLitre, "0.05700", "57.00"},
        {"", "8", "240", PerCc, "0.00000", "0.00"},
        // Only the first 15 characters are read: 123456789012345.
        {"12345678901234567890", "8", "240", PerCc, "123456789012345.00000", "123456789012344990.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.f << " " << c.t << " " << c.g << " unit " << c.unit);
        Calculation calculation = singleOf(c.f, c.t, c.g);
        recomputeResults(calculation, c.unit);
        EXPECT_EQ(c.resultCc, calculation.resultCc);
        EXPECT_EQ(c.resultL, calculation.resultL);
    }
}

TEST(ExposureModel, MultipleActivitiesSumTheRows)
{
    Calculation perCc = multipleOf({{"Mescolatrice: campionamento ambientale", 2.2, 4, 240},
                                    {"Pastigliatrici", 1.9, 2.5, 240},
                                    {"Preformazione ceppi", 1.8, 1, 120}},
                                   PerCc);
    recomputeResults(perCc, PerCc);
    EXPECT_EQ("1.80625", perCc.resultCc);
    EXPECT_EQ("1806.25", perCc.resultL);

    Calculation perLitre = multipleOf({{"A", 300, 2, 120}, {"B", 4, 5.5, 120}}, PerLitre);
    recomputeResults(perLitre, PerLitre);
    EXPECT_EQ("0.03888", perLitre.resultCc);
    EXPECT_EQ("38.88", perLitre.resultL);
    std::array<std::string, RowColumnCount> second = {"B", "4.00", "5.50", "120.0", "1.38"};
    EXPECT_EQ(second, perLitre.rows[1].columns);

    Calculation empty = multipleOf({}, PerCc);
    empty.fText = "1";  // fields do not count in a full recomputation
    empty.tText = "8";
    empty.gText = "240";
    EXPECT_EQ(0, recomputeResults(empty, PerCc));
    EXPECT_EQ("0.00000", empty.resultCc);
    EXPECT_EQ("0.00", empty.resultL);
}

TEST(ExposureModel, RowsKeepTheirShownRounding)
{
    RowValues values;
    values.description = "Voce";
    values.f = 0.123456;
    values.t = 8;
    values.g = 240;
    ExposureRow row = writeRow(values, PerCc);
    EXPECT_EQ("0.12346", row.columns[ColumnF]);
    EXPECT_EQ(annualExposure(0.123456, 8, 240), values.partial);

    Calculation calculation;
    calculation.multiple = true;
    calculation.rows = {row};
    EXPECT_EQ(annualExposure(0.12346, 8, 240), recomputeResults(calculation, PerCc));

    // The partial column is never summed: a stale one changes nothing.
    calculation.rows[0].columns[ColumnPartial] = "99.00000";
    EXPECT_EQ(annualExposure(0.12346, 8, 240), recomputeResults(calculation, PerCc));

    RowValues back = readRow(row);
    EXPECT_EQ(0.12346, back.f);
    EXPECT_EQ("Voce", back.description);
}

TEST(ExposureModel, FieldChangeShowsTheFieldsActivityUntilRecomputed)
{
    Calculation calculation = multipleOf({{"A", 2.2, 4, 240}}, PerCc);
    calculation.fText = "1";
    calculation.tText = "8";
    calculation.gText = "240";
    EXPECT_EQ(1, applyFieldChange(calculation, PerCc));
    EXPECT_EQ("1.00000", calculation.resultCc);
    recomputeResults(calculation, PerCc);
    EXPECT_EQ("1.10000", calculation.resultCc);

    Calculation single = singleOf("300", "2", "120");
    applyFieldChange(single, PerLitre);
    EXPECT_EQ("37.50", single.resultL);
    EXPECT_EQ("0.03750", single.resultCc);
}

TEST(ExposureModel, TypedNumberCheck)
{
    const struct {
        const char* text;
        bool accepted;
        size_t position;
        const char* caption;
        const char* kept;
    } cases[] = {
        {"", true, 0, "", ""},
        {"0.5", true, 0, "", ""},
        {".", true, 0, "", ""},
        {"0,", false, 1, ",", "0"},
        {"0,3", false, 1, ",3", "0"},
        {"1.2.3", false, 3, ".3", "1.2"},
        {"-1", false, 0, "-1", ""},
        {"+1", false, 0, "+1", ""},
        {" 1", false, 0, " 1", ""},
        {"1e5", false, 1, "e5", "1"},
        // Only 15 characters are examined, and the caption ends with them.
        {"123456789012345x", true, 0, "", ""},
        {"12345678901234x6789", false, 14, "x", "12345678901234"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TypedNumberCheck check = checkTypedNumber(c.text);
        EXPECT_EQ(c.accepted, check.accepted);
        if (!c.accepted) {
            EXPECT_EQ(c.position, check.position);
            EXPECT_EQ(c.caption, check.caption);
            EXPECT_EQ(c.kept, check.keptText);
            EXPECT_TRUE(checkTypedNumber(check.keptText).accepted);
        }
    }
}

TEST(ExposureModel, RowInputChecksInOrder)
{
    const char* const noDescription = "Attenzione: inserire la descrizione attività o lavorazione!";
    const char* const noF = "Attenzione: inserire la concentrazione di fibre!";
    const char* const noT = "Attenzione: inserire le ore/giorno!";
    const char* const badT = "Attenzione: ore/giorno valore non valido!";
    const char* const noG = "Attenzione: inserire i giorni/anno!";
    const char* const badG = "Attenzione: giorni/anno valore non valido!";
    const struct {
        const char *description, *f, *t, *g;
        const char* message;  // null: accepted
    } cases[] = {
        {"", "", "", "", noDescription},
        {"A", "", "", "", noF},
        {"A", "1", "", "", noT},
        {"A", "1", "0", "", badT},
        {"A", "1", ".", "240", badT},
        {"A", "1", "24.01", "240", badT},
        {"A", "1", "-1", "240", badT},
        {"A", "1", "24", "", noG},
        {"A", "1", "24", "365.5", badG},
        {"A", "1", "24", "0", badG},
        {"A", "1", "24", "365", nullptr},
        {"A", "0", "8", "240", nullptr},
        {"A", ".", "8", "240", nullptr},
        {" ", " ", "8", "240", nullptr},  // blanks are not empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.description << "|" << c.f << "|" << c.t << "|" << c.g);
        RowInputCheck check = validateRowInput(c.description, c.f, c.t, c.g);
        if (c.message == nullptr)
            EXPECT_EQ(nullptr, check.message);
        else
            EXPECT_STREQ(c.message, check.message);
    }

    RowInputCheck zero = validateRowInput("A", ".", "8", "240");
    EXPECT_EQ("0.00000", writeRow(zero.record, PerCc).columns[ColumnPartial]);

    RowInputCheck longDescription = validateRowInput(std::string(300, 'd'), "1", "8", "240");
    EXPECT_EQ(std::string(255, 'd'), longDescription.record.description);
}

TEST(ExposureModel, RowBackIntoFieldsAndDescriptionEdit)
{
    Calculation calculation = multipleOf({{"Pastigliatrici", 1.9, 2.5, 240}}, PerLitre);
    FieldTexts fields = rowFieldTexts(calculation.rows[0], PerLitre);
    EXPECT_EQ("Pastigliatrici", fields.description);
    EXPECT_EQ("1.90", fields.fText);
    EXPECT_EQ("2.50", fields.tText);
    EXPECT_EQ("240.0", fields.gText);

    calculation.rows[0].columns[ColumnPartial] = "stale";
    editRowDescription(calculation.rows[0], std::string(256, 'x'), PerLitre);
    std::array<std::string, RowColumnCount> edited = {std::string(255, 'x'), "1.90", "2.50", "240.0", "0.59"};
    EXPECT_EQ(edited, calculation.rows[0].columns);
}

// Mended: a typed F kept its text when the unit changed, so Aggiungi put
// 0.5 ff/cc into the list as 0.50 ff/l.
TEST(ExposureModel, TypedFFollowsAChangeOfUnit)
{
    const struct {
        const char* text;
        DisplayUnit from;
        const char* converted;
    } cases[] = {
        {"0.5", PerCc, "500"},           {"500", PerLitre, "0.500"},
        {"0.30000", PerCc, "300.00"},    {"57.00", PerLitre, "0.05700"},
        {"0.004", PerLitre, "0.000004"}, {"0.0001234", PerCc, "0.1234"},
        {"12", PerCc, "12000"},          {"5.", PerLitre, "0.005"},
        {"1234.5", PerLitre, "1.2345"},  {"", PerCc, ""},
        {"0.5", PerLitre, "0.0005"},     {"0,5", PerCc, ""},
        {"1.2.3", PerCc, ""},            {"-1", PerLitre, ""},
        // 15 characters are read: a longer text would be another number.
        {"123456789012", PerCc, "123456789012000"}, {"1234567890123", PerCc, ""},
        {"0.00000000001", PerLitre, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const DisplayUnit to = c.from == PerCc ? PerLitre : PerCc;
        EXPECT_EQ(c.converted, fieldTextInUnit(c.text, c.from, to));
        EXPECT_EQ(c.text, fieldTextInUnit(c.text, c.from, c.from));
    }

    Calculation calculation = multipleOf({{"Rimozione", 300, 2, 120}, {"Turbinista", 4, 5.5, 120}}, PerLitre);
    calculation.fText = "4";
    convertCalculation(calculation, PerLitre, PerCc);
    EXPECT_EQ("0.004", calculation.fText);
    std::array<std::string, RowColumnCount> first = {"Rimozione", "0.30000", "2.00", "120.0", "0.03750"};
    EXPECT_EQ(first, calculation.rows[0].columns);
    EXPECT_EQ("0.00400", calculation.rows[1].columns[ColumnF]);
    convertCalculation(calculation, PerCc, PerLitre);
    EXPECT_EQ("4", calculation.fText);
    EXPECT_EQ("300.00", calculation.rows[0].columns[ColumnF]);
    EXPECT_EQ("37.50", calculation.rows[0].columns[ColumnPartial]);
}

TEST(ExposureModel, UnitTexts)
{
    EXPECT_STREQ("ff/cc", unitLabel(PerCc));
    EXPECT_STREQ("ff/l", unitLabel(PerLitre));
    EXPECT_EQ("F (ff/l)", concentrationHeader(PerLitre));
    EXPECT_EQ("E (ff/cc)", exposureHeader(PerCc));
    EXPECT_EQ("0.05700", concentrationText(0.057, PerCc));
    EXPECT_EQ("57.00", concentrationText(0.057, PerLitre));
}

}  // namespace
