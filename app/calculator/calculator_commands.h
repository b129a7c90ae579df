// MainWindow's commands that open the calculator: CMD_FORMULA (open, focus
// or replace it) and CMD_APRI (choose a file, then open it in the calculator).
#pragma once

#include <windows.h>

// lParam: 0 (menu, accelerator), the toolbar's window, or the address of a
// file name to open.
void onFormulaCommand(HWND mainWindow, LPARAM lParam);
void onOpenCommand(HWND mainWindow);

// True when no calculator is open, or its work may be lost (unchanged since
// last opened or saved, or the user said Yes). Asked before the main window
// goes, taking the calculator with it.
bool calculatorMayClose();
