// chooseCalculationFile: the common open and save dialogs for .qvl files.
#include "app/calculator/file_dialogs.h"

#include <commdlg.h>

#include "app/calculator/notes_pane.h"
#include "app/ui/app_state.h"

bool chooseCalculationFile(HWND owner, char* path, DWORD size, char* notes)
{
    if (!path || size == 0)
        return false;
    path[0] = '\0';

    char filter[] = "Quorvel (*.qvl)|*.qvl|";
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    char folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        folder[0] = '\0';

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = appState.instance ? appState.instance : GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = folder[0] ? folder : nullptr;
    dialog.lpstrDefExt = "qvl";
    dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    dialog.Flags |= notes ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    dialog.lCustData = reinterpret_cast<LPARAM>(notes);
    dialog.lpfnHook = notesPaneHook;
    dialog.lpTemplateName = "IDD_ADDENDUM";

    const BOOL chosen = notes ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!chosen)
        path[0] = '\0';
    return chosen != FALSE;
}
