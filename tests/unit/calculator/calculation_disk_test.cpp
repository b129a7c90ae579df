// Calculation files through the portable INI profile on real files.
#if __has_include("common/ini.h")

#include "app/calculator/calculator.h"
#include "common/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const char* const Esempio3 =
    "[QUORVEL]\r\nMULTI=1\r\nITEMS=2\r\nESPOSIZIONE=0.03888\r\nESPOSIZIONE_FL=38.88\r\n"
    "NOTE=Esempio 3: due lavorazioni, valori in ff/l.\r\nUNIT=1\r\n"
    "[EXPO_0]\r\nVOCE=Centrali elettriche a vapore: rimozione di guarnizioni di valvole\r\n"
    "FIBRE=300.00\r\nORE=2.000\r\nGIORNI=120.0\r\nPARZIALE=37.50\r\n"
    "[EXPO_1]\r\nVOCE=Turbinista in zona turbina\r\nFIBRE=4.00\r\nORE=5.500\r\nGIORNI=120.0\r\n"
    "PARZIALE=1.38\r\n";

class CalculationDisk : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::path(QUORVEL_BINARY_DIR) / "test-files" / "calculation_disk";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    std::string path(const char* name) const { return (folder_ / name).string(); }

    static std::string bytes(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    static void put(const std::string& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

    fs::path folder_;
};

TEST_F(CalculationDisk, ReadAndWrittenBackByteForByte)
{
    put(path("Esempio3.qvl"), Esempio3);
    IniFileProfile source(path("Esempio3.qvl").c_str());
    Calculation calculation;
    DisplayUnit unit = PerCc;
    ASSERT_TRUE(applyCalculationFile(readCalculationFile(source), path("Esempio3.qvl"), calculation, &unit));
    EXPECT_EQ(1, unit);
    ASSERT_EQ(2u, calculation.rows.size());

    IniFileProfile copy(path("copy.qvl").c_str());
    ASSERT_TRUE(writeCalculationFile(copy, path("copy.qvl"), calculation, unit));
    EXPECT_EQ(Esempio3, bytes(path("copy.qvl")));
    EXPECT_EQ(path("copy.qvl"), calculation.currentFile);
}

TEST_F(CalculationDisk, SavingOverAFileKeepsWhatIsNotWritten)
{
    const std::string before = "; a comment of the user\r\n[QUORVEL]\r\nMULTI=1\r\nITEMS=3\r\nEXTRA=kept\r\n"
                               "[EXPO_2]\r\nVOCE=Old\r\n";
    put(path("over.qvl"), before);
    Calculation single;
    single.fText = "1";
    single.tText = "8";
    single.gText = "240";
    recomputeResults(single, PerCc);
    IniFileProfile file(path("over.qvl").c_str());
    ASSERT_TRUE(writeCalculationFile(file, path("over.qvl"), single, PerCc));
    EXPECT_EQ("; a comment of the user\r\n[QUORVEL]\r\nMULTI=0\r\nITEMS=3\r\nEXTRA=kept\r\n"
              "LAVORAZIONE=\r\nFIBRE=1\r\nORE=8\r\nGIORNI=240\r\nESPOSIZIONE=1.00000\r\n"
              "ESPOSIZIONE_FL=1000.00\r\nNOTE=\r\nUNIT=0\r\n[EXPO_2]\r\nVOCE=Old\r\n",
              bytes(path("over.qvl")));
}

// Mended: saving into a folder that does not exist reported success.
TEST_F(CalculationDisk, UnwritablePlacesAreReported)
{
    for (std::string target : {path("missing") + "/x.qvl", folder_.string()}) {
        SCOPED_TRACE(target);
        Calculation calculation;
        calculation.currentFile = "before.qvl";
        IniFileProfile file(target.c_str());
        EXPECT_FALSE(writeCalculationFile(file, target, calculation, PerCc));
        EXPECT_EQ("before.qvl", calculation.currentFile);
    }
    EXPECT_FALSE(fs::exists(path("missing")));
}

TEST_F(CalculationDisk, AMissingFileReadsAsDefaults)
{
    IniFileProfile file(path("none.qvl").c_str());
    Calculation calculation;
    DisplayUnit unit = PerLitre;
    ASSERT_TRUE(applyCalculationFile(readCalculationFile(file), path("none.qvl"), calculation, &unit));
    EXPECT_EQ(0, unit);
    EXPECT_EQ("0.00", calculation.resultL);
    EXPECT_FALSE(fs::exists(path("none.qvl")));
}

}  // namespace

#endif
