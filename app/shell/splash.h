// The splash picture shown at start-up and before the about box.
#pragma once

#include <windows.h>

// Shows the splash for the given time; it closes itself from the thread's
// message loop. Non-zero when the window was created and painted.
BOOL showSplash(HINSTANCE instance, HWND owner, UINT milliseconds);
