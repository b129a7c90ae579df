// The database tree: root insertion, lazy expansion, selection into the
// description panel, the item context menu and the tree's notifications.
#include "app/browse/tree_view.h"

#include <htmlhelp.h>

#include <vector>

#include "app/browse/item_text.h"
#include "app/browse/tree_model.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/ui/app_state.h"
#include "app/ui/display_unit.h"
#include "app/ui/panel.h"
#include "common/win/html_help.h"

namespace {

const int LabelCapacity = 128;  // labels are read up to 127 characters

bool readNode(HWND tree, HTREEITEM node, char* label, int capacity, TreeTag* tag)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_PARAM | (label ? TVIF_TEXT : 0);
    item.hItem = node;
    item.pszText = label;
    item.cchTextMax = capacity;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    if (tag)
        *tag = static_cast<TreeTag>(item.lParam);
    return true;
}

void insertChild(HWND tree, HTREEITEM parent, const TreeChild& child)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(child.record->name);
    insert.item.lParam = static_cast<LPARAM>(child.tag);
    insert.item.iImage = child.image;
    insert.item.iSelectedImage = child.selectedImage;
    insert.item.cChildren = child.hasChildren ? 1 : 0;
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
}

void expandFolder(HWND tree, const NMTREEVIEWA* change)
{
    const TreeTag tag = static_cast<TreeTag>(change->itemNew.lParam);
    if (!(change->action & TVE_EXPAND) || isItemTag(tag))
        return;
    std::vector<TreeChild> children(64);
    int count = treeChildrenOf(tagNumber(tag), children.data(), static_cast<int>(children.size()));
    if (count > static_cast<int>(children.size())) {
        children.resize(static_cast<size_t>(count));
        count = treeChildrenOf(tagNumber(tag), children.data(), count);
    }
    for (int i = 0; i < count; ++i)
        insertChild(tree, change->itemNew.hItem, children[static_cast<size_t>(i)]);
}

// "Leaf<-Parent<-...<-Amianto" for a node of the tree.
void upwardPathOf(HWND tree, HTREEITEM node, char* path, size_t size)
{
    path[0] = '\0';
    char label[LabelCapacity];
    for (HTREEITEM at = node; at; at = TreeView_GetParent(tree, at)) {
        label[0] = '\0';
        if (!readNode(tree, at, label, sizeof label, nullptr))
            break;
        appendUpwardLabel(path, size, label);
    }
}

void displayNode(HWND mainWindow, const char* upwardPath, unsigned itemId, int image)
{
    HWND panel = GetDlgItem(mainWindow, IDC_PANEL);
    char title[PanelTitleSize];
    char text[PanelTextSize] = "";
    upwardPathToTitle(upwardPath, title, sizeof title);
    if (itemId != 0)
        if (const NodeRecord* record = findNode(itemId))
            formatItemDisplayText(*record, appState.displayUnit, text, sizeof text);
    if (!setPanelTitle(panel, title))
        return;
    setPanelText(panel, text);
    setPanelImage(panel, image);
    repaintPanel(panel);
}

void showNode(HWND mainWindow, HWND tree, HTREEITEM node, TreeTag tag)
{
    char upwardPath[2048];
    upwardPathOf(tree, node, upwardPath, sizeof upwardPath);
    displayNode(mainWindow, upwardPath, isItemTag(tag) ? tagNumber(tag) : 0, panelImageForTag(tag));
}

void collapseFolder(HWND mainWindow, HWND tree, const NMTREEVIEWA* change)
{
    if (!(change->action & TVE_COLLAPSE))
        return;
    HTREEITEM node = change->itemNew.hItem;
    TreeView_Expand(tree, node, TVE_COLLAPSE | TVE_COLLAPSERESET);
    showNode(mainWindow, tree, node, static_cast<TreeTag>(change->itemNew.lParam));
}

void selectionChanged(HWND mainWindow, HWND tree, const NMTREEVIEWA* change)
{
    HTREEITEM node = change->itemNew.hItem;
    TreeTag tag = 0;
    if (!node || !readNode(tree, node, nullptr, 0, &tag)) {
        appState.selectedItem = 0;
        return;
    }
    appState.selectedItem = isItemTag(tag) ? tagNumber(tag) : 0;
    enableUnitButtons(mainWindow, !liveCalculatorWindow() && !isItemTag(tag));
    showNode(mainWindow, tree, node, tag);
}

// The node under the mouse, when the mouse is on its icon, label or state icon.
HTREEITEM nodeUnderMouse(HWND tree)
{
    TVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(tree, &hit.pt);
    HTREEITEM node = TreeView_HitTest(tree, &hit);
    return (hit.flags & TVHT_ONITEM) ? node : nullptr;
}

bool selectedIsItem(HWND tree)
{
    TreeTag tag = 0;
    HTREEITEM selected = TreeView_GetSelection(tree);
    return selected && readNode(tree, selected, nullptr, 0, &tag) && isItemTag(tag);
}

void showItemMenu(HWND mainWindow, HWND tree)
{
    HTREEITEM node = nodeUnderMouse(tree);
    if (!node)
        return;
    TreeView_SelectItem(tree, node);
    TreeTag tag = 0;
    if (!readNode(tree, node, nullptr, 0, &tag) || !isItemTag(tag))
        return;
    SetForegroundWindow(mainWindow);
    HMENU menu = LoadMenuA(appState.instance, "FLOATPOPUP");
    if (!menu)
        return;
    POINT at;
    GetCursorPos(&at);
    const int chosen = TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                      at.x, at.y, 0, mainWindow, nullptr);
    PostMessageA(mainWindow, WM_NULL, 0, 0);
    DestroyMenu(menu);
    PostMessageA(mainWindow, WM_COMMAND, chosen, 0);
}

}  // namespace

LRESULT onTreeNotify(HWND mainWindow, NMHDR* header)
{
    HWND tree = header->hwndFrom;
    switch (header->code) {
    case TVN_KEYDOWN:
        if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey == VK_F1)
            htmlHelp(mainWindow, appState.helpFile, HH_HELP_CONTEXT, 0);
        return 0;
    case TVN_ITEMEXPANDINGA:
        expandFolder(tree, reinterpret_cast<NMTREEVIEWA*>(header));
        return 0;
    case TVN_ITEMEXPANDEDA:
        collapseFolder(mainWindow, tree, reinterpret_cast<NMTREEVIEWA*>(header));
        return 0;
    case TVN_SELCHANGEDA:
        selectionChanged(mainWindow, tree, reinterpret_cast<NMTREEVIEWA*>(header));
        return 0;
    case NM_RCLICK:
        showItemMenu(mainWindow, tree);
        return 0;
    case NM_RETURN:
        if (selectedIsItem(tree))
            SendMessageA(mainWindow, WM_COMMAND, CMD_FORMULA, 0);
        return 0;
    case NM_DBLCLK:
        if (nodeUnderMouse(tree) && selectedIsItem(tree))
            SendMessageA(mainWindow, WM_COMMAND, CMD_FORMULA, 0);
        return 0;
    }
    return 0;
}

namespace {

// The child of node that holds the record. Labels are not unique (two items
// of one folder may differ only in case); the tag names the node.
HTREEITEM childHolding(HWND tree, HTREEITEM node, const NodeRecord& record)
{
    const TreeTag wanted = record.kind == Item ? itemTag(record.id) : folderTag(record.folderId);
    for (HTREEITEM child = TreeView_GetChild(tree, node); child;
         child = TreeView_GetNextSibling(tree, child)) {
        TreeTag tag = 0;
        if (readNode(tree, child, nullptr, 0, &tag) && tag == wanted)
            return child;
    }
    return nullptr;
}

}  // namespace

void locateInTree(HWND tree, const LocatePath& path)
{
    const int capacity = static_cast<int>(sizeof path.ids / sizeof path.ids[0]);
    int n = 0;
    while (n < capacity && path.ids[n] != 0)
        ++n;
    HTREEITEM node = TreeView_GetRoot(tree);
    if (!node)
        return;
    TreeView_SelectItem(tree, node);
    TreeView_Expand(tree, node, TVE_EXPAND);
    for (int k = n - 1; k >= 0; --k) {
        const NodeRecord* record = findNode(path.ids[k]);
        HTREEITEM child = record ? childHolding(tree, node, *record) : nullptr;
        if (!child)
            break;
        node = child;
        TreeView_Expand(tree, node, TVE_EXPAND);
    }
    TreeView_SelectItem(tree, node);
}

HTREEITEM insertTreeRoot(HWND tree)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>("Amianto");
    insert.item.lParam = RootFolderId;
    insert.item.iImage = ImageRoot;
    insert.item.iSelectedImage = ImageRoot;
    insert.item.cChildren = 1;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool selectedTreeTag(HWND mainWindow, DWORD* tag)
{
    HWND tree = GetDlgItem(mainWindow, IDC_TREE);
    HTREEITEM selected = tree ? TreeView_GetSelection(tree) : nullptr;
    TreeTag value = 0;
    if (!selected || !readNode(tree, selected, nullptr, 0, &value))
        return false;
    *tag = value;
    return true;
}
