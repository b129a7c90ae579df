// The display unit's one owner: every change of the unit goes through here,
// so that the toolbar, the menu and the calculator's labels never disagree.
#pragma once

#include <windows.h>

#include "app/shell/app_state.h"

// Makes unit the display unit and shows it: toolbar checks of the main
// window, the text of the unit menu entry (it names the other unit) and the
// open calculator's unit labels.
void setDisplayUnit(HWND mainWindow, DisplayUnit unit);

// The menu entry's text for the current unit.
const char* unitMenuText();
