// Print and CSV copy of a calculation: both render the record the
// calculator built and recompute nothing.
#include "app/calculator/calculator_output.h"

#include <string>

#include "app/ui/clipboard.h"
#include "app/ui/printer.h"

void drawCalculationPage(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title,
                         int width, int height, bool printerPages)
{
    DcSurface surface(dc, printerPages);
    printCalculationLines(surface, calculation, unit, title, surface.lineHeight(), width, height);
}

void printCalculationOn(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title)
{
    printDocument(dc, title, [&](HDC page) {
        drawCalculationPage(page, calculation, unit, title, GetDeviceCaps(page, HORZRES),
                            GetDeviceCaps(page, VERTRES), true);
    });
}

void copyCalculationCsv(HWND owner, const Calculation& calculation, DisplayUnit unit)
{
    // The whole text, however long the list: the clipboard block is sized to it.
    const std::string text = calculationCsvText(calculation, unit);
    putClipboardText(owner, text.c_str(), text.size());
}
