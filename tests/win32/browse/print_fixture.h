// Test printing: a PostScript printer (Wine's wineps.drv with its built-in
// PPD) installed as the default printer, its port mapped to a file; the
// printed PostScript turned into text and a PNG by the host's ghostscript
// and poppler; and the text records of an enhanced-metafile rendering.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Host helpers (Wine runs Unix programs directly): the host path of a
// Windows path, and a shell command started without waiting for its end.
std::string unixPath(const std::string& windowsPath);
void runHostShell(const std::string& command);

// The folder beside the test program for what prints and pictures leave.
std::string outputFolder();

// A PNG of the window as the screen shows it, <name>.png in outputFolder.
void saveWindowPicture(HWND window, const char* name);

// Installs the printer once per run (idempotent) and makes it the default.
// False when the spooler refuses; the reason goes to stderr.
bool installPostScriptPrinter(const char* name = "Quorvel PS");

// Empties the default-printer line, then restores it on destruction.
class NoDefaultPrinter {
public:
    NoDefaultPrinter();
    ~NoDefaultPrinter();

private:
    char saved_[256];
};

// The PostScript of the next print goes to this file; it is removed first.
void forgetPrintedFile();
// Waits for the printed file and returns its pages as `pdftotext -layout`
// gives them (pages separated by form feeds); a PNG of page 1 is kept as
// <name>.png beside the test program. Empty when nothing was printed.
std::string printedText(const char* name);
// True when a print file appeared (waits briefly).
bool somethingWasPrinted(DWORD milliseconds);

// text without its blanks, line breaks and page breaks, so that wrapped
// lines compare with the texts they came from.
std::string withoutSpaces(const std::string& text);

struct TextRecord {
    int x;
    int y;
    std::string text;  // Windows-1252
};

// Draws on a metafile whose reference device is the default printer and
// returns its EMR_EXTTEXTOUTW records in order. Its default font is the
// system font, so line steps differ from the printer's, not the layout.
std::vector<TextRecord> metafileText(const std::function<void(HDC)>& draw);

// Height of a line of the default font on the default printer's metafile:
// what the print layouts use as their line step.
int metafileLineHeight();
