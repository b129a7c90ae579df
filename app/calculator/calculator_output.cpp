// Print and CSV copy of a calculation: both render the texts the calculator
// shows at that moment and recompute nothing.
#include "app/calculator/calculator_output.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/calculator/calculator_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/clipboard.h"
#include "app/shell/printer.h"
#include "common/number_format.h"

namespace {

const char* const WindowTitle = "Calcolo dell'esposizione annuale a fibre";

class PageWriter {
public:
    PageWriter(HDC dc, int lineHeight) : dc_(dc), lineHeight_(lineHeight) {}

    // Lines are drawn whole, without wrapping or clipping.
    void line(int number, const std::string& text)
    {
        TextOutA(dc_, 0, number * lineHeight_, text.c_str(), static_cast<int>(text.size()));
    }

private:
    HDC dc_;
    int lineHeight_;
};

}  // namespace

void drawCalculationPage(HDC dc, const Calculation& calculation, int unit, const char* title,
                         int width, int height)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int lh = metrics.tmHeight + metrics.tmExternalLeading;
    if (lh <= 0)
        return;

    LOGFONTA look = {};
    look.lfHeight = printerFontHeight(dc, metrics);
    look.lfWeight = 500;
    std::memcpy(look.lfFaceName, "Courier New", sizeof "Courier New");
    HFONT font = CreateFontIndirectA(&look);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;

    RECT titleArea = {0, lh, width, 5 * lh};
    const int titleHeight = DrawTextA(dc, title, -1, &titleArea, DT_WORDBREAK | DT_NOPREFIX);
    int n = titleHeight / lh + 4;

    PageWriter page(dc, lh);
    const bool perLitre = unit != 0;
    if (calculation.multiple) {
        page.line(n++, "Esposizioni multiple");
        for (const ExposureRow& row : calculation.rows) {
            const RowValues values = readRow(row);
            page.line(n++, "Descrizione: " + values.description);
            page.line(n++, std::string(perLitre ? "Concentrazione (ff/l): " : "Concentrazione (ff/cc): ") +
                               unitValueText(values.f, unit));
            page.line(n++, "Ore/giorno: " + fixedText(values.t, 3));
            page.line(n++, "Giorni/anno: " + fixedText(values.g, 1));
            page.line(n++, std::string(perLitre ? "Esposizione parziale (ff/l): "
                                                : "Esposizione parziale (ff/cc): ") +
                               unitValueText(values.partial, unit));
        }
        ++n;
    } else {
        page.line(n, calculation.description);
        page.line(n + 1, std::string(perLitre ? "Concentrazione (ff/l): " : "Concentrazione (ff/cc): ") +
                             calculation.fText);
        page.line(n + 2, "Ore/giorno: " + calculation.tText);
        page.line(n + 3, "Giorni/anno: " + calculation.gText);
        n += 4;
    }
    page.line(n, "Esposizione annuale (ff/cc): " + calculation.resultCc);
    page.line(n + 1, "Esposizione annuale (ff/l): " + calculation.resultL);

    if (!calculation.notes.empty()) {
        RECT notesArea = {0, (n + 5) * lh, width, height};
        DrawTextA(dc, calculation.notes.c_str(), -1, &notesArea, DT_WORDBREAK | DT_NOPREFIX);
    }

    if (font) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

void printCalculation(HWND calculator, bool askPrinter)
{
    HDC dc = askPrinter ? chosenPrinterDC(calculator) : defaultPrinterDC();
    if (!dc)
        return;
    char title[256] = "";
    if (!GetWindowTextA(calculator, title, sizeof title))
        std::memcpy(title, WindowTitle, std::strlen(WindowTitle) + 1);

    const Calculation contents = calculatorContents(calculator);
    printOnePage(dc, title, [&](HDC page) {
        drawCalculationPage(page, contents, appState.displayUnit, title, GetDeviceCaps(page, HORZRES),
                            GetDeviceCaps(page, VERTRES));
    });
}

void copyCalculationCsv(HWND calculator)
{
    // The whole text, however long the list: the clipboard block is sized to it.
    const std::string text = calculationCsvText(calculatorContents(calculator), appState.displayUnit);
    putClipboardText(calculator, text.c_str(), text.size());
}
