#include "app/calculator/calculator.h"
#include "app/database/database.h"

#include "tests/unit/calculator/fake_profile.h"

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

const std::vector<std::string> Esempio1 = {
    "[QUORVEL]", "LAVORAZIONE=Centrali elettriche a vapore: rimozione di guarnizioni di valvole",
    "FIBRE=0.30000", "ORE=2", "GIORNI=120", "ESPOSIZIONE=0.03750", "ESPOSIZIONE_FL=37.50",
    "NOTE=Esempio 1: lavorazione singola, valori in ff/cc.", "UNIT=0"};
const std::vector<std::string> Esempio2 = {
    "[QUORVEL]", "LAVORAZIONE=Centrali elettriche a vapore: rimozione di guarnizioni di valvole",
    "FIBRE=300.00", "ORE=2", "GIORNI=120", "ESPOSIZIONE=0.03750", "ESPOSIZIONE_FL=37.50",
    "NOTE=Esempio 2: singola lavorazione, valori in ff/l.", "UNIT=1"};
const std::vector<std::string> Esempio3 = {
    "[QUORVEL]", "MULTI=1", "ITEMS=2", "ESPOSIZIONE=0.03888", "ESPOSIZIONE_FL=38.88",
    "NOTE=Esempio 3: due lavorazioni, valori in ff/l.", "UNIT=1", "[EXPO_0]",
    "VOCE=Centrali elettriche a vapore: rimozione di guarnizioni di valvole", "FIBRE=300.00",
    "ORE=2.000", "GIORNI=120.0", "PARZIALE=37.50", "[EXPO_1]", "VOCE=Turbinista in zona turbina",
    "FIBRE=4.00", "ORE=5.500", "GIORNI=120.0", "PARZIALE=1.38"};
const std::vector<std::string> Esempio4 = {
    "[QUORVEL]", "MULTI=1", "ITEMS=3", "ESPOSIZIONE=1.80625", "ESPOSIZIONE_FL=1806.25",
    "NOTE=Esempio 4: tre lavorazioni, valori in fibre/cc.", "UNIT=0", "[EXPO_0]",
    "VOCE=Mescolatrice: campionamento ambientale", "FIBRE=2.20000", "ORE=4.000", "GIORNI=240.0",
    "PARZIALE=1.10000", "[EXPO_1]", "VOCE=Pastigliatrici", "FIBRE=1.90000", "ORE=2.500",
    "GIORNI=240.0", "PARZIALE=0.59375", "[EXPO_2]", "VOCE=Preformazione ceppi", "FIBRE=1.80000",
    "ORE=1.000", "GIORNI=120.0", "PARZIALE=0.11250"};

using Columns = std::array<std::string, RowColumnCount>;

// Reads a file into a calculation that already holds something else.
Calculation opened(const std::string& text, DisplayUnit* unit, const char* path = "C:\\Quorvel\\x.qvl")
{
    Calculation calculation;
    calculation.rows.push_back(ExposureRow{{"old", "1.00000", "8.00", "240.0", "1.00000"}});
    calculation.fText = "9";
    calculation.notes = "old";
    FakeProfile profile(text);
    *unit = static_cast<DisplayUnit>(-7);  // neither unit: the file must set it
    EXPECT_TRUE(applyCalculationFile(readCalculationFile(profile), path, calculation, unit));
    return calculation;
}

TEST(CalculationFile, WritesTheExampleLayoutsExactly)
{
    Calculation multiple;
    multiple.multiple = true;
    for (RowValues values : {RowValues{"Centrali elettriche a vapore: rimozione di guarnizioni di valvole", 300, 2, 120},
                             RowValues{"Turbinista in zona turbina", 4, 5.5, 120}})
        multiple.rows.push_back(writeRow(values, PerLitre));
    recomputeResults(multiple, PerLitre);
    multiple.notes = "Esempio 3: due lavorazioni, valori in ff/l.";
    FakeProfile multipleFile;
    ASSERT_TRUE(writeCalculationFile(multipleFile, "C:\\Esempio3.qvl", multiple, PerLitre));
    EXPECT_EQ(lines(Esempio3), multipleFile.text());
    EXPECT_EQ("C:\\Esempio3.qvl", multiple.currentFile);

    Calculation single;
    single.description = "Centrali elettriche a vapore: rimozione di guarnizioni di valvole";
    single.fText = "0.30000";
    single.tText = "2";
    single.gText = "120";
    recomputeResults(single, PerCc);
    single.notes = "Esempio 1: lavorazione singola, valori in ff/cc.";
    FakeProfile singleFile;
    ASSERT_TRUE(writeCalculationFile(singleFile, "C:\\Esempio1.qvl", single, PerCc));
    std::vector<std::string> expected = Esempio1;
    expected.insert(expected.begin() + 1, "MULTI=0");
    EXPECT_EQ(lines(expected), singleFile.text());
}

TEST(CalculationFile, ReadsTheShippedExamples)
{
    DisplayUnit unit;
    Calculation one = opened(lines(Esempio1), &unit);
    EXPECT_EQ(PerCc, unit);
    EXPECT_FALSE(one.multiple);
    EXPECT_EQ("Centrali elettriche a vapore: rimozione di guarnizioni di valvole", one.description);
    EXPECT_EQ("0.30000", one.fText);
    EXPECT_EQ("2", one.tText);
    EXPECT_EQ("120", one.gText);
    EXPECT_EQ("0.03750", one.resultCc);
    EXPECT_EQ("37.50", one.resultL);
    EXPECT_EQ("Esempio 1: lavorazione singola, valori in ff/cc.", one.notes);
    EXPECT_EQ("C:\\Quorvel\\x.qvl", one.currentFile);
    EXPECT_EQ(1u, one.rows.size());  // a single file leaves the hidden list alone

    Calculation two = opened(lines(Esempio2), &unit);
    EXPECT_EQ(PerLitre, unit);
    EXPECT_EQ("300.00", two.fText);
    // The stored results are shown, not recomputed in the new unit.
    EXPECT_EQ("0.03750", two.resultCc);
    EXPECT_EQ("37.50", two.resultL);

    Calculation three = opened(lines(Esempio3), &unit);
    EXPECT_EQ(PerLitre, unit);
    EXPECT_TRUE(three.multiple);
    ASSERT_EQ(2u, three.rows.size());
    EXPECT_EQ((Columns{"Centrali elettriche a vapore: rimozione di guarnizioni di valvole", "300.00",
                       "2.00", "120.0", "37.50"}),
              three.rows[0].columns);
    EXPECT_EQ((Columns{"Turbinista in zona turbina", "4.00", "5.50", "120.0", "1.38"}), three.rows[1].columns);
    EXPECT_EQ("0.03888", three.resultCc);
    EXPECT_EQ("38.88", three.resultL);

    Calculation four = opened(lines(Esempio4), &unit);
    EXPECT_EQ(PerCc, unit);
    ASSERT_EQ(3u, four.rows.size());
    EXPECT_EQ((Columns{"Preformazione ceppi", "1.80000", "1.00", "120.0", "0.11250"}), four.rows[2].columns);
    EXPECT_EQ("1806.25", four.resultL);

    // Written back unchanged, each example gives its own bytes again.
    for (const auto* example : {&Esempio3, &Esempio4}) {
        Calculation calculation = opened(lines(*example), &unit);
        FakeProfile rewritten;
        ASSERT_TRUE(writeCalculationFile(rewritten, "C:\\y.qvl", calculation, unit));
        EXPECT_EQ(lines(*example), rewritten.text());
    }
}

TEST(CalculationFile, MissingKeysGiveDefaults)
{
    for (const char* text : {"", "\x01\x02 binary\r\n", "[OTHER]\r\nUNIT=1\r\n", "[QUORVEL]\r\nUNIT=x\r\nMULTI=\r\n"}) {
        SCOPED_TRACE(text);
        DisplayUnit unit;
        Calculation calculation = opened(text, &unit);
        EXPECT_EQ(PerCc, unit);
        EXPECT_FALSE(calculation.multiple);
        EXPECT_EQ("", calculation.description);
        EXPECT_EQ("", calculation.fText);
        EXPECT_EQ("", calculation.resultCc);
        EXPECT_EQ("0.00", calculation.resultL);
        EXPECT_EQ("", calculation.notes);
        EXPECT_EQ("C:\\Quorvel\\x.qvl", calculation.currentFile);
    }
}

TEST(CalculationFile, RowCounts)
{
    const struct {
        const char* items;
        size_t rows;
    } cases[] = {{"3", 3}, {"0", 0}, {"-4", 0}, {"2147483647", MaxFileRows}, {"x", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items);
        std::vector<std::string> file = {"[QUORVEL]", "MULTI=1", std::string("ITEMS=") + c.items,
                                         "[EXPO_0]",  "VOCE=A",  "FIBRE=1", "[EXPO_1]", "VOCE=B"};
        DisplayUnit unit;
        Calculation calculation = opened(lines(file), &unit);
        ASSERT_EQ(c.rows, calculation.rows.size());
        if (c.rows == 3) {
            // A section the file lacks gives an empty row of zeros.
            EXPECT_EQ((Columns{"", "0.00000", "0.00", "0.0", "0.00000"}), calculation.rows[2].columns);
            EXPECT_EQ("B", calculation.rows[1].columns[ColumnDescription]);
        }
    }
}

TEST(CalculationFile, SavingOverAnotherCalculation)
{
    FakeProfile file(lines(Esempio4));
    DisplayUnit unit;
    Calculation two = opened(lines(Esempio3), &unit);
    ASSERT_TRUE(writeCalculationFile(file, "C:\\x.qvl", two, unit));
    EXPECT_NE(std::string::npos, file.text().find("ITEMS=2\r\n"));
    EXPECT_NE(std::string::npos, file.text().find("[EXPO_2]"));  // left behind, never read
    Calculation reread = opened(file.text(), &unit);
    EXPECT_EQ(2u, reread.rows.size());

    Calculation single = opened(lines(Esempio1), &unit);
    ASSERT_TRUE(writeCalculationFile(file, "C:\\x.qvl", single, unit));
    EXPECT_NE(std::string::npos, file.text().find("MULTI=0\r\n"));
    Calculation singleAgain = opened(file.text(), &unit);
    EXPECT_FALSE(singleAgain.multiple);
    EXPECT_EQ("0.30000", singleAgain.fText);
    EXPECT_EQ(PerCc, unit);
}

// The item behind a value is kept in ID_VOCE, a key older readers skip
// (VOCE keeps the row's description); a value typed over it drops the key.
TEST(CalculationFile, ItemIdTravelsInItsOwnKey)
{
    unsigned item = 0;
    for (int i = 0; i < nodeCount() && !item; ++i)
        if (nodeAt(i)->kind == Item && nodeAt(i)->concentration > 0)
            item = nodeAt(i)->id;
    const std::string key = "ID_VOCE=" + std::to_string(item) + "\r\n";
    const double f = findNode(item)->concentration;
    DisplayUnit unit;

    Calculation list = opened(lines(Esempio3), &unit);
    RowValues values{"Dal database", f * 1000, 8, 240};
    list.rows.push_back(writeRow(values, unit));
    list.rows.back().itemId = item;
    FakeProfile multiple;
    ASSERT_TRUE(writeCalculationFile(multiple, "C:\\m.qvl", list, unit));
    EXPECT_NE(std::string::npos, multiple.text().find("PARZIALE=" + unitValueText(f * 1000, unit) + "\r\n" + key));
    Calculation listAgain = opened(multiple.text(), &unit);
    ASSERT_EQ(3u, listAgain.rows.size());
    EXPECT_EQ(0u, listAgain.rows[0].itemId);
    EXPECT_EQ(item, listAgain.rows[2].itemId);
    EXPECT_EQ("Dal database", listAgain.rows[2].columns[ColumnDescription]);

    Calculation single = opened(lines(Esempio1), &unit);
    single.fText = concentrationText(f, unit);
    single.itemId = item;
    FakeProfile file(lines(Esempio1));
    ASSERT_TRUE(writeCalculationFile(file, "C:\\s.qvl", single, unit));
    EXPECT_NE(std::string::npos, file.text().find(key));
    EXPECT_EQ(item, opened(file.text(), &unit).itemId);
    single.fText = "7";  // typed over the item's value: the key goes
    ASSERT_TRUE(writeCalculationFile(file, "C:\\s.qvl", single, unit));
    EXPECT_EQ(std::string::npos, file.text().find("ID_VOCE"));

    for (const char* id : {"1", "950", "-3", "abc"}) {  // a folder, a gap, no number
        SCOPED_TRACE(id);
        EXPECT_EQ(0u, opened(lines({"[QUORVEL]", "FIBRE=1", std::string("ID_VOCE=") + id}), &unit).itemId);
    }
}

// Mended: F typed in ff/cc stayed "0.5" when a multiple file in ff/l was
// opened, and was then added as 0.50 ff/l.
TEST(CalculationFile, TheTypedFFollowsTheUnitOfAMultipleFile)
{
    const struct {
        const char* fText;
        DisplayUnit before;
        const std::vector<std::string>* file;
        const char* after;
    } cases[] = {
        {"0.5", PerCc, &Esempio3, "500"},
        {"500", PerLitre, &Esempio4, "0.500"},
        {"0.5", PerLitre, &Esempio3, "0.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fText);
        Calculation calculation;
        calculation.fText = c.fText;
        FakeProfile profile(lines(*c.file));
        DisplayUnit unit = c.before;
        ASSERT_TRUE(applyCalculationFile(readCalculationFile(profile), "C:\\x.qvl", calculation, &unit));
        EXPECT_EQ(c.after, calculation.fText);
    }
}

TEST(CalculationFile, FileDialogsStartInTheFileFolderOrInDocuments)
{
    const std::string program = "C:\\Programmi\\Quorvel";
    const std::string documents = "C:\\Documenti";
    const struct {
        const char* currentFile;
        const char* folder;
    } cases[] = {
        {"", "C:\\Documenti"},
        {"D:\\Calcoli\\a.qvl", "D:\\Calcoli"},
        {"D:\\a.qvl", "D:\\"},
        {"C:\\Programmi\\Quorvel\\Esempio1.qvl", "C:\\Documenti"},
        {"c:/programmi/QUORVEL/Esempi/Esempio1.qvl", "C:\\Documenti"},  // below it, any case, any slash
        {"C:\\Programmi\\Quorvel2\\a.qvl", "C:\\Programmi\\Quorvel2"},  // a folder beside it
        {"a.qvl", "C:\\Documenti"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.currentFile);
        EXPECT_EQ(c.folder, fileDialogFolder(c.currentFile, program, documents));
    }
    EXPECT_EQ("", fileDialogFolder("", program, ""));  // then the current folder
    EXPECT_TRUE(isInsideFolder("C:\\Quorvel\\x.qvl", "C:\\Quorvel\\"));
    EXPECT_TRUE(isInsideFolder("C:\\x.qvl", "C:\\"));
    EXPECT_FALSE(isInsideFolder("C:\\Quorvel", "C:\\Quorvel"));
    EXPECT_FALSE(isInsideFolder("C:\\x.qvl", ""));
}

TEST(CalculationFile, StoredFieldTextsPassTheCharacterCheck)
{
    DisplayUnit unit;
    Calculation calculation =
        opened(lines({"[QUORVEL]", "FIBRE=0,3", "ORE=1.2.3", "GIORNI=240", "ESPOSIZIONE=0.5"}), &unit);
    EXPECT_EQ("0", calculation.fText);
    EXPECT_EQ("1.2", calculation.tText);
    EXPECT_EQ("0.5", calculation.resultCc);  // the stored result, not the fields'
    EXPECT_EQ("500.00", calculation.resultL);
}

TEST(CalculationFile, QuotedTextsLoseTheirQuotes)
{
    DisplayUnit unit;
    Calculation calculation = opened(lines({"[QUORVEL]", "MULTI=1", "ITEMS=1", "NOTE=\"Nota\"", "[EXPO_0]",
                                            "VOCE='Voce'", "FIBRE=1", "ORE=8", "GIORNI=240"}),
                                     &unit);
    EXPECT_EQ("Nota", calculation.notes);
    EXPECT_EQ("Voce", calculation.rows[0].columns[ColumnDescription]);
}

// Mended: a line break in a text value used to end the key's line, so the
// rest of a note could read back as keys ("UNIT=1") or sections.
TEST(CalculationFile, TextValuesAreWrittenOnOneLine)
{
    DisplayUnit unit;
    Calculation calculation = opened(lines(Esempio1), &unit);
    calculation.notes = "prima\r\nUNIT=1\r[EXPO_0]\nfine";
    calculation.description = "a\n\nb";
    FakeProfile file;
    ASSERT_TRUE(writeCalculationFile(file, "C:\\x.qvl", calculation, unit));
    EXPECT_NE(std::string::npos, file.text().find("NOTE=prima UNIT=1 [EXPO_0] fine\r\n"));
    Calculation reread = opened(file.text(), &unit);
    EXPECT_EQ(PerCc, unit);
    EXPECT_EQ("prima UNIT=1 [EXPO_0] fine", reread.notes);
    EXPECT_EQ("a  b", reread.description);
}

TEST(CalculationFile, LongValuesAreCutAt255)
{
    DisplayUnit unit;
    Calculation calculation = opened(lines(Esempio1), &unit);
    calculation.fText = std::string(300, '1');
    FakeProfile file;
    ASSERT_TRUE(writeCalculationFile(file, "C:\\x.qvl", calculation, unit));
    EXPECT_NE(std::string::npos, file.text().find("FIBRE=" + std::string(255, '1') + "\r\n"));

    FakeProfile longNote(lines({"[QUORVEL]", "NOTE=" + std::string(400, 'n')}));
    EXPECT_EQ(std::string(255, 'n'), readCalculationNote(longNote));
}

// Mended: a failed write was reported as saved and took over CurrentFile.
TEST(CalculationFile, AFailedWriteIsReportedAndKeepsCurrentFile)
{
    DisplayUnit unit;
    for (int failAfter : {0, 3, 12}) {
        SCOPED_TRACE(failAfter);
        Calculation calculation = opened(lines(Esempio3), &unit, "C:\\old.qvl");
        FakeProfile file;
        file.failWritesFrom = failAfter;
        EXPECT_FALSE(writeCalculationFile(file, "C:\\new.qvl", calculation, unit));
        EXPECT_EQ("C:\\old.qvl", calculation.currentFile);
        EXPECT_EQ(failAfter + 1, file.writes);  // nothing written after the failure
    }
}

TEST(CalculationFile, PathsBeyondTheLimitAreRefused)
{
    std::string longest(PathLimit, 'p');
    DisplayUnit unit = PerLitre;
    Calculation calculation;
    calculation.notes = "kept";
    FakeProfile file(lines(Esempio1));
    EXPECT_FALSE(applyCalculationFile(readCalculationFile(file), longest + "x", calculation, &unit));
    EXPECT_EQ(PerLitre, unit);
    EXPECT_EQ("kept", calculation.notes);
    EXPECT_FALSE(writeCalculationFile(file, longest + "x", calculation, PerCc));
    EXPECT_EQ(0, file.writes);
    EXPECT_TRUE(writeCalculationFile(file, longest, calculation, PerCc));
    EXPECT_EQ(longest, calculation.currentFile);
}

TEST(CalculationFile, DroppedFileNames)
{
    const struct {
        const char* path;
        bool taken;
    } cases[] = {{"C:\\CALC.QVL", true}, {"a.qvl", true}, {"a.Qvl", true}, {"notes.txt", false},
                 {"a.qvlx", false},      {"qvl", false},  {"C:\\x.qvl\\file", false}, {".qvl", true},
                 {"a.qv", false},        {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.taken, isCalculationFileName(c.path));
    }
    EXPECT_FALSE(isCalculationFileName(nullptr));
}

}  // namespace
