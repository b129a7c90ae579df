// The table generator: it turns a small valid data set into the expected
// C++ rows, and refuses each broken data set with a message naming the row,
// an exit status of 1 and no output file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

const std::string Fixtures = QUORVEL_SOURCE_DIR "/tests/unit/database/fixtures/";
const std::string Generator = QUORVEL_BINARY_DIR "/tools/dbgen";

struct GeneratorRun {
    int status;
    std::string output;
};

GeneratorRun runGenerator(const std::string& nodes, const std::string& links, const fs::path& out,
                          const std::string& sources = "") {
    std::string command = "'" + Generator + "' '" + Fixtures + nodes + "' '" + Fixtures + links + "' ";
    if (!sources.empty()) command += "'" + Fixtures + sources + "' ";
    command += "'" + out.string() + "' 2>&1";
    GeneratorRun run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class DbgenTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qv-dbgen-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_TRUE(fs::exists(Generator)) << Generator;
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(DbgenTest, WritesTheRowsOfAValidDataSet) {
    fs::path out = dir / "tables.cpp";
    GeneratorRun run = runGenerator("good.nodes.tsv", "good.links.tsv", out);
    ASSERT_EQ(0, run.status) << run.output;
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    const char* const expected[] = {
        // Each text once in the pool, after its offset; the records point into it.
        "/* 0 */ \"0\" \"\\0\"\n    /* 2 */ \"\" \"\\0\"\n    /* 3 */ \"Cartella\" \"\\0\"",
        // Windows-1252 bytes as octal escapes: è = 350, ° = 260, à = 340.
        "/* 12 */ \"Voce con \\350 e \\260\" \"\\0\"",
        "/* 27 */ \"Valore indicativo, non \\350 una misura pubblicata\" \"\\0\"",
        "/* 85 */ \"Sotto il limite di rilevabilit\\340\" \"\\0\"",
        "/* 117 */ \"Dopo il buco \\\"6\\\"\" \"\\0\"\n    /* 134 */ \"C:\\\\dati\" \"\\0\"\n    ;",
        "{0, TextPool + 0, TextPool + 2, 0.0, 0, Folder},\n    {1, TextPool + 3, TextPool + 2, 0.0, 2, Folder},",
        "{2, TextPool + 12, TextPool + 27, 0.5, 0, Item},",
        "{4, TextPool + 80, TextPool + 85, 0.0, 0, Item},",
        "{6, TextPool + 117, TextPool + 134, 1.25, 0, Item},",
        // Links keep their order inside one parent; the dangling 5 stays.
        "{2, 2},\n    {2, 3},\n    {2, 5},\n    {3, 4},\n    {3, 6},\n    {3, 2},",
        "int nodeCount() { return 6; }",
        "int linkCount() { return 7; }",
    };
    for (const char* line : expected) EXPECT_NE(std::string::npos, text.str().find(line)) << line;
    EXPECT_FALSE(fs::exists(out.string() + ".tmp"));
}

TEST_F(DbgenTest, RefusesBrokenDataNamingTheRow) {
    struct Case {
        const char* nodes;
        const char* links;
        const char* message;
    } const cases[] = {
        {"bad_unsorted.nodes.tsv", "good.links.tsv", "bad_unsorted.nodes.tsv:6 (id 2): ids out of order: 2 after 3"},
        {"bad_duplicate_id.nodes.tsv", "good.links.tsv", "bad_duplicate_id.nodes.tsv:6 (id 3): duplicate id 3"},
        {"bad_placeholder.nodes.tsv", "good.links.tsv",
         "bad_placeholder.nodes.tsv:2 (id 0): the first row must be the placeholder"},
        {"bad_folder_id_reused.nodes.tsv", "good.links.tsv",
         "bad_folder_id_reused.nodes.tsv:5 (id 3): folderId 2 already used by bad_folder_id_reused.nodes.tsv:3 (id 1)"},
        {"bad_root_folder_id.nodes.tsv", "good.links.tsv",
         "bad_root_folder_id.nodes.tsv:5 (id 3): a folder needs a folderId other than 0 and 1"},
        {"bad_item_folder_id.nodes.tsv", "good.links.tsv",
         "bad_item_folder_id.nodes.tsv:4 (id 2): an item must have folderId 0"},
        {"bad_folder_concentration.nodes.tsv", "good.links.tsv",
         "bad_folder_concentration.nodes.tsv:5 (id 3): a folder must have concentration 0"},
        {"bad_kind.nodes.tsv", "good.links.tsv", "bad_kind.nodes.tsv:4 (id 2): kind 'Voce' is neither Folder nor Item"},
        {"bad_concentration.nodes.tsv", "good.links.tsv",
         "bad_concentration.nodes.tsv:4 (id 2): concentration '0,5' is not a decimal number"},
        {"bad_concentration_limit.nodes.tsv", "good.links.tsv",
         "bad_concentration_limit.nodes.tsv:4 (id 2): concentration 1000 is not below 1000 ff/cc"},
        {"bad_fields.nodes.tsv", "good.links.tsv", "bad_fields.nodes.tsv:4: expected 6 tab-separated fields, found 5"},
        {"bad_name_length.nodes.tsv", "good.links.tsv",
         "bad_name_length.nodes.tsv:4 (id 2): name has 256 characters, at most 255 fit"},
        {"bad_bibliography_length.nodes.tsv", "good.links.tsv",
         "bad_bibliography_length.nodes.tsv:4 (id 2): bibliography has 262 characters, at most 261 fit"},
        {"bad_not_cp1252.nodes.tsv", "good.links.tsv",
         "bad_not_cp1252.nodes.tsv:4 (id 2): name holds U+2265, which Windows-1252 cannot hold"},
        {"bad_utf8.nodes.tsv", "good.links.tsv", "bad_utf8.nodes.tsv:4 (id 2): name is not valid UTF-8"},
        {"good.nodes.tsv", "bad_header.links.tsv", "bad_header.links.tsv:1: the first line must be the header"},
        {"good.nodes.tsv", "bad_parent.links.tsv",
         "bad_parent.links.tsv:6 (4, 4): parent folder id 4 has no folder record"},
        {"good.nodes.tsv", "bad_order.links.tsv", "bad_order.links.tsv:3 (1, 1): links out of order: parent 1 after 2"},
        {"good.nodes.tsv", "bad_placeholder.links.tsv",
         "bad_placeholder.links.tsv:9 (3, 0): no link may name the placeholder id 0"},
        {"good.nodes.tsv", "bad_duplicate.links.tsv", "bad_duplicate.links.tsv:9 (3, 2): the same link appears twice"},
        {"good.nodes.tsv", "bad_cycle.links.tsv", "bad_cycle.links.tsv:9 (3, 1): this link closes a cycle"},
        {"good.nodes.tsv", "bad_childless.links.tsv", "good.nodes.tsv:5 (id 3): folder 3 has no child"},
        {"good.nodes.tsv", "bad_unreachable.links.tsv", "good.nodes.tsv:7 (id 6): not reachable from the root"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fs::path out = dir / "tables.cpp";
        GeneratorRun run = runGenerator(c.nodes, c.links, out);
        EXPECT_EQ(1, run.status);
        EXPECT_EQ("dbgen: ", run.output.substr(0, 7));
        EXPECT_NE(std::string::npos, run.output.find(c.message)) << run.output;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(out.string() + ".tmp"));
    }
}

// A cited item travels with its source row; the generator refuses a citation
// without one, a source row for an item that cites nothing or leaves unsaid
// how the figure was measured, and a unit other than ff/cc in an item's texts.
TEST_F(DbgenTest, CitationsNeedTheirSourceRowAndTextsSpeakFfCc) {
    fs::path out = dir / "tables.cpp";
    GeneratorRun run = runGenerator("cited.nodes.tsv", "good.links.tsv", out, "cited.sources.tsv");
    ASSERT_EQ(0, run.status) << run.output;
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(std::string::npos, text.str().find("/* 177 */ \"Autore A. Titolo. Rivista 1987;44:161\" \"\\0\"\n"
                                                 "    /* 215 */ \"USA\" \"\\0\"\n"));
    EXPECT_NE(std::string::npos, text.str().find("static const char DetailTextPool[] =\n"
                                                 "    /* 0 */ \"https://example.org/a\" \"\\0\"\n"
                                                 "    /* 22 */ \"riassunto\" \"\\0\"\n"
                                                 "    /* 32 */ \"media 7.6 mppcf\" \"\\0\"\n"
                                                 "    /* 48 */ \"7.6 x 1.4 = 10.64 ff/cc\" \"\\0\"\n"));
    EXPECT_NE(std::string::npos, text.str().find("{6, true, TextPool + 177, TextPool + 215, TextPool + 219, "
                                                 "TextPool + 223, TextPool + 229},"));
    EXPECT_NE(std::string::npos, text.str().find("{DetailTextPool + 0, DetailTextPool + 22, DetailTextPool + 32, "
                                                 "DetailTextPool + 48},"));
    EXPECT_NE(std::string::npos, text.str().find("int sourceCount() { return 1; }"));
    fs::remove(out);

    struct Case {
        const char* nodes;
        const char* sources;
        const char* message;
    } const cases[] = {
        {"cited.nodes.tsv", "", "cited.nodes.tsv:7 (id 6): cites a publication but has no row in the sources table"},
        {"cited.nodes.tsv", "bad_uncited.sources.tsv",
         "bad_uncited.sources.tsv:2 (id 2): item 2 does not cite a publication"},
        {"cited.nodes.tsv", "bad_method.sources.tsv",
         "bad_method.sources.tsv:2 (id 6): method 'XRD' is not one of: PCM, TEM, SEM, altro"},
        {"cited.nodes.tsv", "bad_unstated.sources.tsv", "bad_unstated.sources.tsv:2 (id 6): statistic is empty"},
        {"bad_unit.nodes.tsv", "cited.sources.tsv",
         "bad_unit.nodes.tsv:7 (id 6): bibliography speaks of mppcf, but the concentration field holds ff/cc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        GeneratorRun refused = runGenerator(c.nodes, "good.links.tsv", out, c.sources);
        EXPECT_EQ(1, refused.status);
        EXPECT_NE(std::string::npos, refused.output.find(c.message)) << refused.output;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(DbgenTest, MissingInputIsAnErrorOfItsOwn) {
    GeneratorRun run = runGenerator("absent.nodes.tsv", "good.links.tsv", dir / "tables.cpp");
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.output.find("cannot read")) << run.output;
}

}  // namespace
