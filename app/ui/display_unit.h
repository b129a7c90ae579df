// The display unit's one owner: every change of the unit goes through here,
// so that the toolbar, the menu and the calculator's labels never disagree.
#pragma once

#include <windows.h>

#include "app/ui/app_state.h"

// Sent to the open calculator after a change of unit; it shows the new one.
constexpr UINT UnitChangedMessage = WM_APP + 1;

// Makes unit the display unit and shows it: toolbar checks of the main
// window, the text of the unit menu entry (it names the other unit) and the
// open calculator's unit labels.
void setDisplayUnit(HWND mainWindow, DisplayUnit unit);

// The menu entry's text for the current unit.
const char* unitMenuText();

// Enables or greys the main window's two unit buttons.
void enableUnitButtons(HWND mainWindow, bool enable);
