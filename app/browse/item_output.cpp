// Copy and print of the shown element.
#include "app/browse/item_output.h"

#include <cstring>
#include <string>

#include "app/browse/item_text.h"
#include "app/resources/resource.h"
#include "app/shell/clipboard.h"
#include "app/shell/description_panel.h"
#include "app/shell/printer.h"

namespace {

// The panel's fields are fixed buffers: read them no further than their size.
std::string boundedText(const char* text, size_t size)
{
    size_t length = 0;
    while (length < size && text[length])
        ++length;
    return std::string(text, length);
}

std::string shownItemText(const PanelContent& content)
{
    return itemCopyText(boundedText(content.title, sizeof content.title).c_str(),
                        boundedText(content.text, sizeof content.text).c_str());
}

PanelContent* shownContent(HWND mainWindow)
{
    return panelContent(GetDlgItem(mainWindow, IDC_PANEL));
}

}  // namespace


void copyShownItem(HWND mainWindow)
{
    const PanelContent* content = shownContent(mainWindow);
    if (!content)
        return;
    const std::string text = shownItemText(*content);
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
    const PanelContent* content = shownContent(mainWindow);
    if (!content) {
        MessageBoxA(mainWindow, "Nessuna voce selezionata", "Impossibile stampare", MB_OK);
        return;
    }
    const std::string text = shownItemText(*content);

    HDC dc = defaultPrinterDC();
    if (!dc)
        return;
    printDocument(dc, "Stampa voce", [&](HDC page) { drawItemPage(page, text.c_str(), true); });
}
