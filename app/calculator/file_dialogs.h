// The open and save dialogs of calculation files, with the notes pane.
#pragma once

#include <windows.h>

// Explorer-style open dialog (notes == nullptr) or save dialog (notes: the
// caller's 256-byte notes buffer, which the pane may replace). True when a
// file was chosen; its full path is then in path.
bool chooseCalculationFile(HWND owner, char* path, DWORD size, char* notes);
