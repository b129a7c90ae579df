// The open and save dialogs of calculation files, with the notes pane, and
// the folders they start in.
#pragma once

#include <windows.h>

// Explorer-style open dialog (notes == nullptr) or save dialog (notes: the
// caller's 256-byte notes buffer, which the pane may replace). currentFile:
// the calculation's file, or "" / nullptr when none is open; the dialog
// starts in its folder, or in My Documents (fileDialogFolder). True when a
// file was chosen; its full path is then in path.
bool chooseCalculationFile(HWND owner, char* path, DWORD size, char* notes, const char* currentFile);

// True when path lies in the folder of the running program (or below it),
// where the shipped examples are: such a file is saved under a new name.
bool isInProgramFolder(const char* path);
