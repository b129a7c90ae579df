// Splash window: a 640 x 480 picture that closes with a sweep of tiles.
#include "app/shell/splash.h"

#include "app/resources/resource.h"

namespace {

const char SplashClass[] = "Quorvel_Splash";
const UINT_PTR SplashTimer = 2;
const int SplashWidth = 640;
const int SplashHeight = 480;

HBITMAP pictureOf(HWND window)
{
    return reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void paintSplash(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HBITMAP picture = pictureOf(window);
    if (picture) {
        BITMAP info;
        GetObjectA(picture, sizeof info, &info);
        RECT client;
        GetClientRect(window, &client);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, picture);
        StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(window, &ps);
}

// Slanted blocks of tiles sweep from the bottom-right corner to the top-left,
// then the window goes.
void splashEffect(HWND window)
{
    KillTimer(window, SplashTimer);
    RECT client;
    GetClientRect(window, &client);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    HDC dc = GetDC(window);
    HBITMAP tile = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_ANT));
    if (dc && tile) {
        BITMAP info;
        GetObjectA(tile, sizeof info, &info);
        const int tw = info.bmWidth;
        const int th = info.bmHeight;
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, tile);
        for (int i = 1; i <= 19; ++i) {
            const int x0 = client.right - tw * i;
            const int y0 = client.bottom - th * i;
            for (int j = -5; j <= 4; ++j) {
                BitBlt(dc, x0 + j * tw, y0 + j * th, tw, th, memory, 0, 0, MERGECOPY);
                for (int k = -5; k <= 4; ++k)
                    BitBlt(dc, x0 + (j + k) * tw, y0 + j * th, tw, th, memory, 0, 0, MERGECOPY);
            }
            GdiFlush();
            Sleep(50);
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        }
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (tile)
        DeleteObject(tile);
    if (dc)
        ReleaseDC(window, dc);
    DestroyWindow(window);
}

LRESULT onCreate(HWND window, const CREATESTRUCTA* create)
{
    const UINT milliseconds = static_cast<UINT>(reinterpret_cast<UINT_PTR>(create->lpCreateParams));
    if (!SetTimer(window, SplashTimer, milliseconds, nullptr)) {
        DestroyWindow(window);
        return 0;
    }
    HBITMAP picture = LoadBitmapA(create->hInstance, "QUORVEL");
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture));
    return 0;
}

LRESULT onDestroy(HWND window)
{
    KillTimer(window, SplashTimer);
    if (HBITMAP picture = pictureOf(window)) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DeleteObject(picture);
    }
    return 0;
}

LRESULT CALLBACK splashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_PAINT:
        paintSplash(window);
        return 0;
    case WM_TIMER:
        if (wParam == SplashTimer)
            splashEffect(window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        splashEffect(window);
        return 0;
    case WM_DESTROY:
        return onDestroy(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

BOOL showSplash(HINSTANCE instance, HWND owner, UINT milliseconds)
{
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, SplashClass, &existing)) {
        WNDCLASSA splash = {};
        splash.lpfnWndProc = splashProc;
        splash.hInstance = instance;
        splash.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        splash.lpszClassName = SplashClass;
        if (!RegisterClassA(&splash))
            return 0;
    }
    const int x = (GetSystemMetrics(SM_CXSCREEN) - SplashWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - SplashHeight) / 2;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, SplashClass, nullptr,
                                  WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                                  SplashWidth, SplashHeight, owner, nullptr, instance,
                                  reinterpret_cast<void*>(static_cast<UINT_PTR>(milliseconds)));
    if (!window || !IsWindow(window))
        return 0;
    return UpdateWindow(window);
}
