// The notes pane "IDD_ADDENDUM" joined to the calculation file dialogs: in
// the open dialog it shows the NOTE of the selected file, greyed; in the save
// dialog it lets the user replace the notes about to be saved.
#pragma once

#include <windows.h>

#include "common/win/tooltips.h"

// Help popups of the pane's controls (notes_pane_texts.cpp).
extern const ControlTextTable NotesPaneTexts;

// Hook procedure of the pane. The dialog's lCustData is the notes buffer
// (256 bytes) in save mode, 0 in open mode.
UINT_PTR CALLBACK notesPaneHook(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
