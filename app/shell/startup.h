// Program entry of Quorvel: single instance, splash, classes, MainWindow,
// then the message loop until the window is gone.
#pragma once

#include <windows.h>

int runQuorvel(HINSTANCE instance, const char* commandLine, int showState);

// Registers the classes, creates, titles and shows MainWindow, selects the
// root and hands the command line to openByName. nullptr (after the failure
// message) when a class or the window cannot be made.
HWND startMainWindow(HINSTANCE instance, const char* commandLine, int showState);

// One pass of the loop's routing: the calculator's dialog messages, then
// the accelerators, then translation and dispatch.
void routeMessage(MSG* message, HWND mainWindow, HACCEL accelerators);
