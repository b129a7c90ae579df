// The help project and the compiled help file: every context number that the
// programs ask for is mapped to a topic inside the help file, never to a path
// of the build host, and every topic and link exists.
#include "tools/helpbuild/helpbuild.h"

#include "app/calculator/calculator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::string helpDir = std::string(QUORVEL_SOURCE_DIR) + "/content/help/";
const std::string builtDir = std::string(QUORVEL_BINARY_DIR) + "/content/";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& path)
{
    return std::ifstream(path).good();
}

TEST(HelpMap, CheckFindsEveryKindOfBrokenContext)
{
    const std::vector<std::pair<std::string, uint32_t>> header = {{"IDH_A", 0}, {"IDH_B", 100690}};
    const std::map<std::string, std::string> aliases = {{"IDH_A", "albero.htm"}, {"IDH_B", "calcolo.htm"}};
    const std::vector<std::string> listing = {"/albero.htm", "/calcolo.htm", "/#IVB"};
    struct Case {
        const char* what;
        std::map<uint32_t, std::string> map;
        std::vector<std::string> listing;
        size_t problems;
    };
    const Case cases[] = {
        {"sound, with a leading slash", {{100690, "/calcolo.htm"}}, listing, 0},
        {"sound, without", {{100690, "calcolo.htm"}}, listing, 0},
        {"host path", {{100690, "/home/build/content/calcolo.htm"}}, listing, 1},
        {"drive path", {{100690, "C:\\help\\calcolo.htm"}}, listing, 1},
        {"missing number", {{100100, "/calcolo.htm"}}, listing, 1},
        {"other topic", {{100690, "/albero.htm"}}, listing, 1},
        {"topic not in the file", {{100690, "/calcolo.htm"}}, {"/albero.htm"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(checkContextMap(header, aliases, c.map, c.listing).size(), c.problems);
    }
    // An alias that leaves the help file, or none at all, is caught for 0 too.
    EXPECT_EQ(checkContextMap(header, {{"IDH_A", "../albero.htm"}, {"IDH_B", "calcolo.htm"}},
                              {{100690, "/calcolo.htm"}}, listing).size(), 1u);
    EXPECT_EQ(checkContextMap(header, {{"IDH_B", "calcolo.htm"}}, {{100690, "/calcolo.htm"}}, listing).size(), 1u);
}

TEST(HelpMap, ReadContextMapRefusesMalformedData)
{
    const std::string strings("\0/a.htm\0/b.htm\0", 15);
    const std::string good("\x10\0\0\0" "\x04\x87\x01\0" "\x01\0\0\0" "\x54\x89\x01\0" "\x08\0\0\0", 20);
    std::map<uint32_t, std::string> map;
    ASSERT_TRUE(readContextMap(good, strings, &map));
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map[100100], "/a.htm");
    EXPECT_EQ(map[100692], "/b.htm");

    const std::string oddSize("\x0C\0\0\0" "\x04\x87\x01\0" "\x01\0\0\0" "\0\0\0\0", 16);
    const std::string shortData("\x10\0\0\0" "\x04\x87\x01\0" "\x01\0\0\0", 12);
    const std::string badOffset("\x08\0\0\0" "\x04\x87\x01\0" "\x40\0\0\0", 12);
    for (const std::string* ivb : {&oddSize, &shortData, &badOffset}) {
        EXPECT_FALSE(readContextMap(*ivb, strings, &map));
    }
    EXPECT_FALSE(readContextMap(std::string("\x08\0\0\0\x01\0\0\0\x01\0\0\0", 12), std::string("\0/a.htm", 7), &map));
}

TEST(HelpProject, TheProgramsContextNumbersHaveTopicsThatExist)
{
    const std::string project = readAll(helpDir + "Quorvel.hhp");
    const auto header = parseContextHeader(readAll(helpDir + "contesti.h"));
    const auto aliases = parseProjectAliases(project);
    const auto files = parseProjectFiles(project);
    const std::set<std::string> listed(files.begin(), files.end());

    std::set<uint32_t> numbers;
    for (const auto& context : header) numbers.insert(context.second);
    for (uint32_t wanted : {0u, 100100u, 100690u, 100790u, 115860u}) {
        SCOPED_TRACE(wanted);
        EXPECT_EQ(numbers.count(wanted), 1u);
    }
    for (const auto& context : header) {
        SCOPED_TRACE(context.first);
        auto alias = aliases.find(context.first);
        ASSERT_NE(alias, aliases.end());
        EXPECT_TRUE(isTopicInsideHelp(alias->second)) << alias->second;
        EXPECT_EQ(listed.count(alias->second), 1u);
        if (context.second == 0) {
            EXPECT_NE(project.find("Default topic=" + alias->second), std::string::npos);
        }
        if (context.second == 115860) {
            EXPECT_EQ(alias->second, "bibliografia.htm");
        }
    }
    // Every listed file is a source here, except the generated bibliography.
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        EXPECT_EQ(exists(helpDir + file), file != "bibliografia.htm");
    }
}

TEST(HelpProject, TopicsAreWindows1252TextWithLinksThatResolve)
{
    const auto files = parseProjectFiles(readAll(helpDir + "Quorvel.hhp"));
    const std::set<std::string> listed(files.begin(), files.end());
    const std::string contents = readAll(helpDir + "Quorvel.hhc");
    for (const std::string& file : files) {
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".htm") != 0) continue;
        SCOPED_TRACE(file);
        EXPECT_NE(contents.find("\"" + file + "\""), std::string::npos) << "not in the contents";
        if (file == "bibliografia.htm") continue;
        std::string source = readAll(helpDir + file), converted;
        size_t bad = 0;
        EXPECT_TRUE(utf8ToCp1252(source, &converted, &bad)) << "at byte " << bad;
        EXPECT_NE(source.find("charset=windows-1252"), std::string::npos);
        EXPECT_EQ(source.find("<script"), std::string::npos);
        for (size_t at = source.find("href=\""); at != std::string::npos; at = source.find("href=\"", at + 1)) {
            std::string target = source.substr(at + 6, source.find('"', at + 6) - at - 6);
            EXPECT_EQ(listed.count(target), 1u) << target;
        }
    }
}

// Mended: the calculator's page said that values already in the list are not
// converted when the unit changes, while the program converts them. Each
// example of the section is checked against the program's own conversion.
TEST(HelpProject, TheCalculatorUnitSectionSaysWhatTheProgramDoes)
{
    const std::string page = readAll(helpDir + "calcolo.htm");
    const size_t heading = page.find("di misura</h2>");
    ASSERT_NE(heading, std::string::npos);
    const size_t end = page.find("<h2>", heading);
    const std::string section = page.substr(heading, end - heading);
    EXPECT_EQ(section.find("non vengono convertit"), std::string::npos);
    int examples = 0;
    for (size_t at = section.find("<code>"); at != std::string::npos; at = section.find("<code>", at + 1)) {
        // "<code>X</code> ff/cc diventa <code>Y</code> ff/l" and the other way.
        const size_t close = section.find("</code>", at);
        const std::string from = section.substr(at + 6, close - at - 6);
        const std::string rest = section.substr(close + 7, 40);
        const bool fromCc = rest.rfind(" ff/cc diventa <code>", 0) == 0;
        const bool fromL = rest.rfind(" ff/l diventa <code>", 0) == 0;
        if (!fromCc && !fromL)
            continue;
        const size_t next = section.find("<code>", close) + 6;
        const std::string to = section.substr(next, section.find("</code>", next) - next);
        SCOPED_TRACE(from + " -> " + to);
        EXPECT_EQ(to, fieldTextInUnit(from, fromCc ? PerCc : PerLitre, fromCc ? PerLitre : PerCc));
        ++examples;
    }
    EXPECT_GE(examples, 3);
}

// The help file as built: read back its stored context map with chmls.
TEST(HelpFile, StoredContextMapOpensTopicsInsideTheHelpFile)
{
    const std::string chm = builtDir + "Quorvel.chm";
    ASSERT_TRUE(exists(chm)) << chm << " is built with the content target";
    if (std::system("command -v chmls >/dev/null 2>&1") != 0) GTEST_SKIP() << "chmls (fp-utils) not installed";
    char folder[] = "/tmp/quorvel-chm-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string command = "chmls extract '" + chm + "' /#IVB '" + dir + "/ivb' >/dev/null 2>&1 && "
                                "chmls extract '" + chm + "' /#STRINGS '" + dir + "/strings' >/dev/null 2>&1 && "
                                "chmls -n -p list '" + chm + "' >'" + dir + "/list' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::map<uint32_t, std::string> map;
    ASSERT_TRUE(readContextMap(readAll(dir + "/ivb"), readAll(dir + "/strings"), &map));
    std::vector<std::string> listing;
    std::istringstream list(readAll(dir + "/list"));
    for (std::string line; std::getline(list, line);) listing.push_back(line);
    std::system(("rm -rf '" + dir + "'").c_str());

    const std::string project = readAll(helpDir + "Quorvel.hhp");
    std::vector<std::string> problems = checkContextMap(parseContextHeader(readAll(helpDir + "contesti.h")),
                                                        parseProjectAliases(project), map, listing);
    for (const std::string& problem : problems) ADD_FAILURE() << problem;
    for (const std::string& file : parseProjectFiles(project)) {
        SCOPED_TRACE(file);
        bool inside = false;
        for (const std::string& entry : listing) inside = inside || entry == "/" + file;
        EXPECT_TRUE(inside);
    }
}

}  // namespace
