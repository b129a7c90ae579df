// Print and CSV copy of a calculation: both render the texts the calculator
// shows at that moment and recompute nothing.
#include "app/calculator/calculator_output.h"

#include <commdlg.h>

#include <string>

#include "app/calculator/calculator_dialog.h"
#include "app/ui/app_state.h"
#include "app/ui/clipboard.h"
#include "app/ui/printer.h"
#include "common/bounded_text.h"

namespace {

const char* const WindowTitle = "Calcolo dell'esposizione annuale a fibre";

}  // namespace

void drawCalculationPage(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title,
                         int width, int height, bool printerPages)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int lh = metrics.tmHeight + metrics.tmExternalLeading;
    if (lh <= 0)
        return;

    LOGFONTA look = {};
    look.lfHeight = printerFontHeight(dc, metrics);
    look.lfWeight = 500;
    copyBounded(look.lfFaceName, "Courier New");
    HFONT font = CreateFontIndirectA(&look);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;

    DcSurface surface(dc, font, printerPages);
    printCalculationLines(surface, calculation, unit, title, lh, width, height);

    if (font) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

void printCalculationOn(HDC dc, const Calculation& calculation, DisplayUnit unit, const char* title)
{
    printDocument(dc, title, [&](HDC page) {
        drawCalculationPage(page, calculation, unit, title, GetDeviceCaps(page, HORZRES),
                            GetDeviceCaps(page, VERTRES), true);
    });
}

void printCalculation(HWND calculator, bool askPrinter)
{
    HDC dc = askPrinter ? chosenPrinterDC(calculator) : defaultPrinterDC();
    if (!dc)
        return;
    char title[256] = "";
    if (!GetWindowTextA(calculator, title, sizeof title))
        copyBounded(title, WindowTitle);
    printCalculationOn(dc, calculatorOutput(calculator), appState.displayUnit, title);
}

void copyCalculationCsv(HWND calculator)
{
    // The whole text, however long the list: the clipboard block is sized to it.
    const std::string text = calculationCsvText(calculatorOutput(calculator), appState.displayUnit);
    putClipboardText(calculator, text.c_str(), text.size());
}
