// Modal-dialog scripting for the browse tests.
#include "tests/win32/browse/dialog_driver.h"

#include <cstring>

namespace {

std::function<void(HWND)> pendingScript;
std::string pendingTitle;
bool anyTitle;
HWND excluded;
bool scriptRan;
UINT_PTR timer;

struct Search {
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM data)
{
    Search* search = reinterpret_cast<Search*>(data);
    char className[16] = "";
    char title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && window != excluded && std::strcmp(className, "#32770") == 0 &&
        (anyTitle || pendingTitle == title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

VOID CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    Search search = {nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found || !pendingScript)
        return;
    KillTimer(nullptr, timer);
    timer = 0;
    std::function<void(HWND)> script = std::move(pendingScript);
    pendingScript = nullptr;
    scriptRan = true;
    script(search.found);
}

}  // namespace

void whenDialogShows(const char* title, std::function<void(HWND)> script, HWND except)
{
    anyTitle = title == nullptr;
    pendingTitle = title ? title : "";
    excluded = except;
    pendingScript = std::move(script);
    scriptRan = false;
    if (timer)
        KillTimer(nullptr, timer);
    timer = SetTimer(nullptr, 0, 20, tick);
}

void cancelDialogScript()
{
    if (timer)
        KillTimer(nullptr, timer);
    timer = 0;
    pendingScript = nullptr;
}

bool dialogScriptRan()
{
    return scriptRan;
}

void pumpDialog(HWND dialog, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (IsWindow(dialog) && IsDialogMessageA(dialog, &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

void setControlText(HWND dialog, int id, const char* text)
{
    SetDlgItemTextA(dialog, id, text);
}

std::string controlText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string clipboardText()
{
    std::string text = "<none>";
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
