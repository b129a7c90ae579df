// Copy and print of the shown element.
#include "app/browse/item_output.h"

#include <string>

#include "app/browse/item_text.h"
#include "app/resources/resource.h"
#include "app/ui/clipboard.h"
#include "app/ui/panel.h"
#include "app/ui/printer.h"

namespace {

// The copy text of what the panel shows; false when it shows nothing.
bool shownItemText(HWND mainWindow, std::string* text)
{
    std::string title, body;
    if (!panelTexts(GetDlgItem(mainWindow, IDC_PANEL), &title, &body))
        return false;
    *text = itemCopyText(title.c_str(), body.c_str());
    return true;
}

}  // namespace


void copyShownItem(HWND mainWindow)
{
    std::string text;
    if (!shownItemText(mainWindow, &text))
        return;
    putClipboardText(mainWindow, text.c_str(), text.size());
}

HFONT createPrintFont(HDC dc, const TEXTMETRICA& defaultFont)
{
    return CreateFontA(printerFontHeight(dc, defaultFont), 0, 0, 0, 500, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, "Courier New");
}

void drawItemPage(HDC dc, const char* text, bool printerPages)
{
    const int width = GetDeviceCaps(dc, HORZRES);
    const int height = GetDeviceCaps(dc, VERTRES);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

    HFONT font = createPrintFont(dc, metrics);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    // The element's path, its first line, heads every further page.
    const std::string whole = text;
    const std::string path = whole.substr(0, whole.find_first_of("\r\n"));
    DcSurface surface(dc, font, printerPages);
    PageFlow page(surface, lineHeight, width, height, {path});
    page.writeWrapped(whole);
    page.finish();
    if (previous)
        SelectObject(dc, previous);
    if (font)
        DeleteObject(font);
}

void printShownItem(HWND mainWindow)
{
    std::string text;
    if (!shownItemText(mainWindow, &text)) {
        MessageBoxA(mainWindow, "Nessuna voce selezionata", "Impossibile stampare", MB_OK);
        return;
    }

    HDC dc = defaultPrinterDC();
    if (!dc)
        return;
    printDocument(dc, "Stampa voce", [&](HDC page) { drawItemPage(page, text.c_str(), true); });
}
