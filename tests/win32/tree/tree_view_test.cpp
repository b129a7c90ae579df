// The database tree in the real main window: lazy expansion with sorted
// insertion, collapse with reset, selection into the description panel, the
// unit buttons and the "Visualizza" menu that follow it.
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/browse/search_engine.h"
#include "app/browse/tree_view.h"
#include "app/resources/resource.h"
#include "app/shell/commands.h"
#include "app/shell/description_panel.h"
#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "common/win/html_help.h"
#include "tests/win32/support/main_window_fixture.h"

namespace {


std::vector<HTREEITEM> childrenOf(HWND tree, HTREEITEM node)
{
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = TreeView_GetChild(tree, node); child; child = TreeView_GetNextSibling(tree, child))
        children.push_back(child);
    return children;
}

HTREEITEM childNamed(HWND tree, HTREEITEM parent, const char* label)
{
    for (HTREEITEM child : childrenOf(tree, parent))
        if (treeLabel(tree, child) == label)
            return child;
    return nullptr;
}

struct HelpCall {
    std::string file;
    UINT command;
    DWORD_PTR data;
};
std::vector<HelpCall> helpCalls;

HWND WINAPI recordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data)
{
    helpCalls.push_back({file ? file : "", command, data});
    return nullptr;
}

class TreeTest : public WithMainWindow {
protected:
    void beforeStart() override
    {
        helpCalls.clear();
        setHtmlHelpFunction(recordHelp);
    }
    void SetUp() override
    {
        WithMainWindow::SetUp();
        panel = panelContent(GetDlgItem(window, IDC_PANEL));
        ASSERT_NE(panel, nullptr);
        root = TreeView_GetRoot(tree);
    }
    HTREEITEM open(HTREEITEM parent, const char* label)
    {
        HTREEITEM node = childNamed(tree, parent, label);
        EXPECT_NE(node, nullptr) << label;
        if (node)
            TreeView_Expand(tree, node, TVE_EXPAND);
        return node;
    }
    // Collapses as a person does, with a click on the node's button: the
    // control notifies its parent only for such user actions.
    void clickButtonOf(HTREEITEM node)
    {
        TreeView_EnsureVisible(tree, node);
        RECT r;
        ASSERT_TRUE(TreeView_GetItemRect(tree, node, &r, TRUE));
        for (int x = 0; x < r.left; ++x) {
            TVHITTESTINFO hit = {};
            hit.pt = {x, (r.top + r.bottom) / 2};
            if (TreeView_HitTest(tree, &hit) == node && (hit.flags & TVHT_ONITEMBUTTON)) {
                SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
                SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
                return;
            }
        }
        ADD_FAILURE() << "no expand button found";
    }
    bool unitButtonsEnabled()
    {
        const bool cc = SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FF_CC, 0) != 0;
        const bool l = SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FF_L, 0) != 0;
        EXPECT_EQ(cc, l);
        return cc;
    }
    HTREEITEM root = nullptr;
    PanelContent* panel = nullptr;
};

TEST_F(TreeTest, StartShowsTheRootInThePanel)
{
    EXPECT_STREQ(panel->title, "Amianto");
    EXPECT_STREQ(panel->text, "");
    EXPECT_EQ(panel->imageIndex, 19);
    EXPECT_TRUE(unitButtonsEnabled());
}

TEST_F(TreeTest, RootExpandsIntoItsThreeFoldersInOrder)
{
    TreeView_Expand(tree, root, TVE_EXPAND);
    std::vector<std::string> labels;
    for (HTREEITEM child : childrenOf(tree, root))
        labels.push_back(treeLabel(tree, child));
    EXPECT_EQ(labels, (std::vector<std::string>{"Ciclo di vita", "Dati per nazione", "Opifici"}));
    LPARAM tag = 0;
    treeLabel(tree, childNamed(tree, root, "Ciclo di vita"), &tag);
    EXPECT_EQ(tag, 2);
}

TEST_F(TreeTest, ItemSelectedThroughEitherPathShowsItsTitleAndText)
{
    TreeView_Expand(tree, root, TVE_EXPAND);
    HTREEITEM bonifica = open(open(root, "Ciclo di vita"), "Bonifica");
    HTREEITEM item = childNamed(tree, bonifica, "Decontaminazione in edifici (valore massimo)");
    ASSERT_NE(item, nullptr);
    LPARAM tag = 0;
    treeLabel(tree, item, &tag);
    EXPECT_EQ(tag, 0x10000 + 13);

    TreeView_SelectItem(tree, item);
    EXPECT_STREQ(panel->title, "Amianto->Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)");
    EXPECT_STREQ(panel->text, "Concentrazione:   0.0570 ff/cc\r\n\r\nFonte bibliografica: "
                              "Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989");
    EXPECT_EQ(panel->imageIndex, 20);
    EXPECT_FALSE(unitButtonsEnabled());

    HTREEITEM italia = open(open(root, "Dati per nazione"), "Italia");
    HTREEITEM second = childNamed(tree, open(italia, "Bonifica"), "Decontaminazione in edifici (valore massimo)");
    ASSERT_NE(second, nullptr);
    TreeView_SelectItem(tree, second);
    EXPECT_STREQ(panel->title,
                 "Amianto->Dati per nazione->Italia->Bonifica->Decontaminazione in edifici (valore massimo)");

    TreeView_SelectItem(tree, italia);
    EXPECT_STREQ(panel->text, "");
    EXPECT_EQ(panel->imageIndex, 7);
    EXPECT_TRUE(unitButtonsEnabled());
}

TEST_F(TreeTest, UnitSwitchChangesTheItemTextInLitres)
{
    SendMessageA(window, WM_COMMAND, CMD_FF_CC, reinterpret_cast<LPARAM>(toolbar));  // checked one still switches
    EXPECT_EQ(appState.displayUnit, PerLitre);
    EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_FF_L, 0));
    EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_FF_CC, 0));

    TreeView_Expand(tree, root, TVE_EXPAND);
    HTREEITEM bonifica = open(open(root, "Ciclo di vita"), "Bonifica");
    TreeView_SelectItem(tree, childNamed(tree, bonifica, "Decontaminazione in edifici (valore massimo)"));
    EXPECT_EQ(std::string(panel->text).substr(0, 30), "Concentrazione:     57.0 ff/l\r");
}

TEST_F(TreeTest, CollapseDeletesChildrenAndShowsTheFolder)
{
    TreeView_Expand(tree, root, TVE_EXPAND);
    HTREEITEM cycle = open(root, "Ciclo di vita");
    HTREEITEM bonifica = open(cycle, "Bonifica");
    TreeView_SelectItem(tree, TreeView_GetChild(tree, bonifica));
    clickButtonOf(cycle);
    // The collapsed node is reset: no children until the next expansion.
    EXPECT_EQ(TreeView_GetChild(tree, cycle), nullptr);
    EXPECT_STREQ(panel->title, "Amianto->Ciclo di vita");
    EXPECT_STREQ(panel->text, "");
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = cycle;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.cChildren, 1);  // the expand button stays
    TreeView_Expand(tree, cycle, TVE_EXPAND);
    EXPECT_EQ(childrenOf(tree, cycle).size(), 6u);
}

TEST_F(TreeTest, SharedFolderExpandsUnderEachParent)
{
    TreeView_Expand(tree, root, TVE_EXPAND);
    HTREEITEM fromCycle = open(open(open(root, "Ciclo di vita"), "Estrazione"), "Industria mineraria");
    HTREEITEM fromPlants = open(open(root, "Opifici"), "Industria mineraria");
    ASSERT_NE(fromCycle, nullptr);
    ASSERT_NE(fromPlants, nullptr);
    EXPECT_FALSE(childrenOf(tree, fromCycle).empty());
    EXPECT_EQ(childrenOf(tree, fromCycle).size(), childrenOf(tree, fromPlants).size());
}

TEST_F(TreeTest, FolderWithADanglingLinkShowsTwentyNineItems)
{
    // Walk to item 951, whose folder is 117.
    LocatePath path = {};
    ASSERT_GT(buildLocatePath(951, path.ids, 32), 0u);
    locateInTree(tree, path);
    HTREEITEM folder = TreeView_GetParent(tree, TreeView_GetSelection(tree));
    LPARAM tag = 0;
    treeLabel(tree, folder, &tag);
    EXPECT_EQ(tag, 117);
    EXPECT_EQ(childrenOf(tree, folder).size(), 29u);
}

TEST_F(TreeTest, LocateWalkReachesTheLastNodeAndSharedFolders)
{
    struct Case {
        unsigned id;
        LPARAM tag;
        const char* title;
    } cases[] = {
        {977, 0x10000 + 977, nullptr},
        {40, 0, "Amianto->Ciclo di vita->Estrazione->Industria mineraria"},
        // Labels that differ only in case: the tag, not the label, finds it.
        {920, 0x10000 + 920, nullptr},
        {921, 0x10000 + 921, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        LocatePath path = {};
        ASSERT_GT(buildLocatePath(c.id, path.ids, 32), 0u);
        locateInTree(tree, path);
        LPARAM tag = -1;
        treeLabel(tree, TreeView_GetSelection(tree), &tag);
        if (c.tag) {
            EXPECT_EQ(tag, c.tag);
        }
        if (c.title) {
            EXPECT_STREQ(panel->title, c.title);
        }
    }
}

TEST_F(TreeTest, LocateWalkEndsOnAnIdThatMatchesNoChild)
{
    LocatePath path = {};
    path.ids[0] = 950;  // no record
    path.ids[1] = 1;    // "Ciclo di vita"
    locateInTree(tree, path);
    EXPECT_EQ(treeLabel(tree, TreeView_GetSelection(tree)), "Ciclo di vita");
}

// Refuses the creation of the next dialog window, as a failing
// DialogBoxParam would: the search dialog then ends with -1.
HHOOK refusingHook;
LRESULT CALLBACK refuseDialog(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        const char* name = create->lpcs->lpszClass;
        if (IS_INTRESOURCE(name) ? name == MAKEINTATOM(32770) : lstrcmpA(name, "#32770") == 0)
            return 1;
    }
    return CallNextHookEx(refusingHook, code, wParam, lParam);
}

TEST_F(TreeTest, FailedSearchDialogWalksNoStalePath)
{
    ASSERT_GT(buildLocatePath(921, appState.locatePath.ids, 32), 0u);
    TreeView_SelectItem(tree, root);
    refusingHook = SetWindowsHookExA(WH_CBT, refuseDialog, nullptr, GetCurrentThreadId());
    SendMessageA(window, WM_COMMAND, CMD_CERCA, 0);
    UnhookWindowsHookEx(refusingHook);
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_STREQ(panel->title, "Amianto");
}

TEST_F(TreeTest, VisualizzaMenuFollowsUnitAndSelection)
{
    HMENU menu = GetSubMenu(GetMenu(window), 2);
    char text[32];
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 2);
    GetMenuStringA(menu, CMD_UNITA, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "fibre/litro");
    EXPECT_FALSE(GetMenuState(menu, CMD_UNITA, MF_BYCOMMAND) & MF_GRAYED);

    SendMessageA(window, WM_COMMAND, CMD_UNITA, 0);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 2);
    GetMenuStringA(menu, CMD_UNITA, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "fibre/cc");

    TreeView_Expand(tree, root, TVE_EXPAND);
    HTREEITEM bonifica = open(open(root, "Ciclo di vita"), "Bonifica");
    TreeView_SelectItem(tree, TreeView_GetChild(tree, bonifica));
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 2);
    EXPECT_TRUE(GetMenuState(menu, CMD_UNITA, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(TreeTest, HelpCommandsOpenTheirTopics)
{
    SendMessageA(window, WM_COMMAND, CMD_HELP, 0);
    NMTVKEYDOWN key = {};
    key.hdr.hwndFrom = tree;
    key.hdr.idFrom = IDC_TREE;
    key.hdr.code = TVN_KEYDOWN;
    key.wVKey = VK_F1;
    SendMessageA(window, WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&key));
    ASSERT_EQ(helpCalls.size(), 2u);
    EXPECT_EQ(helpCalls[0].data, 100100u);
    EXPECT_EQ(helpCalls[1].data, 0u);
    for (const HelpCall& call : helpCalls) {
        EXPECT_EQ(call.command, static_cast<UINT>(HH_HELP_CONTEXT));
        EXPECT_EQ(call.file, appState.helpFile);
    }
}

TEST_F(TreeTest, ExitAsksAndOnlyYesCloses)
{
    {
        MessageBoxCatcher catcher(IDNO);
        SendMessageA(window, WM_COMMAND, CMD_ESCI, 0);
        ASSERT_EQ(catcher.caught().size(), 1u);
        EXPECT_EQ(catcher.caught()[0].caption, "Conferma operazione");
        EXPECT_EQ(catcher.caught()[0].text, "Uscire dal programma?");
        EXPECT_TRUE(IsWindow(window));
        catcher.setButton(IDCANCEL);
        SendMessageA(window, WM_COMMAND, CMD_ESCI, 0);
        EXPECT_TRUE(IsWindow(window));
        catcher.setButton(IDYES);
        SendMessageA(window, WM_COMMAND, CMD_ESCI, 0);
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
