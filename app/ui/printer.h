// Printer helpers shared by every print path: the default printer's device
// context, the print set-up with its one print font, and page set-up.
#pragma once

#include <windows.h>

#include <string>

#include "app/ui/page_flow.h"

// A device context for the default printer of the profile, with this run's
// page set-up choice for it, owned by the caller (DeleteDC after printing),
// or nullptr.
HDC defaultPrinterDC();

// A device context for the printer the user picks in print set-up (the Ctrl
// variant of the print buttons), which starts from this run's page set-up
// choice; owned by the caller, or nullptr if cancelled.
HDC chosenPrinterDC(HWND owner);

// The printer of a print that a window's button asks for: the user's choice
// with Ctrl held, else the default printer once the user has confirmed.
// nullptr: nothing to print.
HDC confirmedPrinterDC(HWND owner);

// Prints on dc: starts the document and its first page, lets draw fill it
// (further pages through a DcSurface), ends both and deletes dc, also when
// the printer refuses to start.
template <typename Draw>
void printDocument(HDC dc, const char* documentName, Draw draw)
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

// The set-up every print shares, for as long as it lives: lines one line of
// dc's default font apart, the print font (Courier New, weight 500, at the
// size of that default font) selected into dc, pages of dc's printable
// area. The lines of a PageFlow go onto dc: with printerPages a page break
// ends the printer's page and starts the next; without (a metafile) the
// lines run on.
class DcSurface : public PrintSurface {
public:
    DcSurface(HDC dc, bool printerPages);
    ~DcSurface() override;
    DcSurface(const DcSurface&) = delete;
    DcSurface& operator=(const DcSurface&) = delete;

    int lineHeight() const { return lineHeight_; }
    int pageWidth() const { return pageWidth_; }
    int pageHeight() const { return pageHeight_; }

    void drawLine(int y, const char* text) override;
    int textWidth(const std::string& text) override;
    void newPage() override;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_ = nullptr;
    bool printerPages_;
    int lineHeight_;
    int pageWidth_;
    int pageHeight_;
};

// Font height for a font creation call on dc: the size in whole points of
// the dc's default font, whose metrics are given.
int printerFontHeight(HDC dc, const TEXTMETRICA& metrics);

// Lets the user edit the default printer's document settings for the prints
// that follow: on Windows 9x they become the printer's current settings, on
// NT this run's and the user's own default for the printer (changing the
// printer's own needs administrator rights).
// 1 when done or when there is no default printer; 0 when the printer cannot
// be opened or its settings cannot be read.
int printerSetup(HWND owner);
