// Context help of dialog controls: a right click becomes the same help
// request as F1, and the dialog answers with an HTML Help text popup.
#pragma once

#include <windows.h>
#include <htmlhelp.h>

#include "common/win/tooltips.h"

using HelpHandler = BOOL (*)(HWND dialog, HELPINFO* request);

// Builds the help request for a right click on window at screen (x, y) and
// returns what the dialog's handler returns.
BOOL contextHelpFromMenu(HWND dialog, HWND window, int x, int y, HelpHandler handler);

// Prepares the popup record for a help request: defaults everywhere, at the
// request's mouse position; the dialog sets the text. Returns 0.
int initHelpPopup(HWND dialog, HH_POPUP* popup, const HELPINFO* request);

// The WM_HELP answer every dialog gives: the popup of the control's help
// text in table, nothing for a control without one. Returns TRUE.
BOOL showControlHelp(HWND dialog, const HELPINFO* request, const ControlTextTable& table);
