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

void drawItemPage(HDC dc, const char* text, bool printerPages)
{
    // The element's path, its first line, heads every further page.
    const std::string whole = text;
    const std::string path = whole.substr(0, whole.find_first_of("\r\n"));
    DcSurface surface(dc, printerPages);
    PageFlow page(surface, surface.lineHeight(), surface.pageWidth(), surface.pageHeight(), {path});
    page.writeWrapped(whole);
    page.finish();
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
