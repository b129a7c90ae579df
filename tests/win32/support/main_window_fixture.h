// A test with the real MainWindow: started as the program starts it, with a
// fresh AppState, and taken down with any calculator it opened.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "common/win/html_help.h"
#include "tests/win32/support/message_box_catcher.h"

// A tree node's label, and its tag when asked for.
inline std::string treeLabel(HWND tree, HTREEITEM node, LPARAM* tag = nullptr)
{
    char label[260] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_PARAM;
    item.hItem = node;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (tag)
        *tag = item.lParam;
    return label;
}

class WithMainWindow : public testing::Test {
protected:
    // Runs before the window starts, e.g. to reset the registry.
    virtual void beforeStart() {}

    void SetUp() override
    {
        appState = AppState{};
        beforeStart();
        window = startMainWindow(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        ASSERT_NE(window, nullptr);
        tree = GetDlgItem(window, IDC_TREE);
        toolbar = GetDlgItem(window, IDC_TOOLBAR);
        pumpMessages();
    }
    void TearDown() override
    {
        if (HWND calculator = liveCalculatorWindow())
            DestroyWindow(calculator);
        if (IsWindow(window))
            DestroyWindow(window);
        pumpMessages();
        UnregisterClassA(MainWindowClass, GetModuleHandleA(nullptr));
        UnregisterClassA(PanelWindowClass, GetModuleHandleA(nullptr));
        setHtmlHelpFunction(nullptr);
    }

    HWND window = nullptr;
    HWND tree = nullptr;
    HWND toolbar = nullptr;
};
