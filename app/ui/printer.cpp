// Default printer, printer font height and page set-up through the spooler.
#include "app/ui/printer.h"

#include <commdlg.h>
#include <winspool.h>

#include "app/ui/app_state.h"
#include "app/ui/printer_profile.h"

static_assert(sizeof appState.printerDevice == PrinterDeviceSize, "profile line buffer");

HDC defaultPrinterDC()
{
    GetProfileStringA("windows", "device", "", appState.printerDevice,
                      sizeof appState.printerDevice);
    PrinterDevice device;
    if (!parsePrinterDevice(appState.printerDevice, &device))
        return nullptr;
    return CreateDCA(device.driver, device.name, device.port, nullptr);
}

void DcSurface::drawLine(int y, const char* text)
{
    if (text[0])
        TextOutA(dc_, 0, y, text, lstrlenA(text));
}

int DcSurface::textWidth(const std::string& text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void DcSurface::newPage()
{
    if (!printerPages_)
        return;
    EndPage(dc_);
    StartPage(dc_);
    // A new page may start with the device's default objects again.
    if (font_)
        SelectObject(dc_, font_);
}

int printerFontHeight(HDC dc, const TEXTMETRICA& metrics)
{
    return printerFontHeightFor(GetDeviceCaps(dc, LOGPIXELSY),
                                metrics.tmHeight - metrics.tmInternalLeading);
}

HDC chosenPrinterDC(HWND owner)
{
    PRINTDLGA choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.Flags = PD_PRINTSETUP | PD_RETURNDC;
    if (!PrintDlgA(&choice))
        return nullptr;
    if (choice.hDevMode)
        GlobalFree(choice.hDevMode);
    if (choice.hDevNames)
        GlobalFree(choice.hDevNames);
    return choice.hDC;
}

namespace {

// The default printer's name as page set-up reports it; false when there is
// no default printer. A name that does not fit leaves name empty.
bool defaultPrinterName(HWND owner, char* name, size_t size)
{
    PAGESETUPDLGA setup = {};
    setup.lStructSize = sizeof setup;
    setup.hwndOwner = owner;
    // Without a default printer there is nothing to set up; the dialog's own
    // warning would be a message the command does not give.
    setup.Flags = PSD_RETURNDEFAULT | PSD_NOWARNING;
    if (!PageSetupDlgA(&setup))
        return false;
    if (setup.hDevMode)
        GlobalFree(setup.hDevMode);
    name[0] = '\0';
    if (setup.hDevNames) {
        if (const DEVNAMES* names = static_cast<const DEVNAMES*>(GlobalLock(setup.hDevNames))) {
            copyPrinterName(reinterpret_cast<const char*>(names) + names->wDeviceOffset, name, size);
            GlobalUnlock(setup.hDevNames);
        }
        GlobalFree(setup.hDevNames);
    }
    return true;
}

}  // namespace

int printerSetup(HWND owner)
{
    char name[PrinterNameSize];
    if (!defaultPrinterName(owner, name, sizeof name))
        return 1;
    // A name too long for the buffer is refused rather than cut: a cut name
    // would open another printer, or none.
    if (name[0] == '\0')
        return 0;

    PRINTER_DEFAULTSA access = {};
    access.DesiredAccess = PRINTER_ALL_ACCESS;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name, &printer, &access))
        return 0;

    int result = 0;
    const LONG size = DocumentPropertiesA(owner, printer, name, nullptr, nullptr, 0);
    if (size >= 0) {
        HGLOBAL memory = GlobalAlloc(GPTR, size > 0 ? static_cast<SIZE_T>(size) : 1);
        if (DEVMODEA* settings = static_cast<DEVMODEA*>(memory)) {
            // Only OK makes the edited settings current; a cancel leaves the
            // printer as it was.
            if (DocumentPropertiesA(owner, printer, name, settings, nullptr,
                                    DM_OUT_BUFFER | DM_IN_PROMPT) == IDOK)
                DocumentPropertiesA(owner, printer, name, settings, settings,
                                    DM_UPDATE | DM_OUT_BUFFER | DM_IN_BUFFER);
            GlobalFree(memory);
            result = 1;
        }
    }
    ClosePrinter(printer);
    return result;
}
