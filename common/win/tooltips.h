// Tooltips for dialog controls, shared by Quorvel and setup: one tooltip
// window serves the controls of the dialog that registered them last; a
// get-message hook relays the mouse moves over those controls to it.
#pragma once

#include <windows.h>

struct ToolTipState {
    HWND tooltipWindow;
    HWND toolOwner;
    HHOOK messageHook;
};

// One per program, for the life of its main window.
extern ToolTipState toolTips;

HWND createToolTips(HWND mainWindow);
void destroyToolTips();

// Makes dialog the tool owner and registers every non-static descendant.
void registerDialogTools(HWND dialog);
HWND setToolOwner(HWND window);
