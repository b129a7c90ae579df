// The readme and the album as the build made them, and the figures of the
// shipped data that the album charts.
#include "tools/albumgen/album_data.h"

#include "app/database/database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::string builtDir = std::string(QUORVEL_BINARY_DIR) + "/content/";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Readme, IsWindows1252WithCrLfLines)
{
    const std::string text = readAll(builtDir + "leggimi.txt");
    ASSERT_FALSE(text.empty()) << "leggimi.txt is built with the content target";
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    size_t lineStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        SCOPED_TRACE(i);
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF";
            EXPECT_LE(i - 1 - lineStart, 78u) << "line too wide for Notepad";
            lineStart = i + 1;
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR";
        }
        // Bytes that Windows-1252 leaves unassigned, and the lead bytes of UTF-8.
        EXPECT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D);
        EXPECT_TRUE(c != 0xC3 && c != 0xE2) << "UTF-8 left in the readme";
    }
    for (const char* needle : {"DIMOSTRATIVO", "Esempio4.qvl", "E = F x t x g / 1920", "Disinstallazione",
                               "Contatti", "\xE8"}) {
        EXPECT_NE(text.find(needle), std::string::npos) << needle;
    }
}

TEST(Album, ChartFiguresCoverTheShippedItems)
{
    std::vector<FolderFigures> folders = folderFigures();
    ASSERT_GE(folders.size(), 2u);
    const FolderFigures& all = folders.back();

    int items = 0, above = 0, zero = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind != Item) continue;
        ++items;
        above += node->concentration >= 0.1;
        zero += node->concentration == 0;
    }
    EXPECT_EQ(static_cast<int>(all.concentrations.size()), items);
    EXPECT_EQ(all.atOrAboveLimit, above);
    EXPECT_EQ(all.zero, zero);

    // Every item is reachable from a top-level folder; a folder counts an
    // item once however often the tree shows it there.
    std::set<unsigned> union_;
    for (size_t f = 0; f + 1 < folders.size(); ++f) {
        SCOPED_TRACE(folders[f].name);
        EXPECT_LE(folders[f].concentrations.size(), all.concentrations.size());
        EXPECT_LE(folders[f].atOrAboveLimit, static_cast<int>(folders[f].concentrations.size()));
    }
    uint16_t top[64];
    int count = childIdsOf(RootFolderId, top, 64);
    for (int i = 0; i < count && i < 64; ++i) {
        const NodeRecord* folder = findNode(top[i]);
        ASSERT_NE(folder, nullptr);
        std::vector<unsigned> under = itemsUnder(folder->folderId);
        EXPECT_EQ(std::set<unsigned>(under.begin(), under.end()).size(), under.size());
        union_.insert(under.begin(), under.end());
    }
    EXPECT_EQ(static_cast<int>(union_.size()), items);
}

TEST(Album, DecadeCounts)
{
    const std::vector<double> values = {0, -1, 1e-5, 0.00099, 0.001, 0.05, 0.1, 0.1, 0.99, 1, 999, 1000, 5000};
    // decades 1e-5 .. 1e3 (eight of them); 0, negatives and 1000 and more are not counted
    const std::vector<int> expected = {1, 1, 1, 1, 3, 1, 0, 1};
    EXPECT_EQ(decadeCounts(values, -5, 8), expected);
    EXPECT_EQ(decadeCounts(values, 0, 0), std::vector<int>());
}

TEST(Album, PdfOpensWithItsPagesAndRenders)
{
    const std::string pdf = builtDir + "AlbumFotoAmianto.pdf";
    ASSERT_TRUE(std::ifstream(pdf).good()) << pdf << " is built with the content target";
    EXPECT_EQ(readAll(pdf).compare(0, 5, "%PDF-"), 0);
    if (std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "poppler-utils not installed";
    FILE* info = popen(("pdfinfo '" + pdf + "' 2>/dev/null").c_str(), "r");
    ASSERT_NE(info, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, info)) output += buffer;
    EXPECT_EQ(pclose(info), 0);
    size_t pages = output.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << output;
    EXPECT_EQ(std::atoi(output.c_str() + pages + 6), 10);  // the cover and nine plates

    const std::string png = "/tmp/quorvel-album-test";
    ASSERT_EQ(std::system(("pdftoppm -r 20 -png -f 10 -l 10 -singlefile '" + pdf + "' " + png).c_str()), 0);
    EXPECT_GT(readAll(png + ".png").size(), 1000u);
    std::remove((png + ".png").c_str());
}

}  // namespace
