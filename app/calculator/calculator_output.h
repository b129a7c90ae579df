// Print and CSV copy of the calculation the calculator shows.
#pragma once

#include <windows.h>

#include "app/calculator/calculator.h"

// The calculator's calculation on the printer chosen in the print set-up
// dialog (askPrinter) or the default printer, on as many pages as it needs.
// Nothing when no printer can be used or the document cannot be started.
void printCalculation(HWND calculator, bool askPrinter);

// Prints calculation on dc as a document named title, and deletes dc.
void printCalculationOn(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title);

// Draws the calculation on dc (a page already started), pages of width x
// height pixels, with title as its heading: the font, the title, the lines
// and the notes. printerPages: page breaks end the printer's pages; without,
// the lines run on (a metafile).
void drawCalculationPage(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title,
                         int width, int height, bool printerPages = false);

// The calculation as tab-separated text (CF_TEXT) on the clipboard.
void copyCalculationCsv(HWND calculator);
