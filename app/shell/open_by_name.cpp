// Files named on the command line or dropped on the window.
#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/startup_rules.h"

void openByName(HWND window, const char* name)
{
    const int command = commandForFileName(name);
    if (command == 0)
        return;
    const size_t length = std::strlen(name);  // below 260: commandForFileName refuses longer names
    std::memcpy(appState.pendingFile, name, length + 1);
    PostMessageA(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(appState.pendingFile));
}
