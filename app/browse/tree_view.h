// The database tree of MainWindow (control 14): its root and the handler of
// its notifications, which MainWindow routes here.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/ui/app_state.h"

// Inserts the root "Amianto" (tag 1, images 19/19, with children).
HTREEITEM insertTreeRoot(HWND tree);

LRESULT onTreeNotify(HWND mainWindow, NMHDR* header);

// Walks a search hit's path down from the root, expanding each node (which
// inserts its children), and selects the hit. A step that finds no node ends
// the walk on the last node found.
void locateInTree(HWND tree, const LocatePath& path);

// The selected node's tag; false when nothing is selected.
bool selectedTreeTag(HWND mainWindow, DWORD* tag);
