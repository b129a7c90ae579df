// Start-up of Quorvel's main window, splash aside: from class registration to
// the root selected in the tree and every message of the start handled.
// Prints the median and the range of several starts, in milliseconds.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"

namespace {

double elapsedMilliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double oneStart()
{
    appState = AppState{};
    LARGE_INTEGER start, ready;
    QueryPerformanceCounter(&start);
    HWND window = startMainWindow(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    QueryPerformanceCounter(&ready);
    if (window)
        DestroyWindow(window);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    UnregisterClassA(MainWindowClass, GetModuleHandleA(nullptr));
    UnregisterClassA(PanelWindowClass, GetModuleHandleA(nullptr));
    return window ? elapsedMilliseconds(start, ready) : -1;
}

}  // namespace

int main()
{
    InitCommonControls();
    std::vector<double> times;
    oneStart();  // the first start also loads the DLLs of the Wine session
    for (int i = 0; i < 9; ++i) {
        const double ms = oneStart();
        if (ms < 0) {
            std::printf("startup_timing: the main window could not be created\n");
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("main window start-up, splash aside: median %.1f ms (%.1f to %.1f ms over %u starts)\n",
                times[times.size() / 2], times.front(), times.back(), unsigned(times.size()));
    return 0;
}
