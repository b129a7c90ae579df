// Print and CSV copy of the calculation the calculator shows.
#pragma once

#include <windows.h>

#include "app/calculator/calculator.h"

// One printed page of the calculator's calculation, on the printer chosen in
// the print set-up dialog (askPrinter) or the default printer. Nothing when
// no printer can be used or the document cannot be started.
void printCalculation(HWND calculator, bool askPrinter);

// Draws the page on dc (a page already started), width x height pixels,
// with title as its heading: the font, the title, the lines and the notes.
void drawCalculationPage(HDC dc, const Calculation& calculation, int unit, const char* title,
                         int width, int height);

// The calculation as tab-separated text (CF_TEXT) on the clipboard.
void copyCalculationCsv(HWND calculator);
