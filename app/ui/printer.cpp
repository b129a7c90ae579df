// Default printer, the print set-up and page set-up through the spooler.
#include "app/ui/printer.h"

#include <commdlg.h>
#include <winspool.h>

#include "app/ui/app_state.h"
#include "app/ui/printer_profile.h"
#include "common/bounded_text.h"

static_assert(sizeof appState.printerDevice == PrinterDeviceSize, "profile line buffer");

namespace {

// Windows 95, 98 and ME keep document settings with the printer, for every
// program; NT keeps the printer's defaults for administrators.
bool settingsStayWithThePrinter()
{
    return (GetVersion() & 0x80000000) != 0;
}

// This run's page set-up choice for the printer named, or nullptr.
DEVMODEA* keptSettings(const char* printer)
{
    if (!appState.pageSettings || lstrcmpiA(appState.pageSettingsPrinter, printer) != 0)
        return nullptr;
    return appState.pageSettings;
}

// Takes settings (GlobalAlloc'd) as this run's choice for printer.
void keepSettings(const char* printer, DEVMODEA* settings)
{
    if (appState.pageSettings)
        GlobalFree(appState.pageSettings);
    appState.pageSettings = settings;
    copyBounded(appState.pageSettingsPrinter, printer);
}

// The print dialog takes its starting settings and printer as movable memory.
HGLOBAL movableCopy(const void* data, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GHND, size);
    if (void* copy = memory ? GlobalLock(memory) : nullptr) {
        CopyMemory(copy, data, size);
        GlobalUnlock(memory);
    }
    return memory;
}

HGLOBAL printerNames(const char* printer)
{
    // DEVNAMES, then driver, device and port; on NT the spooler finds the
    // driver and port from the device name.
    const char driver[] = "winspool";
    const size_t nameLength = lstrlenA(printer) + 1;
    const size_t size = sizeof(DEVNAMES) + sizeof driver + nameLength + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* names = static_cast<DEVNAMES*>(memory ? GlobalLock(memory) : nullptr);
    if (!names)
        return memory;
    char* text = reinterpret_cast<char*>(names);
    names->wDriverOffset = sizeof(DEVNAMES);
    names->wDeviceOffset = static_cast<WORD>(names->wDriverOffset + sizeof driver);
    names->wOutputOffset = static_cast<WORD>(names->wDeviceOffset + nameLength);
    CopyMemory(text + names->wDriverOffset, driver, sizeof driver);
    CopyMemory(text + names->wDeviceOffset, printer, nameLength);
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

HDC defaultPrinterDC()
{
    GetProfileStringA("windows", "device", "", appState.printerDevice,
                      sizeof appState.printerDevice);
    PrinterDevice device;
    if (!parsePrinterDevice(appState.printerDevice, &device))
        return nullptr;
    return CreateDCA(device.driver, device.name, device.port, keptSettings(device.name));
}

HDC confirmedPrinterDC(HWND owner)
{
    if (GetKeyState(VK_CONTROL) < 0)
        return chosenPrinterDC(owner);
    if (MessageBoxA(owner, "Stampare i dati contenuti nella finestra?", "Conferma operazione",
                    MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return nullptr;
    return defaultPrinterDC();
}

DcSurface::DcSurface(HDC dc, bool printerPages)
    : dc_(dc), printerPages_(printerPages), pageWidth_(GetDeviceCaps(dc, HORZRES)),
      pageHeight_(GetDeviceCaps(dc, VERTRES))
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
    // Fixed pitch and the modern family: where Courier New is missing, the
    // print still gets a fixed-pitch face rather than a proportional one.
    font_ = CreateFontA(printerFontHeight(dc, metrics), 0, 0, 0, 500, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        FIXED_PITCH | FF_MODERN, "Courier New");
    if (font_)
        previous_ = SelectObject(dc, font_);
}

DcSurface::~DcSurface()
{
    if (previous_)
        SelectObject(dc_, previous_);
    if (font_)
        DeleteObject(font_);
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
    // The dialog starts from this run's page set-up choice.
    if (const DEVMODEA* kept = appState.pageSettings) {
        choice.hDevMode = movableCopy(kept, kept->dmSize + kept->dmDriverExtra);
        choice.hDevNames = printerNames(appState.pageSettingsPrinter);
    }
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

// NT keeps a default of each user's own for every printer, which using the
// printer allows to set: the runs that follow start from it. A refusal
// changes nothing for this run, whose prints take the kept choice.
void storeUserDefaults(HANDLE printer, DEVMODEA* settings)
{
    PRINTER_INFO_9A userDefaults = {};
    userDefaults.pDevMode = settings;
    SetPrinterA(printer, 9, reinterpret_cast<BYTE*>(&userDefaults), 0);
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

    // Using the printer is all a standard user may do with it.
    PRINTER_DEFAULTSA access = {};
    access.DesiredAccess = PRINTER_ACCESS_USE;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name, &printer, &access))
        return 0;

    int result = 0;
    const LONG size = DocumentPropertiesA(owner, printer, name, nullptr, nullptr, 0);
    if (size >= 0) {
        auto* settings = static_cast<DEVMODEA*>(GlobalAlloc(GPTR, size > 0 ? static_cast<SIZE_T>(size) : 1));
        if (settings) {
            // The dialog starts from this run's earlier choice, if any.
            DEVMODEA* earlier = keptSettings(name);
            const DWORD mode = DM_OUT_BUFFER | DM_IN_PROMPT | (earlier ? DM_IN_BUFFER : 0);
            // Only OK makes the edited settings current; a cancel leaves
            // everything as it was.
            if (DocumentPropertiesA(owner, printer, name, settings, earlier, mode) == IDOK) {
                if (settingsStayWithThePrinter()) {
                    DocumentPropertiesA(owner, printer, name, settings, settings,
                                        DM_UPDATE | DM_OUT_BUFFER | DM_IN_BUFFER);
                } else {
                    keepSettings(name, settings);
                    settings = nullptr;
                    storeUserDefaults(printer, appState.pageSettings);
                }
            }
            if (settings)
                GlobalFree(settings);
            result = 1;
        }
    }
    ClosePrinter(printer);
    return result;
}
