// HTML Help calls. The help control is loaded at the first call; tests put
// a recorder in its place, since Wine renders no pages and no text popups.
#pragma once

#include <windows.h>

using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

HWND htmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data);

// Replaces the help control's entry point (nullptr restores the real one).
void setHtmlHelpFunction(HtmlHelpFunction function);
