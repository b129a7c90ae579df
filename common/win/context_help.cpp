// Help requests from right clicks, and the text popups that answer them.
#include "common/win/context_help.h"

#include "common/win/html_help.h"

BOOL contextHelpFromMenu(HWND dialog, HWND window, int x, int y, HelpHandler handler)
{
    HELPINFO request = {};
    request.cbSize = sizeof request;
    request.iContextType = HELPINFO_WINDOW;
    request.iCtrlId = GetDlgCtrlID(window);
    request.hItemHandle = window;
    request.MousePos.x = static_cast<WORD>(x);
    request.MousePos.y = static_cast<WORD>(y);
    return handler(dialog, &request);
}

int initHelpPopup(HWND, HH_POPUP* popup, const HELPINFO* request)
{
    ZeroMemory(popup, sizeof *popup);
    popup->cbStruct = sizeof *popup;
    popup->pt = request->MousePos;
    popup->clrForeground = static_cast<COLORREF>(-1);
    popup->clrBackground = static_cast<COLORREF>(-1);
    SetRect(&popup->rcMargins, -1, -1, -1, -1);
    return 0;
}

BOOL showControlHelp(HWND dialog, const HELPINFO* request, const ControlTextTable& table)
{
    HH_POPUP popup;
    initHelpPopup(dialog, &popup, request);
    if (const char* text = table.helpOf(request->iCtrlId)) {
        popup.pszText = text;
        htmlHelp(dialog, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
    }
    return TRUE;
}
