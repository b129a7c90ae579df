// CBT-hook answering of message boxes in tests.
#include "tests/win32/support/message_box_catcher.h"

namespace {
thread_local MessageBoxCatcher* activeCatcher;
}

MessageBoxCatcher::MessageBoxCatcher(int button) : hook_(nullptr), button_(button)
{
    activeCatcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, hook, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    activeCatcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::hook(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxCatcher* self = activeCatcher;
    if (code == HCBT_ACTIVATE && self) {
        HWND dialog = reinterpret_cast<HWND>(wParam);
        char className[16] = "";
        GetClassNameA(dialog, className, sizeof className);
        HWND textControl = GetDlgItem(dialog, 0xFFFF);
        if (lstrcmpA(className, "#32770") == 0 && textControl) {
            CaughtMessageBox box;
            char buffer[2048];
            GetWindowTextA(dialog, buffer, sizeof buffer);
            box.caption = buffer;
            GetWindowTextA(textControl, buffer, sizeof buffer);
            box.text = buffer;
            self->caught_.push_back(box);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, self->button_)));
        }
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

void pumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}
