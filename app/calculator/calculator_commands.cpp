// Opening the calculator from the main window. A selected tree item wins
// over a file name while a calculator is open.
#include "app/calculator/calculator_commands.h"

#include <cstring>

#include "app/calculator/calculator_dialog.h"
#include "app/calculator/file_dialogs.h"
#include "app/resources/resource.h"
#include "app/ui/app_state.h"

void onFormulaCommand(HWND mainWindow, LPARAM lParam)
{
    const HWND toolbar = GetDlgItem(mainWindow, IDC_TOOLBAR);
    const char* fileName = nullptr;
    if (lParam != 0 && reinterpret_cast<HWND>(lParam) != toolbar)
        fileName = reinterpret_cast<const char*>(lParam);
    // A name too long to be held is refused, not cut into another name.
    if (fileName && std::strlen(fileName) > PathLimit)
        return;
    const unsigned item = appState.selectedItem;

    if (HWND calculator = liveCalculatorWindow()) {
        if (!fileName && item == 0) {
            SetFocus(calculator);
            return;
        }
        if (!calculatorMayBeDiscarded(calculator)) {
            SetFocus(calculator);
            return;
        }
        // Replaced without its closing step: t and g are not remembered.
        DestroyWindow(calculator);
        appState.calculator.window = nullptr;
        openCalculatorDialog(mainWindow, item != 0 ? CalculatorRequest::item(item)
                                                   : CalculatorRequest::file(fileName));
        return;
    }
    if (fileName)
        openCalculatorDialog(mainWindow, CalculatorRequest::file(fileName));
    else if (item != 0)
        openCalculatorDialog(mainWindow, CalculatorRequest::item(item));
    else
        openCalculatorDialog(mainWindow, CalculatorRequest());
}

bool calculatorMayClose()
{
    HWND calculator = liveCalculatorWindow();
    return !calculator || calculatorMayBeDiscarded(calculator);
}

void onOpenCommand(HWND mainWindow)
{
    char path[PathLimit + 1] = "";
    HWND calculator = liveCalculatorWindow();
    if (chooseCalculationFile(mainWindow, path, sizeof path, nullptr,
                              calculator ? calculatorCurrentFile(calculator) : nullptr))
        SendMessageA(mainWindow, WM_COMMAND, CMD_FORMULA, reinterpret_cast<LPARAM>(path));
}
