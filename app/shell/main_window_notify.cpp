// MainWindow's WM_NOTIFY routing: the toolbar's tooltip texts here, the
// tree's notifications to the tree.
#include "app/shell/main_window.h"

#include <commctrl.h>

#include "app/browse/tree_view.h"
#include "app/resources/resource.h"

namespace {

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

LRESULT onMainWindowNotify(HWND window, NMHDR* header)
{
    if (header->code == TTN_NEEDTEXTA)
        return onToolbarTipText(reinterpret_cast<NMTTDISPINFOA*>(header));
    if (header->idFrom == IDC_TREE)
        return onTreeNotify(window, header);
    return 0;
}
