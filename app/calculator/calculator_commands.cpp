// Opening the calculator from the main window. A selected tree item wins
// over a file name while a calculator is open.
#include "app/calculator/calculator_commands.h"

#include <cstring>

#include "app/browse/tree_view.h"
#include "app/calculator/calculator_dialog.h"
#include "app/calculator/file_dialogs.h"
#include "app/resources/resource.h"
#include "app/shell/app_state.h"

namespace {

// Node id of the item selected in the tree, 0 when a folder, the root or
// nothing is selected.
int selectedItem(HWND mainWindow)
{
    DWORD tag = 0;
    if (selectedTreeTag(mainWindow, &tag) && HIWORD(tag) == 1)
        return LOWORD(tag);
    return 0;
}

// FileToOpen := name; false (and nothing copied) when it does not fit.
bool setFileToOpen(const char* name)
{
    const size_t length = std::strlen(name);
    if (length >= sizeof appState.fileToOpen)
        return false;
    std::memmove(appState.fileToOpen, name, length + 1);
    return true;
}

}  // namespace

void onFormulaCommand(HWND mainWindow, LPARAM lParam)
{
    const HWND toolbar = GetDlgItem(mainWindow, IDC_TOOLBAR);
    const char* fileName = nullptr;
    if (lParam != 0 && reinterpret_cast<HWND>(lParam) != toolbar)
        fileName = reinterpret_cast<const char*>(lParam);
    // A name too long for FileToOpen is refused, not cut into another name.
    if (fileName && !setFileToOpen(fileName))
        return;
    const int item = selectedItem(mainWindow);

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
        openCalculatorDialog(mainWindow, item != 0 ? item : -1);
        return;
    }
    openCalculatorDialog(mainWindow, fileName ? -1 : item);
}

bool calculatorMayClose()
{
    HWND calculator = liveCalculatorWindow();
    return !calculator || calculatorMayBeDiscarded(calculator);
}

void onOpenCommand(HWND mainWindow)
{
    char path[260] = "";
    if (chooseCalculationFile(mainWindow, path, sizeof path, nullptr))
        SendMessageA(mainWindow, WM_COMMAND, CMD_FORMULA, reinterpret_cast<LPARAM>(path));
}
