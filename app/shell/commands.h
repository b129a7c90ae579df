// MainWindow's command layer: every menu item, toolbar button, accelerator
// and internal request ends in onCommand.
#pragma once

#include <windows.h>

void onCommand(HWND window, int commandId, LPARAM lParam);
void onInitMenuPopup(HWND window, HMENU menu, int popupIndex);
void onDropFiles(HWND window, HDROP drop);
