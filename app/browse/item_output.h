// Copy and print of the element shown in the description panel, and the
// clipboard and printer-page helpers that the search dialog shares.
#pragma once

#include <windows.h>

#include <cstddef>

// "Copia": the panel's title and text on the clipboard as CF_TEXT. Nothing
// when the panel has no content or the clipboard cannot be opened.
void copyShownItem(HWND mainWindow);

// "Stampa...": the same text on one page of the default printer. Without
// panel content: "Nessuna voce selezionata"; without a printer: nothing.
void printShownItem(HWND mainWindow);


// Draws the item text from the current page of dc: word-wrapped in Courier
// New from one default-font line below the top of the printable area, on
// further pages (printerPages; a metafile runs on) when it does not fit.
void drawItemPage(HDC dc, const char* text, bool printerPages = false);

// Courier New, weight 500, at the size of dc's default font, whose metrics
// are given; the caller deletes it.
HFONT createPrintFont(HDC dc, const TEXTMETRICA& defaultFont);
