// The database tree: root insertion and MainWindow's notification handler.
#include "app/browse/tree_view.h"

#include <commctrl.h>

#include "app/database/database.h"
#include "app/resources/resource.h"

namespace {

const int ImageRoot = 19;

struct ToolbarTip {
    int command;
    const char* text;
};

const ToolbarTip ToolbarTips[] = {
    {CMD_APRI, "Apri..."},          {CMD_STAMPA, "Stampa..."},
    {CMD_COPIA, "Copia"},           {CMD_CERCA, "Cerca..."},
    {CMD_FORMULA, "Formula..."},    {CMD_INVERTI_LAYOUT, "Inverti layout"},
    {CMD_FF_CC, "fibre/cc"},        {CMD_FF_L, "fibre/litro"},
    {CMD_HELP, "Help"},             {CMD_INFORMAZIONI, "Informazioni..."},
};

LRESULT onToolbarTipText(NMTTDISPINFOA* info)
{
    for (const ToolbarTip& tip : ToolbarTips)
        if (static_cast<UINT_PTR>(tip.command) == info->hdr.idFrom)
            info->lpszText = const_cast<char*>(tip.text);
    return 1;
}

}  // namespace

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
    if (!selected)
        return false;
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = selected;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    *tag = static_cast<DWORD>(item.lParam);
    return true;
}

LRESULT onMainWindowNotify(HWND window, NMHDR* header)
{
    (void)window;
    switch (header->code) {
    case TTN_NEEDTEXTA:
        return onToolbarTipText(reinterpret_cast<NMTTDISPINFOA*>(header));
    }
    return 0;
}
