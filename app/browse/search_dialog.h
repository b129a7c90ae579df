// The search dialog (resource 191): a simple or advanced search of the
// database, the result list, its copy and print, and the choice of a hit
// that the main window then locates in its tree.
#pragma once

#include <windows.h>

#include "app/browse/search_engine.h"
#include "common/win/tooltips.h"

// SearchSettings (search_engine.h) is AppState's search state: this is its
// one instance, kept here in the dialog's module. It lives for the run and
// survives closing and reopening the dialog.
extern SearchSettings searchSettings;

// Runs the dialog modally. Non-zero when a hit was chosen and
// appState.locatePath holds its path; 0 when the dialog was closed.
INT_PTR runSearchDialog(HWND owner);

// Tooltips and help popups of the dialog's controls (search_dialog_texts.cpp).
extern const ControlTextTable SearchDialogTexts;

INT_PTR CALLBACK searchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the dialog's header and result rows on dc, as the printed pages lay
// them out. With printerPages, a page break ends the printer's page and
// starts the next; without (a metafile), the layout runs on unbroken.
void drawSearchResults(HWND dialog, HDC dc, bool printerPages);
