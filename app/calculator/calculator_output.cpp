// Print and CSV copy of a calculation: both render the texts the calculator
// shows at that moment and recompute nothing.
#include "app/calculator/calculator_output.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/calculator/calculator_dialog.h"
#include "app/ui/app_state.h"
#include "app/ui/clipboard.h"
#include "app/ui/printer.h"
#include "common/bounded_text.h"
#include "common/number_format.h"

namespace {

const char* const WindowTitle = "Calcolo dell'esposizione annuale a fibre";

}  // namespace

void drawCalculationPage(HDC dc, const Calculation& calculation, int unit, const char* title,
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

    // Lines are written whole, without wrapping: a long description runs
    // past the right edge, as on the screen's one-line fields.
    DcSurface surface(dc, font, printerPages);
    PageFlow page(surface, lh, width, height, {title});
    page.writeWrapped(title);
    page.skip(3);
    const bool perLitre = unit != 0;
    const std::string concentration = perLitre ? "Concentrazione (ff/l): " : "Concentrazione (ff/cc): ";
    if (calculation.multiple) {
        page.write("Esposizioni multiple");
        for (const ExposureRow& row : calculation.rows) {
            const RowValues values = readRow(row);
            const unsigned item = rowItemId(row, unit);
            page.keepTogether(item ? 6 : 5);
            page.write("Descrizione: " + values.description);
            page.write(concentration + unitValueText(values.f, unit));
            page.write("Ore/giorno: " + fixedText(values.t, 3));
            page.write("Giorni/anno: " + fixedText(values.g, 1));
            page.write(std::string(perLitre ? "Esposizione parziale (ff/l): " : "Esposizione parziale (ff/cc): ") +
                       unitValueText(values.partial, unit));
            if (item)
                page.write("Fonte: " + itemOriginText(item));
        }
        page.skip(1);
    } else {
        const unsigned item = fieldItemId(calculation, unit);
        page.keepTogether(item ? 5 : 4);
        page.write(calculation.description);
        page.write(concentration + calculation.fText);
        page.write("Ore/giorno: " + calculation.tText);
        page.write("Giorni/anno: " + calculation.gText);
        if (item)
            page.write("Fonte: " + itemOriginText(item));
    }
    page.keepTogether(2);
    page.write("Esposizione annuale (ff/cc): " + calculation.resultCc);
    page.write("Esposizione annuale (ff/l): " + calculation.resultL);

    if (!calculation.notes.empty()) {
        page.skip(3);
        page.writeWrapped(calculation.notes);
    }
    page.finish();

    if (font) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

void printCalculationOn(HDC dc, const Calculation& calculation, int unit, const char* title)
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
