// The one AppState of the run.
#include "app/ui/app_state.h"

AppState appState;

HWND liveCalculatorWindow()
{
    HWND window = appState.calculator.window;
    return window && IsWindow(window) ? window : nullptr;
}
