// Drives modal dialogs from inside their own message loop: a thread timer
// waits for the dialog to appear, then runs the test's script against it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The next visible top-level dialog (class #32770) of this thread whose
// title is title (any title when nullptr; never the window except) gets
// script, run from a timer inside the modal loop. The script must end the
// dialog. Call before the code that shows the dialog.
void whenDialogShows(const char* title, std::function<void(HWND)> script, HWND except = nullptr);

// Drops a script that has not run.
void cancelDialogScript();

// True when the script has run since the last whenDialogShows.
bool dialogScriptRan();

// Runs the messages waiting for this thread, giving the dialog's keyboard
// handling (Enter, Esc) its turn first, as its modal loop would.
void pumpDialog(HWND dialog, DWORD milliseconds = 30);

// Types into or reads a control.
void setControlText(HWND dialog, int id, const char* text);
std::string controlText(HWND dialog, int id);

// The clipboard's CF_TEXT, or "<none>" when it holds no text.
std::string clipboardText();
