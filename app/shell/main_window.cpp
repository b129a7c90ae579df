// MainWindow's procedure: creation of the toolbar, tree and panel, sizing,
// keys, closing and destruction. Commands and notifications are handed on.
#include "app/shell/main_window.h"

#include <commctrl.h>

#include "app/browse/tree_view.h"
#include "app/calculator/calculator_commands.h"
#include "app/resources/resource.h"
#include "app/shell/commands.h"
#include "app/shell/description_panel.h"
#include "app/ui/app_state.h"
#include "app/ui/display_unit.h"
#include "common/win/centre_window.h"
#include "common/win/tooltips.h"

const char MainWindowClass[] = "Quorvel_Class";
const char PanelWindowClass[] = "QuorvelRiquadro_Class";

namespace {

const COLORREF StripTransparentColour = RGB(192, 192, 192);
const int StripImageCount = 26;

const TBBUTTON ToolbarButtons[] = {
    {1, CMD_APRI, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {3, CMD_STAMPA, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {5, CMD_COPIA, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {22, CMD_CERCA, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {23, CMD_FORMULA, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {10, CMD_INVERTI_LAYOUT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {11, CMD_FF_CC, TBSTATE_ENABLED, TBSTYLE_CHECK, {0}, 0, 0},
    {12, CMD_FF_L, TBSTATE_ENABLED, TBSTYLE_CHECK, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {14, CMD_HELP, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {25, CMD_INFORMAZIONI, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};

LRESULT onCreate(HWND window)
{
    HINSTANCE instance = appState.instance;
    centreWindow(window);

    CreateToolbarEx(window, WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS, IDC_TOOLBAR,
                    StripImageCount, instance, IDB_STRIP, ToolbarButtons,
                    sizeof ToolbarButtons / sizeof ToolbarButtons[0], 16, 15, 16, 15, sizeof(TBBUTTON));

    RECT r = contentArea(window);
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "Tree View",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT | TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS,
                                r.left, r.top, (r.right - r.left) / 2, r.bottom - r.top, window,
                                reinterpret_cast<HMENU>(IDC_TREE), instance, nullptr);

    HIMAGELIST images = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_STRIP), 16, 0,
                                             StripTransparentColour, IMAGE_BITMAP, 0);
    if (images && tree) {
        TreeView_SetImageList(tree, images, TVSIL_NORMAL);
        TreeView_SetImageList(tree, images, TVSIL_STATE);
    }
    if (tree)
        insertTreeRoot(tree);

    r.left = (r.right - r.left) / 2;
    createDescriptionPanel(window, IDC_PANEL, r);

    appState.selectedItem = 0;
    createToolTips(window);
    loadSmallIcons(window, true);
    DragAcceptFiles(window, TRUE);

    setDisplayUnit(window, appState.displayUnit);
    return 0;
}

LRESULT onDestroy(HWND window)
{
    HWND tree = GetDlgItem(window, IDC_TREE);
    if (tree) {
        // One list serves as normal and state list: detach both, destroy once.
        HIMAGELIST images = TreeView_SetImageList(tree, nullptr, TVSIL_NORMAL);
        TreeView_SetImageList(tree, nullptr, TVSIL_STATE);
        if (images)
            ImageList_Destroy(images);
    }
    destroyToolTips();
    loadSmallIcons(window, false);
    DragAcceptFiles(window, FALSE);
    appState.mainWindow = nullptr;
    appState.selectedItem = 0;
    PostQuitMessage(0);
    return 0;
}

LRESULT onClose(HWND window)
{
    if (!calculatorMayClose())
        return 0;
    if (HWND calculator = liveCalculatorWindow()) {
        DestroyWindow(calculator);
        appState.calculator.window = nullptr;
    }
    DestroyWindow(window);
    return 0;
}

LRESULT onKeyDown(HWND window, WPARAM key)
{
    switch (key) {
    case VK_F1:
        SendMessageA(window, WM_COMMAND, CMD_HELP, 0);
        break;
    case VK_TAB:
    case VK_ESCAPE:
    case VK_SPACE:
        SetFocus(GetDlgItem(window, IDC_TREE));
        break;
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_SIZE:
        layoutMainWindow(window, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        return onClose(window);
    case WM_DESTROY:
        return onDestroy(window);
    case WM_NOTIFY:
        return onMainWindowNotify(window, reinterpret_cast<NMHDR*>(lParam));
    case WM_INITMENUPOPUP:
        onInitMenuPopup(window, reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
        return 0;
    case WM_KEYDOWN:
        return onKeyDown(window, wParam);
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam), lParam);
        return 0;
    case WM_DROPFILES:
        onDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerWindowClasses(HINSTANCE instance)
{
    WNDCLASSA main = {};
    main.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNWINDOW;
    main.lpfnWndProc = mainWindowProc;
    main.hInstance = instance;
    main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORVEL));
    main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    main.lpszMenuName = "PRIMO";
    main.lpszClassName = MainWindowClass;
    if (!RegisterClassA(&main))
        return false;

    WNDCLASSA panel = {};
    panel.lpfnWndProc = descriptionPanelProc;
    panel.cbWndExtra = sizeof(void*);
    panel.hInstance = instance;
    panel.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    panel.lpszClassName = PanelWindowClass;
    return RegisterClassA(&panel) != 0;
}

HWND createMainWindow(HINSTANCE instance)
{
    const LONG units = GetDialogBaseUnits();
    const int width = LOWORD(units) * 100;
    const int height = HIWORD(units) * 300 / 8;
    return CreateWindowExA(0, MainWindowClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                           width, height, nullptr, nullptr, instance, nullptr);
}
