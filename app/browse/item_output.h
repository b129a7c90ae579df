// Copy and print of the element shown in the description panel.
#pragma once

#include <windows.h>

// "Copia": the panel's title and text on the clipboard as CF_TEXT. Nothing
// when the panel has no content or the clipboard cannot be opened.
void copyShownItem(HWND mainWindow);

// "Stampa...": the same text on one page of the default printer. Without
// panel content: "Nessuna voce selezionata"; without a printer: nothing.
void printShownItem(HWND mainWindow);

// Draws the item text from the current page of dc: word-wrapped in the print
// font from one default-font line below the top of the printable area, on
// further pages (printerPages; a metafile runs on) when it does not fit.
void drawItemPage(HDC dc, const char* text, bool printerPages = false);
