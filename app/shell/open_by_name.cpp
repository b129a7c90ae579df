// Files named on the command line or dropped on the window.
#include <cstring>

#include "app/shell/main_window.h"
#include "app/shell/startup_rules.h"
#include "app/ui/app_state.h"
#include "common/bounded_text.h"

void openByName(HWND window, const char* name)
{
    const int command = commandForFileName(name);
    if (command == 0)
        return;
    // Never cut: commandForFileName refuses names of 260 characters or more.
    copyBounded(appState.pendingFile, name);
    PostMessageA(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(appState.pendingFile));
}
