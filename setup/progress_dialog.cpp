// ProgressDialog (110): modeless while the steps run; its bar advances by
// one for each completed operation and its status line names the last one.
#include "setup/setup_program.h"

#include <commctrl.h>

#include "common/win/centre_window.h"
#include "common/win/tooltips.h"
#include "setup/setup_ids.h"

namespace {

HWND liveProgressDialog()
{
    HWND dialog = static_cast<HWND>(installContext.progressDialog);
    return dialog && IsWindow(dialog) ? dialog : nullptr;
}

INT_PTR onProgressInit(HWND dialog)
{
    centreWindow(dialog);
    registerDialogTools(dialog);
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SetDlgItemTextA(dialog, IDC_PROGRESS_STATUS, "");
    HWND animation = GetDlgItem(dialog, IDC_PROGRESS_ANIMATION);
    SendMessageA(animation, ACM_OPENA, 0, reinterpret_cast<LPARAM>("DOWNLOAD"));
    SendMessageA(animation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
    return TRUE;
}

// Closing the dialog is how the user asks to stop: the next step that
// checks isCancelled gives up.
INT_PTR onProgressCancel(HWND dialog)
{
    DestroyWindow(dialog);
    installContext.progressDialog = nullptr;
    return TRUE;
}

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onProgressInit(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            return onProgressCancel(dialog);
        return FALSE;
    case WM_NOTIFY:
        return answerToolTip(reinterpret_cast<NMHDR*>(lParam), ProgressDialogTexts);
    }
    return FALSE;
}

// The steps run inside one message handler; letting the queue through
// after each operation keeps the dialog painted and lets a close request
// take effect at the next check instead of at the end.
void dispatchPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        HWND dialog = liveProgressDialog();
        if (dialog && IsDialogMessageA(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

HWND createProgressDialog(HWND owner)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS), owner,
                              progressDialogProc, 0);
}

void setProgressText(const char* text)
{
    if (HWND dialog = liveProgressDialog())
        SetDlgItemTextA(dialog, IDC_PROGRESS_STATUS, text);
}

void stepProgress()
{
    HWND dialog = liveProgressDialog();
    if (!dialog)
        return;
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_STEPIT, 0, 0);
    dispatchPending();
}
