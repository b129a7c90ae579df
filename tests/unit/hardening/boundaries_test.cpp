// Fixed limits a user can reach, one below, at and one above each: the text
// is cut where the limit says (or refused) and nothing lands past a buffer.
// The cases already pinned down next to each module are not repeated here.
#include "app/browse/item_text.h"
#include "app/browse/search_engine.h"
#include "app/calculator/calculator.h"
#include "common/bounded_text.h"
#include "common/ini.h"
#include "remove/uninstall_plan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr unsigned char Guard = 0xCC;

// Letters that change at every position, so a cut one off shows.
std::string varied(size_t length, char first = 'a')
{
    std::string text(length, ' ');
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(first + i % 26);
    return text;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class QvlBoundaries : public testing::Test {
protected:
    void SetUp() override
    {
        const fs::path folder = fs::path(QUORVEL_BINARY_DIR) / "test-files" / "boundaries";
        fs::create_directories(folder);
        path_ = (folder / "limite.qvl").string();
        fs::remove(path_);
    }
    void TearDown() override { fs::remove(path_); }

    std::string path_;
};

// Written and read back through a real file: description, notes and a row's
// description each keep their first 255 characters. In the fields a line
// break counts as the one blank it becomes; a row's text is cut first, as
// the list gives back at most 255 characters, then joined.
TEST_F(QvlBoundaries, TextsOf255AreKeptWholeAndLongerOnesCut)
{
    struct Case {
        const char* name;
        std::string text;
        std::string kept;
        std::string keptInRow;
    };
    const std::string broken = varied(100) + "\r\n";
    const Case cases[] = {
        {"254", varied(254), varied(254), varied(254)},
        {"255", varied(255), varied(255), varied(255)},
        {"256", varied(256), varied(255), varied(255)},
        {"256 with CR LF", broken + varied(154), varied(100) + " " + varied(154), varied(100) + " " + varied(153)},
        {"257 with CR LF", broken + varied(155), varied(100) + " " + varied(154), varied(100) + " " + varied(153)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool multiple : {false, true}) {
            SCOPED_TRACE(multiple ? "multiple" : "single");
            Calculation calculation;
            calculation.multiple = multiple;
            calculation.notes = c.text;
            if (multiple) {
                RowValues row{"", 1.5, 2, 200};
                calculation.rows.push_back(writeRow(row, PerCc));
                calculation.rows[0].columns[ColumnDescription] = c.text;
            } else {
                calculation.description = c.text;
                calculation.fText = "1.5";
            }
            recomputeResults(calculation, PerCc);
            IniFileProfile out(path_.c_str());
            ASSERT_TRUE(writeCalculationFile(out, path_, calculation, PerCc));
            const std::string bytes = fileBytes(path_);
            EXPECT_NE(std::string::npos, bytes.find("NOTE=" + c.kept + "\r\n"));
            const std::string described = multiple ? "VOCE=" + c.keptInRow : "LAVORAZIONE=" + c.kept;
            EXPECT_NE(std::string::npos, bytes.find(described + "\r\n"));

            IniFileProfile in(path_.c_str());
            const CalculationFile file = readCalculationFile(in);
            EXPECT_EQ(c.kept, file.notes);
            if (multiple) {
                ASSERT_EQ(1u, file.rows.size());
                EXPECT_EQ(c.keptInRow, file.rows[0].description);
            } else {
                EXPECT_EQ(c.kept, file.description);
            }
        }
    }
}

// A file written by another hand may hold longer values than the reader's
// buffer; it reads their first 255 characters.
TEST_F(QvlBoundaries, TheReaderCutsLongValuesAt255)
{
    for (size_t length : {254u, 255u, 256u}) {
        SCOPED_TRACE(length);
        const std::string value = varied(length, 'A');
        std::ofstream(path_, std::ios::binary)
            << "[QUORVEL]\r\nMULTI=1\r\nITEMS=1\r\nNOTE=" << value << "\r\n[EXPO_0]\r\nVOCE=" << value
            << "\r\n";
        IniFileProfile in(path_.c_str());
        const CalculationFile file = readCalculationFile(in);
        const std::string kept = value.substr(0, TextLimit);
        EXPECT_EQ(kept, file.notes);
        EXPECT_EQ(kept, readCalculationNote(in));
        ASSERT_EQ(1u, file.rows.size());
        EXPECT_EQ(kept, file.rows[0].description);
    }
}

TEST(PathBoundaries, ACalculationFileIsTakenUpToPathLimit)
{
    Calculation source;
    source.notes = "letto";
    for (size_t length : {PathLimit - 1, PathLimit, PathLimit + 1}) {
        SCOPED_TRACE(length);
        IniTextProfile text;
        ASSERT_TRUE(writeCalculationFile(text, "C:\\a.qvl", source, PerCc));
        const std::string path = "C:\\" + std::string(length - 7, 'p') + ".qvl";
        ASSERT_EQ(length, path.size());
        Calculation calculation;
        DisplayUnit unit = PerLitre;
        const bool fits = length <= PathLimit;
        EXPECT_EQ(fits, applyCalculationFile(readCalculationFile(text), path, calculation, &unit));
        EXPECT_EQ(fits ? path : "", calculation.currentFile);
        EXPECT_EQ(fits ? "letto" : "", calculation.notes);
    }
}

// A text of exactly 255 characters is read whole; the 256th is never seen,
// even when it ends an advanced word: the word is then one letter shorter
// and may fall below the minimum.
TEST(SearchBoundaries, TheLastWordIsCutAtCharacter255)
{
    struct Case {
        std::string text;
        bool accepted;
        const char* lastWord;  // or the caption when refused
    };
    const Case cases[] = {
        {std::string(249, 'w') + " abcd", true, "abcd"},    // 254
        {std::string(250, 'w') + " abcd", true, "abcd"},    // 255
        {std::string(250, 'w') + " abcde", true, "abcd"},   // 256
        {std::string(251, 'w') + " abcd", false, "abc"},    // 256
        {std::string(251, 'w') + " abcdef", false, "abc"},  // 257
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        char caption[SearchTextSize + 4];
        std::memset(caption, Guard, sizeof caption);
        SearchQuery query;
        EXPECT_EQ(c.accepted, prepareSearch(c.text.c_str(), true, SearchCriterion::Or, &query, caption,
                                            SearchTextSize));
        if (c.accepted) {
            ASSERT_EQ(2u, query.words.size());
            EXPECT_EQ(c.lastWord, query.words[1]);
        } else {
            EXPECT_STREQ(c.lastWord, caption);
        }
        for (size_t i = SearchTextSize; i < sizeof caption; ++i)
            ASSERT_EQ(Guard, static_cast<unsigned char>(caption[i]));

        SearchQuery simple;
        ASSERT_TRUE(prepareSearch(c.text.c_str(), false, SearchCriterion::And, &simple, caption, SearchTextSize));
        EXPECT_EQ(c.text.substr(0, SearchTextSize - 1), simple.pattern);
    }
}

TEST(ProductBoundaries, TheProductNameFillsItsBufferAndNoMore)
{
    for (size_t length : {ProductSize - 2, ProductSize - 1, ProductSize}) {
        SCOPED_TRACE(length);
        char product[ProductSize + 4];
        std::memset(product, Guard, sizeof product);
        const std::string name = varied(length, 'A');
        const bool fits = length < ProductSize;
        EXPECT_EQ(fits, productFromCommandLine(("/" + name).c_str(), product, ProductSize));
        EXPECT_EQ(fits ? name : "", std::string(product));
        for (size_t i = ProductSize; i < sizeof product; ++i)
            ASSERT_EQ(Guard, static_cast<unsigned char>(product[i]));
    }
}

// The block once had a fixed size; now it is as long as the calculation.
TEST(CsvBoundaries, ManyLongRowsAreCopiedWhole)
{
    Calculation calculation;
    calculation.multiple = true;
    const int rowCount = 400;
    for (int i = 0; i < rowCount; ++i) {
        RowValues row{varied(TextLimit, static_cast<char>('A' + i % 26)), 1.5, 2, 200};
        calculation.rows.push_back(writeRow(row, PerCc));
    }
    recomputeResults(calculation, PerCc);
    calculation.notes = varied(TextLimit);
    const std::string text = calculationCsvText(calculation, PerCc);
    ASSERT_GT(text.size(), static_cast<size_t>(rowCount) * TextLimit);

    size_t at = 0;
    for (int i = 0; i < rowCount; ++i) {
        const std::string line = varied(TextLimit, static_cast<char>('A' + i % 26)) + "\t1,50000\t2,000\t200,0\t";
        at = text.find("\r\n" + line, at);
        ASSERT_NE(std::string::npos, at) << "row " << i;
        ++at;
    }
    const std::string end = "Note:\t" + varied(TextLimit) + "\r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(end, text.substr(text.size() - end.size()));
}

TEST(CsvBoundaries, TheSingleDescriptionIsCutAt315)
{
    for (size_t length : {314u, 315u, 316u}) {
        SCOPED_TRACE(length);
        Calculation calculation;
        calculation.description = varied(length);
        const std::string text = calculationCsvText(calculation, PerCc);
        const size_t start = text.find("\r\n") + 2;
        EXPECT_EQ(varied(std::min<size_t>(length, 315)) + "\r\nConcentrazione",
                  text.substr(start, std::min<size_t>(length, 315) + 16));
    }
}

// Leaf and root labels that bring the upward path to 2046, 2047 and 2048
// characters: the last fits whole, the next is cut at 2047.
TEST(PanelTitleBoundaries, TheTitleHolds2047Characters)
{
    const std::string root = varied(1000, 'A');
    for (size_t length : {PanelTitleSize - 2, PanelTitleSize - 1, PanelTitleSize}) {
        SCOPED_TRACE(length);
        const std::string leaf = varied(length - root.size() - 2);
        char path[PanelTitleSize + 4];
        std::memset(path, Guard, sizeof path);
        path[0] = '\0';
        ASSERT_TRUE(appendUpwardLabel(path, PanelTitleSize, leaf.c_str()));
        const bool fits = length < PanelTitleSize;
        EXPECT_EQ(fits, appendUpwardLabel(path, PanelTitleSize, root.c_str()));
        const std::string upward = (leaf + "<-" + root).substr(0, PanelTitleSize - 1);
        EXPECT_EQ(upward, std::string(path));

        char title[PanelTitleSize + 4];
        std::memset(title, Guard, sizeof title);
        const std::string whole = root + "->" + leaf;
        const std::string full = leaf + "<-" + root;
        upwardPathToTitle(full.c_str(), title, PanelTitleSize);
        EXPECT_EQ(whole.substr(0, PanelTitleSize - 1), std::string(title));
        for (size_t i = PanelTitleSize; i < sizeof title; ++i) {
            ASSERT_EQ(Guard, static_cast<unsigned char>(path[i]));
            ASSERT_EQ(Guard, static_cast<unsigned char>(title[i]));
        }
    }
}

}  // namespace

// Every fixed buffer is filled through these: one below, at and one above
// the buffer's room, into a guarded buffer, by copy and by append.
TEST(BoundedText, CopiesAndAppendsStopAtTheBufferAndTerminate)
{
    struct Case {
        const char* before;  // nullptr: copy; else append to this
        size_t textLength;
        bool whole;
        const char* expected;
    } const cases[] = {
        {nullptr, 7, true, "abcdefg"},  {nullptr, 8, false, "abcdefg"}, {nullptr, 0, true, ""},
        {"xy", 5, true, "xyabcde"},     {"xy", 6, false, "xyabcde"},    {"xyzuvwk", 1, false, "xyzuvwk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before ? c.before : "(copy)") + " + " + std::to_string(c.textLength));
        char buffer[12];
        std::memset(buffer, Guard, sizeof buffer);
        const size_t size = 8;
        const std::string text = varied(c.textLength);
        bool whole;
        if (c.before) {
            std::memcpy(buffer, c.before, std::strlen(c.before) + 1);
            whole = appendBounded(buffer, size, text.c_str());
        } else {
            whole = copyBounded(buffer, size, text.c_str());
        }
        EXPECT_EQ(whole, c.whole);
        EXPECT_STREQ(buffer, c.expected);
        for (size_t i = size; i < sizeof buffer; ++i)
            EXPECT_EQ(static_cast<unsigned char>(buffer[i]), Guard) << i;
    }

    // A source without a terminator is read no further than the room, a
    // buffer without one is cut, and a zero size writes nothing.
    const char unterminated[4] = {'a', 'b', 'c', 'd'};
    char out[3];
    EXPECT_FALSE(copyBounded(out, unterminated));
    EXPECT_STREQ(out, "ab");
    char full[3] = {'x', 'y', 'z'};
    EXPECT_FALSE(appendBounded(full, "q"));
    EXPECT_STREQ(full, "xy");
    char untouched = static_cast<char>(Guard);
    EXPECT_FALSE(copyBounded(&untouched, 0, "a"));
    EXPECT_EQ(static_cast<unsigned char>(untouched), Guard);
}
