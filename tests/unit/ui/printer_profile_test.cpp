// The default-printer line of the profile and the printer font height.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/ui/printer_profile.h"

namespace {

TEST(PrinterProfile, SplitsNameDriverAndPort)
{
    struct Case {
        const char* line;
        bool ok;
        const char* name;
        const char* driver;
        const char* port;
    } cases[] = {
        {"PS Printer,wineps.drv,FILE:", true, "PS Printer", "wineps.drv", "FILE:"},
        // Only the comma ends the name; blanks end the driver and the port.
        {"HP LaserJet 4 Plus,winspool,LPT1:", true, "HP LaserJet 4 Plus", "winspool", "LPT1:"},
        {"Ufficio,winspool,My Port:", true, "Ufficio", "winspool", "My"},
        {"Ufficio,  winspool  ,, LPT1:,extra", true, "Ufficio", "winspool", "LPT1:"},
        {"Ufficio,winspool LPT1:", true, "Ufficio", "winspool", "LPT1:"},
        {" Lead blank,drv,port", true, " Lead blank", "drv", "port"},
        // A missing part gives no printer.
        {"Ufficio,winspool", false, "", "", ""},
        {"Ufficio,winspool,", false, "", "", ""},
        {"Ufficio,winspool,  ", false, "", "", ""},
        {"Ufficio", false, "", "", ""},
        {",winspool,LPT1:", false, "", "", ""},
        {"", false, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        PrinterDevice device;
        std::memset(&device, 0x5A, sizeof device);
        EXPECT_EQ(parsePrinterDevice(c.line, &device), c.ok);
        EXPECT_STREQ(device.name, c.name);
        EXPECT_STREQ(device.driver, c.driver);
        EXPECT_STREQ(device.port, c.port);
    }
    PrinterDevice device;
    EXPECT_FALSE(parsePrinterDevice(nullptr, &device));
}

// Names of 68 characters and more are ordinary: only a name longer than a
// path, which no printer has, is refused.
TEST(PrinterProfile, NamesUpToAPathsLengthAreTaken)
{
    for (size_t length : {67u, 68u, 120u, 259u, 260u, 300u}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'N');
        const std::string line = name + ",d,p";
        PrinterDevice device;
        const bool ok = parsePrinterDevice(line.c_str(), &device);
        EXPECT_EQ(ok, length <= 259);
        EXPECT_EQ(std::string(device.name), ok ? name : "");

        // Page set-up copies the name into its own buffer: a canary
        // after the buffer shows that nothing is written past it.
        struct {
            char buffer[PrinterNameSize];
            char canary[8];
        } out;
        std::memset(&out, 0x5A, sizeof out);
        EXPECT_EQ(copyPrinterName(name.c_str(), out.buffer, sizeof out.buffer), length <= 259);
        EXPECT_EQ(std::string(out.buffer), length <= 259 ? name : "");
        for (char c : out.canary)
            EXPECT_EQ(c, 0x5A);
    }
}

TEST(PrinterProfile, LongDriverAndPortStayInsideTheirBuffers)
{
    // The parser takes any text: a token that does not fit its buffer is
    // refused.
    const std::string line = "P," + std::string(300, 'd') + "," + std::string(10, 'p');
    PrinterDevice device;
    EXPECT_FALSE(parsePrinterDevice(line.c_str(), &device));
    EXPECT_STREQ(device.driver, "");
}

TEST(PrinterProfile, FontHeightIsTheDefaultFontInWholePoints)
{
    struct Case {
        int dpi, characterHeight, expected;
    } cases[] = {
        {300, 50, -50},    // 12 pt
        {600, 100, -100},  // 12 pt
        {600, 105, -100},  // 12.6 pt, rounded down to 12
        {300, 41, -37},    // 9.84 pt -> 9 pt -> 37.5 px -> 37
        {96, 16, -16},     // 12 pt on a screen
        {600, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.characterHeight << " px");
        EXPECT_EQ(printerFontHeightFor(c.dpi, c.characterHeight), c.expected);
    }
    // A device that reports no resolution keeps the character height.
    EXPECT_EQ(printerFontHeightFor(0, 40), -40);
}

}  // namespace
