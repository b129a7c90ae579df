// The clipboard as the copy commands use it.
#pragma once

#include <windows.h>

#include <cstddef>

// Replaces the clipboard's contents by text as CF_TEXT; false when the
// clipboard cannot be opened or the memory cannot be had.
bool putClipboardText(HWND owner, const char* text, size_t length);
