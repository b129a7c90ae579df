// The description panel: a header band with the node's image and path, and
// the node's text on a light yellow ground.
#include "app/shell/description_panel.h"

#include "app/resources/resource.h"
#include "app/shell/main_window.h"

namespace {

const COLORREF PanelBackground = RGB(255, 255, 226);
const COLORREF TitleColour = RGB(0, 0, 127);
const int StripWidth = 416;
const int StripHeight = 15;

HFONT createVerdana(HDC dc, int points)
{
    const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "Verdana");
}

void drawHeaderImage(HWND window, HDC dc, int imageIndex)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    // LR_LOADTRANSPARENT turns the first pixel's colour into the window colour.
    HBITMAP strip = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_STRIP),
                                                    IMAGE_BITMAP, StripWidth, StripHeight,
                                                    LR_LOADTRANSPARENT));
    if (!strip)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, strip);
    StretchBlt(dc, 4, 4, 32, 30, memory, 16 * imageIndex, 0, 16, 15, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(strip);
}

void paintPanel(HWND window)
{
    PanelContent* content = panelContent(window);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!content) {
        EndPaint(window, &ps);
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(PanelBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);

    RECT body = client;
    InflateRect(&body, -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
    SetMapMode(dc, MM_TEXT);
    SetBkMode(dc, TRANSPARENT);

    HFONT titleFont = createVerdana(dc, 12);
    HGDIOBJ oldFont = SelectObject(dc, titleFont);
    SetTextColor(dc, TitleColour);
    const UINT titleFormat = DT_LEFT | DT_TOP | DT_WORDBREAK;
    RECT title = client;
    title.left += GetSystemMetrics(SM_CXFRAME) + 40;
    int h = DrawTextA(dc, content->title, -1, &title, titleFormat | DT_CALCRECT);

    RECT band = {client.left, client.top, client.right, client.top + h + 20};
    FillRect(dc, &band, GetSysColorBrush(COLOR_WINDOW));
    drawHeaderImage(window, dc, content->imageIndex);

    title = client;
    title.left += GetSystemMetrics(SM_CXFRAME) + 40;
    h = DrawTextA(dc, content->title, -1, &title, titleFormat | DT_CALCRECT);
    title.bottom = h + 20;
    DrawTextA(dc, content->title, -1, &title, titleFormat);
    SelectObject(dc, oldFont);
    DeleteObject(titleFont);

    body.top += h + 20;
    HFONT bodyFont = createVerdana(dc, 10);
    oldFont = SelectObject(dc, bodyFont);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, content->text, -1, &body, DT_LEFT | DT_TOP | DT_WORDBREAK);
    SelectObject(dc, oldFont);
    DeleteObject(bodyFont);
    EndPaint(window, &ps);
}

void showPanelMenu(HWND panel)
{
    SetForegroundWindow(GetAncestor(panel, GA_ROOT));
    POINT at;
    GetCursorPos(&at);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(panel, GWLP_HINSTANCE));
    HMENU menu = LoadMenuA(instance, "FLOATPOPUP");
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    ModifyMenuA(popup, CMD_COPIA, MF_BYCOMMAND | MF_STRING, CMD_INVERTI_LAYOUT, "Inverti layout");
    const int chosen = TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, panel, nullptr);
    PostMessageA(panel, WM_NULL, 0, 0);
    DestroyMenu(menu);
    PostMessageA(panel, WM_COMMAND, chosen, 0);
}

LRESULT onCreate(HWND window)
{
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(PanelContent));
    void* content = memory ? GlobalLock(memory) : nullptr;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(content));
    return 0;
}

LRESULT onDestroy(HWND window)
{
    void* content = panelContent(window);
    SetWindowLongPtrA(window, 0, 0);
    if (content) {
        HGLOBAL memory = GlobalHandle(content);
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK descriptionPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy(window);
    case WM_PAINT:
        paintPanel(window);
        return 0;
    case WM_RBUTTONUP:
        showPanelMenu(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_INVERTI_LAYOUT)
            invertLayout(GetParent(window));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createDescriptionPanel(HWND parent, int childId, const RECT& area)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    return CreateWindowExA(0, PanelWindowClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                           area.left, area.top, area.right - area.left, area.bottom - area.top,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance,
                           nullptr);
}
