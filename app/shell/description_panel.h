// DescriptionPanel: the child window that paints the selected node's image,
// path and text. Its content record is written by the tree code.
#pragma once

#include <windows.h>

struct PanelContent {
    char title[2048];
    char text[320];
    int imageIndex;
};

HWND createDescriptionPanel(HWND parent, int childId, const RECT& area);
LRESULT CALLBACK descriptionPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The panel's content record, or nullptr when it has none.
PanelContent* panelContent(HWND panel);
