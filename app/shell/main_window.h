// MainWindow: the application's top-level window with its toolbar, the
// database tree and the description panel stacked in the content area.
#pragma once

#include <windows.h>

extern const char MainWindowClass[];   // "Quorvel_Class"
extern const char PanelWindowClass[];  // "QuorvelRiquadro_Class"

// Registers "Quorvel_Class" and "QuorvelRiquadro_Class"; false if either fails.
bool registerWindowClasses(HINSTANCE instance);

// Creates MainWindow at 400 x 300 dialog units (hidden until shown).
HWND createMainWindow(HINSTANCE instance);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Every WM_NOTIFY that reaches MainWindow: toolbar tooltips, the tree.
LRESULT onMainWindowNotify(HWND window, NMHDR* header);

// Posts CMD_FORMULA with the address of pendingFile when the name's
// extension is openable; other names are ignored.
void openByName(HWND window, const char* name);

// Version-block string 1-5 (FileDescription, FileVersion, LegalCopyright,
// ProductName, CompanyName) into buffer; 1 if copied, else 0.
int getVersionString(HWND owner, int selector, char* buffer, int size);

// Client rectangle below the toolbar, less the borders.
RECT contentArea(HWND window);
void layoutMainWindow(HWND window, UINT sizeType, int width, int height);
// The user's "Layout" value (0 when it cannot be read); a write stores value.
DWORD layoutSetting(bool write, DWORD value);
void invertLayout(HWND window);

void loadSmallIcons(HWND window, bool load);
