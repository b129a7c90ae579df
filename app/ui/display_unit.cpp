// Switching the display unit and showing it everywhere it appears.
#include "app/ui/display_unit.h"

#include <commctrl.h>

#include "app/resources/resource.h"

const char* unitMenuText()
{
    return appState.displayUnit == PerLitre ? "fibre/cc" : "fibre/litro";
}

void setDisplayUnit(HWND mainWindow, DisplayUnit unit)
{
    appState.displayUnit = unit;
    if (HWND toolbar = mainWindow ? GetDlgItem(mainWindow, IDC_TOOLBAR) : nullptr) {
        SendMessageA(toolbar, TB_CHECKBUTTON, CMD_FF_CC, MAKELONG(unit == PerCc, 0));
        SendMessageA(toolbar, TB_CHECKBUTTON, CMD_FF_L, MAKELONG(unit == PerLitre, 0));
    }
    if (HMENU menu = mainWindow ? GetMenu(mainWindow) : nullptr)
        ModifyMenuA(menu, CMD_UNITA, MF_BYCOMMAND | MF_STRING, CMD_UNITA, unitMenuText());
    if (HWND calculator = liveCalculatorWindow())
        SendMessageA(calculator, UnitChangedMessage, 0, 0);
}

void enableUnitButtons(HWND mainWindow, bool enable)
{
    HWND toolbar = mainWindow ? GetDlgItem(mainWindow, IDC_TOOLBAR) : nullptr;
    if (!toolbar)
        return;
    SendMessageA(toolbar, TB_ENABLEBUTTON, CMD_FF_CC, MAKELONG(enable, 0));
    SendMessageA(toolbar, TB_ENABLEBUTTON, CMD_FF_L, MAKELONG(enable, 0));
}
