// The default printer as the user profile names it: the "device" line of
// the section "windows", "name,driver,port". Also the arithmetic of the font
// height that every print path takes from the printer's default font.
#pragma once

#include <cstddef>

// A printer name, with its server, is at most a path long, and so are the
// driver and the port: a line of three such parts fits the line buffer.
constexpr size_t PrinterNameSize = 260;
constexpr size_t PrinterDeviceSize = 3 * PrinterNameSize;

struct PrinterDevice {
    char name[PrinterNameSize];
    char driver[PrinterNameSize];
    char port[PrinterNameSize];
};

// Splits a profile line. The name is the text up to the first comma, blanks
// included; the driver and the port each end at the next comma or blank,
// leading commas and blanks skipped. False (and device all empty) when a
// part is missing, or when a part does not fit its buffer: a cut name would
// address another printer.
bool parsePrinterDevice(const char* line, PrinterDevice* device);

// Copies a printer name into out; false (out empty) when it has size
// characters or more.
bool copyPrinterName(const char* name, char* out, size_t size);

// The height for a font creation call that gives the default font's size in
// whole points, rounded down: negative, in device units.
int printerFontHeightFor(int pixelsPerInch, int characterHeight);
