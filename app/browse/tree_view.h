// The database tree of MainWindow (control 14): its root and the handler of
// every WM_NOTIFY that reaches MainWindow.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Inserts the root "Amianto" (tag 1, images 19/19, with children).
HTREEITEM insertTreeRoot(HWND tree);

LRESULT onMainWindowNotify(HWND window, NMHDR* header);

// The selected node's tag; false when nothing is selected.
bool selectedTreeTag(HWND mainWindow, DWORD* tag);
