// Printer helpers shared by every print path: the default printer's device
// context, the font height that matches its default font, and page set-up.
#pragma once

#include <windows.h>

// A device context for the default printer of the profile, owned by the
// caller (DeleteDC after printing), or nullptr.
HDC defaultPrinterDC();

// Font height for a font creation call on dc: the size in whole points of
// the dc's default font, whose metrics are given.
int printerFontHeight(HDC dc, const TEXTMETRICA& metrics);

// Lets the user edit the default printer's document settings and makes them
// its current settings. 1 when done or when there is no default printer;
// 0 when the printer cannot be opened or its settings cannot be read.
int printerSetup(HWND owner);
