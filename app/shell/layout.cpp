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

namespace {

bool readLayoutValue(HKEY key, DWORD* value)
{
    DWORD stored = 0;
    DWORD size = sizeof stored;
    DWORD type = 0;
    if (RegQueryValueExA(key, LayoutValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) !=
            ERROR_SUCCESS ||
        size != sizeof stored)
        return false;
    *value = stored;
    return true;
}

bool storeLayoutValue(HKEY key, DWORD value)
{
    return RegSetValueExA(key, LayoutValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

// Earlier versions kept the setting for the whole machine, which a standard
// user may only read; run without a manifest on Vista and later, their write
// went to the user's VirtualStore instead (under WOW6432Node for a 32-bit
// program on 64-bit Windows), which a manifested program no longer sees.
// The first value found, or 0 when there is none.
DWORD earlierLayout()
{
    const struct {
        HKEY root;
        const char* path;
    } places[] = {
        {HKEY_CURRENT_USER, "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Quorvel"},
        {HKEY_CURRENT_USER, "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Quorvel"},
        {HKEY_LOCAL_MACHINE, LayoutKey},
    };
    for (const auto& place : places) {
        HKEY key;
        if (RegOpenKeyExA(place.root, place.path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            continue;
        DWORD value = 0;
        const bool found = readLayoutValue(key, &value);
        RegCloseKey(key);
        if (found)
            return value;
    }
    return 0;
}

}  // namespace

// The setting is the user's own (HKCU), writable without administrator
// rights. A user without one starts from the value of earlier versions,
// copied once into the user's key.
DWORD layoutSetting(bool write, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, LayoutKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;

    DWORD result = 0;
    if (write) {
        if (storeLayoutValue(key, value))
            result = value;
    } else if (!readLayoutValue(key, &result)) {
        result = earlierLayout();
        storeLayoutValue(key, result);
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
