// The calculator dialog (resource 190): the modeless window that holds one
// calculation in its controls and moves their texts through the exposure
// model, the .qvl file, print and CSV copy.
#pragma once

#include <windows.h>

#include "app/calculator/calculator.h"

// Creates the calculator owned by owner. parameter > 0: pre-filled from that
// database item; -1: opened on appState.fileToOpen; 0: empty. The window is
// recorded in appState.calculator.window (cleared again at destruction).
HWND openCalculatorDialog(HWND owner, LPARAM parameter);

INT_PTR CALLBACK calculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the calculator shows: the texts of its fields and the rows of its list.
Calculation calculatorContents(HWND dialog);

// Reads a .qvl file into the controls as the open command does (unit, mode,
// rows or fields, results as stored, notes, CurrentFile and status bar).
// False, with nothing changed, when the path is too long to be used.
bool readCalculationIntoDialog(HWND dialog, const char* path);

// Writes what the calculator shows; on success the file becomes CurrentFile.
// A failed write is reported with the path as caption and changes nothing.
bool writeCalculationFromDialog(HWND dialog, const char* path);

// The file last read or written, "" when there is none.
const char* calculatorCurrentFile(HWND dialog);
