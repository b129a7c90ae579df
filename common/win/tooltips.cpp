// The shared tooltip window and its mouse-move relay.
#include "common/win/tooltips.h"

#include <commctrl.h>

ToolTipState toolTips;

namespace {

LRESULT CALLBACK relayMouseMove(int code, WPARAM flag, LPARAM message)
{
    const MSG* msg = reinterpret_cast<const MSG*>(message);
    if (code >= 0 && msg && msg->message == WM_MOUSEMOVE && toolTips.tooltipWindow &&
        toolTips.toolOwner && IsChild(toolTips.toolOwner, msg->hwnd)) {
        SendMessageA(toolTips.tooltipWindow, TTM_RELAYEVENT, 0, message);
        return 1;
    }
    return CallNextHookEx(toolTips.messageHook, code, flag, message);
}

TOOLINFOA toolFor(HWND control)
{
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;  // the 44-byte record every comctl32 accepts
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = toolTips.toolOwner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return tool;
}

BOOL CALLBACK addControlTool(HWND window, LPARAM)
{
    char className[64];
    if (GetClassNameA(window, className, sizeof className) && lstrcmpiA(className, "STATIC") == 0)
        return TRUE;
    TOOLINFOA tool = toolFor(window);
    SendMessageA(toolTips.tooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return TRUE;
}

void removeAllTools()
{
    for (;;) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        if (!SendMessageA(toolTips.tooltipWindow, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)))
            break;
        SendMessageA(toolTips.tooltipWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace

HWND createToolTips(HWND mainWindow)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    toolTips.tooltipWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                             TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                             instance, nullptr);
    if (toolTips.tooltipWindow)
        toolTips.messageHook =
            SetWindowsHookExA(WH_GETMESSAGE, relayMouseMove, nullptr, GetCurrentThreadId());
    return toolTips.tooltipWindow;
}

void destroyToolTips()
{
    if (toolTips.messageHook)
        UnhookWindowsHookEx(toolTips.messageHook);
    if (toolTips.tooltipWindow)
        DestroyWindow(toolTips.tooltipWindow);
    toolTips = ToolTipState{};
}

HWND setToolOwner(HWND window)
{
    HWND previous = toolTips.toolOwner;
    toolTips.toolOwner = window;
    return previous;
}

void registerDialogTools(HWND dialog)
{
    if (!toolTips.tooltipWindow)
        return;
    setToolOwner(dialog);
    removeAllTools();
    EnumChildWindows(dialog, addControlTool, 0);
}

const char* ControlTextTable::toolTipOf(int controlId) const
{
    for (size_t i = 0; i < count; ++i)
        if (rows[i].controlId == controlId)
            return rows[i].toolTip;
    return nullptr;
}

const char* ControlTextTable::helpOf(int controlId) const
{
    for (size_t i = 0; i < count; ++i)
        if (rows[i].controlId == controlId)
            return rows[i].help;
    return nullptr;
}

INT_PTR answerToolTip(NMHDR* header, const ControlTextTable& table)
{
    if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW)
        return FALSE;
    const char* text = table.toolTipOf(GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
    if (!text)
        return FALSE;
    if (header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(text);
    } else {
        static WCHAR wide[256];
        if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 256))
            wide[0] = 0;
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = wide;
    }
    return TRUE;
}
