// The real main window and calculator dialog created in-process, with the
// helpers the calculator tests share: control texts, list rows, tree
// selection, a help recorder and calculation files in a scratch folder.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/calculator/calculator_dialog.h"
#include "app/calculator/calculator_ids.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "common/win/html_help.h"
#include "tests/win32/support/message_box_catcher.h"

struct HelpCall {
    std::string file;
    UINT command;
    DWORD_PTR data;
    std::string popupText;
    POINT popupAt;
};

inline std::vector<HelpCall>& helpCalls()
{
    static std::vector<HelpCall> calls;
    return calls;
}

inline HWND WINAPI recordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data)
{
    HelpCall call = {file ? file : "", command, data, "", {0, 0}};
    if (command == HH_DISPLAY_TEXT_POPUP) {
        const HH_POPUP* popup = reinterpret_cast<const HH_POPUP*>(data);
        call.popupText = popup->pszText ? popup->pszText : "";
        call.popupAt = popup->pt;
    }
    helpCalls().push_back(call);
    return nullptr;
}

// The shipped multiple example in ff/l (section QUORVEL first, CR LF).
const char Esempio3[] =
    "[QUORVEL]\r\nMULTI=1\r\nITEMS=2\r\nESPOSIZIONE=0.03888\r\nESPOSIZIONE_FL=38.88\r\n"
    "NOTE=Esempio 3: due lavorazioni, valori in ff/l.\r\nUNIT=1\r\n"
    "[EXPO_0]\r\nVOCE=Centrali elettriche a vapore: rimozione di guarnizioni di valvole\r\n"
    "FIBRE=300.00\r\nORE=2.000\r\nGIORNI=120.0\r\nPARZIALE=37.50\r\n"
    "[EXPO_1]\r\nVOCE=Turbinista in zona turbina\r\nFIBRE=4.00\r\nORE=5.500\r\nGIORNI=120.0\r\n"
    "PARZIALE=1.38\r\n";

class CalculatorFixture : public testing::Test {
protected:
    void SetUp() override
    {
        appState = AppState{};
        helpCalls().clear();
        setHtmlHelpFunction(recordHelp);
        mainWindow = startMainWindow(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        ASSERT_NE(mainWindow, nullptr);
        tree = GetDlgItem(mainWindow, IDC_TREE);
        toolbar = GetDlgItem(mainWindow, IDC_TOOLBAR);
        pumpMessages();

        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "quorvel_calc_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
    }

    void TearDown() override
    {
        setHtmlHelpFunction(nullptr);
        if (HWND calculator = liveCalculatorWindow())
            DestroyWindow(calculator);
        if (IsWindow(mainWindow))
            DestroyWindow(mainWindow);
        pumpMessages();
        UnregisterClassA(MainWindowClass, GetModuleHandleA(nullptr));
        UnregisterClassA(PanelWindowClass, GetModuleHandleA(nullptr));
        for (const std::string& file : files) {
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder.c_str());
    }

    HWND openFile(const std::string& path) { return open(CalculatorRequest::file(path.c_str())); }

    HWND open(const CalculatorRequest& request = CalculatorRequest())
    {
        calculator = openCalculatorDialog(mainWindow, request);
        EXPECT_NE(calculator, nullptr);
        pumpMessages();
        return calculator;
    }

    HWND control(int id) const { return GetDlgItem(calculator, id); }

    std::string text(int id) const
    {
        char buffer[1024] = "";
        GetDlgItemTextA(calculator, id, buffer, sizeof buffer);
        return buffer;
    }

    void setText(int id, const char* value) { SetDlgItemTextA(calculator, id, value); }

    // Typed one character at a time, as the keyboard does.
    void type(int id, const char* characters)
    {
        for (const char* c = characters; *c; ++c)
            SendMessageA(control(id), WM_CHAR, static_cast<unsigned char>(*c), 1);
    }

    void command(int id)
    {
        SendMessageA(calculator, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control(id)));
    }

    void setMultiple(bool multiple)
    {
        CheckDlgButton(calculator, IDC_CALC_MULTIPLE, multiple ? BST_CHECKED : BST_UNCHECKED);
        command(IDC_CALC_MULTIPLE);
    }

    void addRow(const char* description, const char* f, const char* t, const char* g)
    {
        setText(IDC_CALC_DESCRIPTION, description);
        setText(IDC_CALC_F, f);
        setText(IDC_CALC_T, t);
        setText(IDC_CALC_G, g);
        command(IDC_CALC_ADD);
    }

    std::vector<std::vector<std::string>> rows() const
    {
        std::vector<std::vector<std::string>> all;
        HWND list = control(IDC_CALC_LIST);
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            std::vector<std::string> row;
            for (int column = 0; column < 5; ++column) {
                char buffer[260] = "";
                ListView_GetItemText(list, i, column, buffer, sizeof buffer);
                row.push_back(buffer);
            }
            all.push_back(row);
        }
        return all;
    }

    std::string header(int column) const
    {
        char buffer[64] = "";
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT;
        c.pszText = buffer;
        c.cchTextMax = sizeof buffer;
        SendMessageA(control(IDC_CALC_LIST), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
        return buffer;
    }

    void selectRow(int row)
    {
        ListView_SetItemState(control(IDC_CALC_LIST), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }

    bool unitButtonsEnabled(bool* litre = nullptr) const
    {
        const bool cc = SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FF_CC, 0) != 0;
        if (litre)
            *litre = SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FF_L, 0) != 0;
        return cc;
    }

    // Expands the tree down to the node and selects it, as a person would.
    bool selectNode(unsigned id, bool item)
    {
        std::vector<LPARAM> tags;
        tags.push_back(item ? 0x10000 + id : findNode(id)->folderId);
        for (unsigned parent = firstParentOf(id); parent && parent != RootFolderId;) {
            tags.push_back(parent);
            const NodeRecord* folderNode = findFolder(parent);
            if (!folderNode)
                return false;
            parent = firstParentOf(folderNode->id);
        }
        std::reverse(tags.begin(), tags.end());
        HTREEITEM node = TreeView_GetRoot(tree);
        for (LPARAM tag : tags) {
            TreeView_Expand(tree, node, TVE_EXPAND);
            HTREEITEM child = TreeView_GetChild(tree, node);
            for (; child; child = TreeView_GetNextSibling(tree, child)) {
                TVITEMA entry = {};
                entry.mask = TVIF_PARAM;
                entry.hItem = child;
                TreeView_GetItem(tree, &entry);
                if (entry.lParam == tag)
                    break;
            }
            if (!child)
                return false;
            node = child;
        }
        TreeView_SelectItem(tree, node);
        pumpMessages(10);
        return true;
    }

    void selectRoot()
    {
        TreeView_SelectItem(tree, TreeView_GetRoot(tree));
        pumpMessages(10);
    }

    std::string writeFile(const char* name, const std::string& content)
    {
        const std::string path = folder + "\\" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr) << path;
        if (file) {
            std::fwrite(content.data(), 1, content.size(), file);
            std::fclose(file);
        }
        files.push_back(path);
        return path;
    }

    std::string pathOf(const char* name)
    {
        const std::string path = folder + "\\" + name;
        files.push_back(path);
        return path;
    }

    static std::string readWhole(const std::string& path)
    {
        std::string content;
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
                content.append(buffer, n);
            std::fclose(file);
        }
        return content;
    }

    std::string statusText() const
    {
        char buffer[MAX_PATH] = "";
        SendMessageA(control(IDC_CALC_STATUS), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HWND mainWindow = nullptr;
    HWND tree = nullptr;
    HWND toolbar = nullptr;
    HWND calculator = nullptr;
    std::string folder;
    std::vector<std::string> files;
};

// The first item of the database with this concentration, 0 when none.
inline unsigned itemWithConcentration(double concentration)
{
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node && node->kind == Item && node->concentration == concentration && firstParentOf(node->id))
            return node->id;
    }
    return 0;
}
