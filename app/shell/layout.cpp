// The content area and the stacking of panel and tree that "Layout" selects.
#include <windows.h>
#include <commctrl.h>

#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/pane_layout.h"

namespace {

const char LayoutKey[] = "Software\\Quorvel";
const char LayoutValue[] = "Layout";

void placePane(HWND pane, const PaneRect& r)
{
    if (pane)
        SetWindowPos(pane, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

RECT contentArea(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    RECT bar = {};
    if (HWND toolbar = GetDlgItem(window, IDC_TOOLBAR))
        GetClientRect(toolbar, &bar);
    r.top += (bar.bottom - bar.top) + 2 * GetSystemMetrics(SM_CYBORDER);
    r.right -= 2 * GetSystemMetrics(SM_CXBORDER);
    return r;
}

void layoutMainWindow(HWND window, UINT sizeType, int width, int height)
{
    const DWORD layout = layoutSetting(false, 0);
    if (HWND toolbar = GetDlgItem(window, IDC_TOOLBAR))
        SendMessageA(toolbar, WM_SIZE, sizeType, MAKELPARAM(width, height));

    const RECT r = contentArea(window);
    const PanePlacement panes = splitContentArea({r.left, r.top, r.right, r.bottom}, layout);
    placePane(GetDlgItem(window, IDC_PANEL), panes.panel);
    placePane(GetDlgItem(window, IDC_TREE), panes.tree);
}

DWORD layoutSetting(bool write, DWORD value)
{
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, LayoutKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return 0;

    DWORD result = 0;
    if (disposition == REG_CREATED_NEW_KEY) {
        const DWORD zero = 0;
        RegSetValueExA(key, LayoutValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    } else if (write) {
        if (RegSetValueExA(key, LayoutValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value) == ERROR_SUCCESS)
            result = value;
    } else {
        DWORD stored = 0;
        DWORD size = sizeof stored;
        DWORD type = 0;
        if (RegQueryValueExA(key, LayoutValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored),
                             &size) == ERROR_SUCCESS &&
            size == sizeof stored)
            result = stored;
    }
    RegCloseKey(key);
    return result;
}

void invertLayout(HWND window)
{
    const DWORD current = layoutSetting(false, 0);
    layoutSetting(true, current == 0 ? 1 : 0);
    RECT outer;
    GetWindowRect(window, &outer);
    layoutMainWindow(window, SIZE_RESTORED, outer.right - outer.left, outer.bottom - outer.top);
}
