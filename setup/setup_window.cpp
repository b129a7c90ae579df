// The installer's program window: a full-screen backdrop of blue bands that
// owns the dialogs, and the one posted command that runs the installation.
#include "setup/setup_program.h"

#include <commctrl.h>

#include "common/win/tooltips.h"
#include "setup/setup_ids.h"

const char SetupWindowClass[] = "Class_GENERAL_Setup";
const char SetupWindowTitle[] = "Installazione di Quorvel";

namespace {

const WPARAM StartCommand = 1;
const int BandCount = 25;

const char SuccessCaption[] = "Installazione completata con successo";
const char SuccessText[] = "Fatto! Quorvel ha trovato casa e ha già disfatto le valigie.";
const char FailureCaption[] = "Installazione fallita o interrotta dall'utente";
const char FailureText[] = "Niente trasloco per oggi: Quorvel resta sul pianerottolo con le valigie.";

// Band k of 25 in RGB(0, 0, 10k); the bands are a 24th of the height each,
// so the last one takes whatever the integer division left over.
void paintBackdrop(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int height = client.bottom / (BandCount - 1);
    for (int k = 0; k < BandCount; ++k) {
        RECT band = {0, k * height, client.right, (k + 1) * height};
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 10 * k));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK setupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        createToolTips(window);
        return 0;
    case WM_DESTROY:
        destroyToolTips();
        return 0;
    case WM_PAINT:
        paintBackdrop(window);
        break;
    case WM_COMMAND:
        if (wParam == StartCommand)
            installAndReport(window);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool registerSetupClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_NOCLOSE;
    windowClass.lpfnWndProc = setupWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ICON1));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = SetupWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

HWND createSetupWindow(HINSTANCE instance)
{
    // A caption without a system menu: no close, minimise or maximise box.
    return CreateWindowExA(0, SetupWindowClass, SetupWindowTitle, WS_POPUP | WS_VISIBLE | WS_CAPTION,
                           0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                           nullptr, nullptr, instance, nullptr);
}

bool installAndReport(HWND mainWindow)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const bool installed = runInstallation(mainWindow);
    endInstallation(mainWindow);
    SetCursor(previous);
    MessageBoxA(mainWindow, installed ? SuccessText : FailureText,
                installed ? SuccessCaption : FailureCaption, MB_OK);
    PostQuitMessage(0);
    return installed;
}

// By class alone: from the start of the steps the first copy's window bears
// another title, and two copies must never install at once.
HWND findRunningSetup()
{
    return FindWindowA(SetupWindowClass, nullptr);
}

int runSetup(HINSTANCE instance)
{
    restrictDllSearch();
    InitCommonControls();
    if (HWND first = findRunningSetup()) {
        BringWindowToTop(first);
        return 0;
    }
    if (!registerSetupClass(instance))
        return 0;
    HWND window = createSetupWindow(instance);
    if (!window)
        return 0;
    UpdateWindow(window);
    PostMessageA(window, WM_COMMAND, StartCommand, 0);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND progress = static_cast<HWND>(installContext.progressDialog);
        if (progress && IsWindow(progress) && IsDialogMessageA(progress, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
