// AppState: the application's single global record, through which the main
// window, its command layer, the tree and the dialogs share their state.
// It sits under the features, so that they need not know the shell.
#pragma once

#include <windows.h>

#include "app/ui/printer_profile.h"
#include "common/display_unit_rules.h"

// Up to 32 node ids from the chosen element up to the root's child, zero-terminated.
struct LocatePath {
    WORD ids[32];
};

// The modeless calculator's window while it exists, and what it remembers
// between its openings. Until the first closing stores t and g, the
// calculator starts with "8" and "240".
struct CalculatorState {
    HWND window;
    bool multiple;
    bool valuesRemembered;
    char hoursText[16];
    char daysText[16];
};

// The tooltip window, its owner and the message hook live in the shared
// tooltip module (common/win/tooltips.h), one set per program. Each splash
// window keeps its own picture, so two splashes never share one bitmap. The
// search dialog's remembered SearchSettings live in its own module
// (app/browse/search_dialog.h), beside the dialog that alone uses them.
struct AppState {
    HINSTANCE instance;
    HWND mainWindow;
    char pendingFile[260];
    DisplayUnit displayUnit;
    char helpFile[260];
    // Node id of the item selected in the tree; 0 for a folder, the root or
    // no selection. Kept by the tree, read by the calculator.
    unsigned selectedItem;
    LocatePath locatePath;
    HICON smallIcons[6];
    char printerDevice[PrinterDeviceSize];
    // On NT the document settings chosen in page set-up stay with the run
    // (a standard user may not change the printer's own): a GlobalAlloc'd
    // DEVMODEA for the printer named, or nullptr.
    DEVMODEA* pageSettings;
    char pageSettingsPrinter[PrinterNameSize];
    CalculatorState calculator;
};

extern AppState appState;

// The calculator window if it is still a live window, else nullptr.
HWND liveCalculatorWindow();
