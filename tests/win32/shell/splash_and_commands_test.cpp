// The splash window, the about box, dropped files and the panel's context
// menu of the real main window.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/resources/resource.h"
#include "app/shell/description_panel.h"
#include "app/shell/main_window.h"
#include "app/shell/splash.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "tests/win32/support/main_window_fixture.h"

namespace {

HWND findSplash()
{
    return FindWindowA("Quorvel_Splash", nullptr);
}

// A drop of the given NUL-separated names, as the shell hands it over.
HDROP makeDrop(const std::string& names)
{
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class ShellTest : public WithMainWindow {
protected:
    void beforeStart() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quorvel");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Quorvel");
    }
    void TearDown() override
    {
        while (HWND splash = findSplash())
            DestroyWindow(splash);
        WithMainWindow::TearDown();
    }
    bool formulaPosted(std::string* name)
    {
        MSG message;
        if (!PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            return false;
        EXPECT_EQ(LOWORD(message.wParam), CMD_FORMULA);
        *name = reinterpret_cast<const char*>(message.lParam);
        return true;
    }
};

TEST(Splash, ClosesItselfAfterItsTimeWithTheSweep)
{
    ASSERT_TRUE(showSplash(GetModuleHandleA(nullptr), nullptr, 100));
    HWND splash = findSplash();
    ASSERT_NE(splash, nullptr);
    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 640) / 2);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const DWORD start = GetTickCount();
    while (IsWindow(splash) && GetTickCount() - start < 5000)
        pumpMessages(20);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_GE(GetTickCount() - start, 900u);  // 19 steps of 50 ms
}

TEST(Splash, PictureIs640By480WithItsTitleBand)
{
    HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), "QUORVEL");
    ASSERT_NE(picture, nullptr);
    BITMAP info;
    ASSERT_TRUE(GetObjectA(picture, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 640);
    EXPECT_EQ(info.bmHeight, 480);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, picture);
    EXPECT_EQ(GetPixel(memory, 4, 4), RGB(0, 0, 128));        // navy title band
    EXPECT_NE(GetPixel(memory, 4, 470), RGB(0, 0, 128));      // the lower part is not
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
}

TEST(Splash, AClickEndsItAtOnce)
{
    ASSERT_TRUE(showSplash(GetModuleHandleA(nullptr), nullptr, 60000));
    HWND splash = findSplash();
    ASSERT_NE(splash, nullptr);
    SendMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(IsWindow(splash));
}

TEST_F(ShellTest, SplashStaysAboveTheMainWindow)
{
    ASSERT_TRUE(showSplash(GetModuleHandleA(nullptr), nullptr, 60000));
    HWND splash = findSplash();
    ASSERT_NE(splash, nullptr);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    pumpMessages();
    RECT r;
    GetWindowRect(splash, &r);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_EQ(GetAncestor(WindowFromPoint(centre), GA_ROOT), splash);
}

TEST_F(ShellTest, AboutBoxShowsTheVersionAndTheSplash)
{
    MessageBoxCatcher catcher(IDOK);
    SendMessageA(window, WM_COMMAND, CMD_INFORMAZIONI, 0);
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].caption, "Quorvel - versione 2.02");
    EXPECT_EQ(catcher.caught()[0].text.rfind("Progetto Quorvel\r\n", 0), 0u);
    EXPECT_NE(catcher.caught()[0].text.find("dimostrativo"), std::string::npos);
    HWND splash = findSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(GetWindow(splash, GW_OWNER), window);
}

TEST_F(ShellTest, OneDroppedCalculationFileOpensInTheCalculator)
{
    std::string name;
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(std::string("C:\\calcoli\\Prova.QVL") + '\0')), 0);
    ASSERT_TRUE(formulaPosted(&name));
    EXPECT_EQ(name, "C:\\calcoli\\Prova.QVL");

    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(std::string("C:\\leggimi.txt") + '\0')), 0);
    EXPECT_FALSE(formulaPosted(&name));

    const std::string two = std::string("C:\\a.qvl") + '\0' + "C:\\b.qvl" + '\0';
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(two)), 0);
    EXPECT_FALSE(formulaPosted(&name));
}

// Chooses the first entry of the popup menu that the panel tracks.
void CALLBACK chooseFirstMenuEntry(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (HWND menu = FindWindowA("#32768", nullptr)) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }
}

TEST_F(ShellTest, PanelMenuInvertsTheLayout)
{
    HWND panel = GetDlgItem(window, IDC_PANEL);
    HWND tree = GetDlgItem(window, IDC_TREE);
    RECT before;
    GetWindowRect(panel, &before);
    SetTimer(nullptr, 0, 300, chooseFirstMenuEntry);
    SendMessageA(panel, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    pumpMessages(200);
    RECT panelAfter, treeAfter;
    GetWindowRect(panel, &panelAfter);
    GetWindowRect(tree, &treeAfter);
    EXPECT_LT(treeAfter.top, panelAfter.top);
    EXPECT_GT(panelAfter.top, before.top);
}

// The title as the panel wraps it: Verdana 12 in the width right of the image.
int wrappedTitleHeight(HWND panel, const std::string& title)
{
    HDC dc = GetDC(panel);
    HFONT font = CreateFontA(-MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_DONTCARE, FALSE,
                             FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Verdana");
    HGDIOBJ old = SelectObject(dc, font);
    RECT r;
    GetClientRect(panel, &r);
    r.left += GetSystemMetrics(SM_CXFRAME) + 40;
    const int height = DrawTextA(dc, title.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_CALCRECT);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(panel, dc);
    return height / metrics.tmHeight == 3 && height % metrics.tmHeight == 0 ? height : -height;
}

TEST_F(ShellTest, HeaderBandFollowsAThreeLineTitle)
{
    HWND panel = GetDlgItem(window, IDC_PANEL);
    PanelContent* content = panelContent(panel);
    ASSERT_NE(content, nullptr);
    std::string title = "Amianto";
    int height = 0;
    while (title.size() < 1500 && (height = wrappedTitleHeight(panel, title)) <= 0)
        title += "->Cartella";
    ASSERT_GT(height, 0) << "no title of exactly three lines";
    std::memcpy(content->title, title.c_str(), title.size() + 1);
    std::snprintf(content->text, sizeof content->text, "%s", "Concentrazione:   0.0570 ff/cc");
    content->imageIndex = 20;
    InvalidateRect(panel, nullptr, FALSE);
    ASSERT_TRUE(UpdateWindow(panel));

    HDC dc = GetDC(panel);
    RECT client;
    GetClientRect(panel, &client);
    const COLORREF windowColour = GetSysColor(COLOR_WINDOW);
    const COLORREF yellow = RGB(255, 255, 226);
    // Down the right edge: window colour for the band, then the yellow body.
    // (The first rows may lie under the toolbar's lower border.)
    int bandBottom = -1;
    for (int y = 4; y < client.bottom; ++y) {
        if (GetPixel(dc, client.right - 2, y) != windowColour) {
            bandBottom = y;
            break;
        }
    }
    EXPECT_EQ(bandBottom, height + 20);
    EXPECT_EQ(GetPixel(dc, client.right - 2, bandBottom), yellow);
    EXPECT_EQ(GetPixel(dc, client.right / 2, client.bottom - 3), yellow);
    // The doubled image (32 x 30 at 4, 4) holds the item's red lines.
    int red = 0;
    for (int y = 4; y < 34; ++y)
        for (int x = 4; x < 36; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            red += GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80;
        }
    EXPECT_GT(red, 8);
    EXPECT_EQ(GetPixel(dc, 2, 6), windowColour);
    ReleaseDC(panel, dc);
}

}  // namespace
