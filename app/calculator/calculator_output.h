// Print and CSV copy of a calculation record.
#pragma once

#include <windows.h>

#include "app/calculator/calculator.h"

// Prints calculation on dc as a document named title, and deletes dc.
void printCalculationOn(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title);

// Draws the calculation on dc (a page already started), pages of width x
// height pixels, with title as its heading: the title, the lines and the
// notes in the print font. printerPages: page breaks end the printer's
// pages; without, the lines run on (a metafile).
void drawCalculationPage(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title,
                         int width, int height, bool printerPages = false);

// calculation as tab-separated text (CF_TEXT) on the clipboard.
void copyCalculationCsv(HWND owner, const Calculation& calculation, DisplayUnit unit);
