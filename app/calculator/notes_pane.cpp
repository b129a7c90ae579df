// The notes pane of the calculation file dialogs.
#include "app/calculator/notes_pane.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/calculator/calculator.h"
#include "app/calculator/calculator_ids.h"
#include "common/win/context_help.h"
#include "common/win/windows_profile.h"

namespace {

// The caller's notes buffer in save mode, nullptr in open mode.
char* notesOf(HWND pane)
{
    return reinterpret_cast<char*>(GetWindowLongPtrA(pane, DWLP_USER));
}

UINT_PTR onInit(HWND pane, const OPENFILENAMEA* dialog)
{
    char* notes = reinterpret_cast<char*>(dialog->lCustData);
    SetWindowLongPtrA(pane, DWLP_USER, reinterpret_cast<LONG_PTR>(notes));
    SendDlgItemMessageA(pane, IDC_PANE_NOTES, EM_LIMITTEXT, TextLimit, 0);
    if (notes) {
        SetDlgItemTextA(pane, IDC_PANE_NOTES, notes);
    } else {
        EnableWindow(GetDlgItem(pane, IDC_PANE_NOTES), FALSE);
        EnableWindow(GetDlgItem(pane, IDC_PANE_MODIFY), FALSE);
    }
    return TRUE;
}

void selectionChanged(HWND pane)
{
    char path[MAX_PATH] = "";
    const LRESULT length =
        SendMessageA(GetParent(pane), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    if (length <= 0 || length > static_cast<LRESULT>(sizeof path) || notesOf(pane))
        return;
    WindowsProfile profile(path);
    SetDlgItemTextA(pane, IDC_PANE_NOTES, readCalculationNote(profile).c_str());
}

void replaceNotes(HWND pane)
{
    if (MessageBoxA(pane, "Volete procedere con la modifica?", "Conferma operazione",
                    MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    if (char* notes = notesOf(pane))
        GetDlgItemTextA(pane, IDC_PANE_NOTES, notes, TextLimit + 1);
}

BOOL answerHelp(HWND pane, HELPINFO* request)
{
    return showControlHelp(pane, request, NotesPaneTexts);
}

}  // namespace

UINT_PTR CALLBACK notesPaneHook(HWND pane, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInit(pane, reinterpret_cast<const OPENFILENAMEA*>(lParam));
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE)
            selectionChanged(pane);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PANE_MODIFY)
            replaceNotes(pane);
        else if (LOWORD(wParam) == IDC_PANE_NOTES && HIWORD(wParam) == EN_CHANGE && notesOf(pane))
            EnableWindow(GetDlgItem(pane, IDC_PANE_MODIFY), TRUE);
        return 0;
    case WM_HELP:
        return answerHelp(pane, reinterpret_cast<HELPINFO*>(lParam));
    case WM_CONTEXTMENU:
        return contextHelpFromMenu(pane, reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam), answerHelp);
    }
    return 0;
}
