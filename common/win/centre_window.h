// Window placement shared by Quorvel and setup.
#pragma once

#include <windows.h>

// Moves a window to the centre of the primary screen, keeping its size.
void centreWindow(HWND window);
