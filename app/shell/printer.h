// Printer helpers shared by every print path: the default printer's device
// context, the font height that matches its default font, and page set-up.
#pragma once

#include <windows.h>

// A device context for the default printer of the profile, owned by the
// caller (DeleteDC after printing), or nullptr.
HDC defaultPrinterDC();

// A device context for the printer the user picks in print set-up (the Ctrl
// variant of the print buttons), owned by the caller, or nullptr if cancelled.
HDC chosenPrinterDC(HWND owner);

// Prints one page on dc: starts the document and the page, lets draw fill
// it, ends both and deletes dc, also when the printer refuses to start.
template <typename Draw>
void printOnePage(HDC dc, const char* documentName, Draw draw)
{
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName;
    if (StartDocA(dc, &document) > 0) {
        if (StartPage(dc) > 0) {
            draw(dc);
            EndPage(dc);
        }
        EndDoc(dc);
    }
    DeleteDC(dc);
}

// Font height for a font creation call on dc: the size in whole points of
// the dc's default font, whose metrics are given.
int printerFontHeight(HDC dc, const TEXTMETRICA& metrics);

// Lets the user edit the default printer's document settings and makes them
// its current settings. 1 when done or when there is no default printer;
// 0 when the printer cannot be opened or its settings cannot be read.
int printerSetup(HWND owner);
