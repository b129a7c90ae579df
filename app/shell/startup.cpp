// Start-up sequence and message loop of Quorvel.
#include "app/shell/startup.h"

#include <commctrl.h>

#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/splash.h"
#include "app/shell/startup_rules.h"
#include "app/ui/app_state.h"

namespace {

bool otherInstanceRunning()
{
    HWND other = FindWindowA(MainWindowClass, nullptr);
    if (!other)
        return false;
    BringWindowToTop(other);
    MessageBoxA(other, "Usare il drag & drop per caricare il file nella finestra di dialogo",
                "Quorvel è già in esecuzione", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void selectRoot(HWND window)
{
    HWND tree = GetDlgItem(window, IDC_TREE);
    if (!tree)
        return;
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    SetFocus(tree);
}

}  // namespace

void routeMessage(MSG* message, HWND mainWindow, HACCEL accelerators)
{
    HWND calculator = liveCalculatorWindow();
    if (calculator && IsDialogMessageA(calculator, message))
        return;
    if (accelerators && TranslateAcceleratorA(mainWindow, accelerators, message))
        return;
    TranslateMessage(message);
    DispatchMessageA(message);
}

int runQuorvel(HINSTANCE instance, const char* commandLine, int showState)
{
    appState.instance = instance;
    char programPath[260];
    const DWORD length = GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    if (length == 0 || length >= sizeof programPath)
        programPath[0] = '\0';
    buildHelpPath(programPath, appState.helpFile, sizeof appState.helpFile);

    if (otherInstanceRunning())
        return 0;

    showSplash(instance, nullptr, 1000);

    HWND window = startMainWindow(instance, commandLine, showState);
    if (!window)
        return -1;

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        routeMessage(&message, window, accelerators);
    return 0;
}

HWND startMainWindow(HINSTANCE instance, const char* commandLine, int showState)
{
    appState.instance = instance;
    if (!registerWindowClasses(instance)) {
        MessageBoxA(nullptr, "RegisterClass failed", nullptr, MB_ICONEXCLAMATION);
        return nullptr;
    }
    HWND window = createMainWindow(instance);
    if (!window) {
        MessageBoxA(nullptr, "CreateWindow failure", nullptr, MB_ICONEXCLAMATION);
        return nullptr;
    }
    appState.mainWindow = window;

    char title[64];
    if (getVersionString(window, 1, title, sizeof title))
        SetWindowTextA(window, title);

    InitCommonControls();
    ShowWindow(window, showState);
    selectRoot(window);
    openByName(window, commandLine);
    return window;
}
