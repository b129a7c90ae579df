// DescriptionPanel: the child window that paints the selected node's image,
// path and text. Its content is set through app/ui/panel.h.
#pragma once

#include <windows.h>

#include "app/ui/panel.h"

HWND createDescriptionPanel(HWND parent, int childId, const RECT& area);
LRESULT CALLBACK descriptionPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
