// Our help viewer layer as built: hhctrl.ocx in front of the system's HTML
// Help control, and hh.exe. Wine opens the viewer window ("HH Parent") and
// resolves context numbers but renders no page (no Gecko), and Wine 8 shows
// no text popup of its own: the tests assert what the layer guarantees and
// record what the platform does.
#include <windows.h>

#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win32/support/message_box_catcher.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
using SetControlFunction = void(WINAPI*)(const char*);

// The build's content folder as a Windows path (Wine maps the host's / to Z:).
std::string contentPath(const char* name)
{
    std::string path = std::string("Z:") + QUORVEL_CONTENT_DIR + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string classOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string textOf(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Wine loads its own builtin hhctrl.ocx for every hhctrl.ocx unless told to
// prefer the file that is there (a native DLL), as a Wine user of Quorvel
// sets it too. Windows ignores this key.
void preferTheLayerUnderWine()
{
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    static const char order[] = "native,builtin";
    RegSetValueExA(key, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    RegCloseKey(key);
}

class HelpLayer : public testing::Test {
protected:
    static void SetUpTestSuite() { preferTheLayerUnderWine(); }

    void SetUp() override
    {
        layer = LoadLibraryA(contentPath("hhctrl.ocx").c_str());
        ASSERT_NE(layer, nullptr) << "cannot load " << contentPath("hhctrl.ocx");
        htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(layer, "HtmlHelpA")));
        setControl = reinterpret_cast<SetControlFunction>(
            reinterpret_cast<void*>(GetProcAddress(layer, "QuorvelSetSystemHelpControl")));
        ASSERT_NE(htmlHelp, nullptr);
        ASSERT_NE(setControl, nullptr);
        ASSERT_NE(GetProcAddress(layer, "HtmlHelpW"), nullptr);
        setControl(nullptr);
        chm = contentPath("Quorvel.chm");
    }

    void TearDown() override
    {
        if (htmlHelp) htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
        pumpMessages();
        if (setControl) setControl(nullptr);
        if (layer) FreeLibrary(layer);
    }

    HH_POPUP popupAt(int x, int y, const char* text)
    {
        HH_POPUP popup = {};
        popup.cbStruct = sizeof popup;
        popup.pt.x = x;
        popup.pt.y = y;
        popup.clrForeground = static_cast<COLORREF>(-1);
        popup.clrBackground = static_cast<COLORREF>(-1);
        SetRect(&popup.rcMargins, -1, -1, -1, -1);
        popup.pszText = text;
        return popup;
    }

    HMODULE layer = nullptr;
    HtmlHelpFunction htmlHelp = nullptr;
    SetControlFunction setControl = nullptr;
    std::string chm;
};

TEST_F(HelpLayer, EveryContextNumberOfTheProgramsOpensTheViewer)
{
    // 0: F1 in the tree; 100100 main window; 100690 calculator; 100790
    // search; 115860 the "Bibliografia" shortcut.
    static const DWORD contexts[] = {0, 100100, 100690, 100790, 115860};
    for (DWORD context : contexts) {
        SCOPED_TRACE(context);
        HWND window = htmlHelp(nullptr, chm.c_str(), HH_HELP_CONTEXT, context);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(classOf(window), "HH Parent");
        EXPECT_EQ(textOf(window), "Guida di Quorvel");
        htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
        pumpMessages();
    }
}

TEST_F(HelpLayer, UnknownContextNumberIsLeftToThePlatform)
{
    HWND window = htmlHelp(nullptr, chm.c_str(), HH_HELP_CONTEXT, 424242);
    RecordProperty("unknown_context_window", window ? "yes" : "no");
    if (window) {
        EXPECT_TRUE(IsWindow(window));
    }
}

TEST_F(HelpLayer, TextPopupIsShownAtThePointAndClosedByAKeyOrAClick)
{
    static const char text[] = "Digitare in questa casella di testo la stringa di ricerca.\r\nSeconda riga.";
    struct Closing {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    static const Closing closings[] = {
        {"key", WM_KEYDOWN, VK_ESCAPE},
        {"click", WM_LBUTTONDOWN, MK_LBUTTON},
        {"right click", WM_RBUTTONDOWN, MK_RBUTTON},
    };
    for (const Closing& closing : closings) {
        SCOPED_TRACE(closing.what);
        HH_POPUP popup = popupAt(300, 200, text);
        HWND window = htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
        ASSERT_NE(window, nullptr);
        RecordProperty("popup_class", classOf(window));
        ASSERT_TRUE(IsWindowVisible(window));
        RECT frame;
        GetWindowRect(window, &frame);
        // Centred under the point, and big enough for two lines.
        EXPECT_LE(frame.left, 300);
        EXPECT_GE(frame.right, 300);
        EXPECT_EQ(frame.top, 200);
        EXPECT_GT(frame.bottom - frame.top, 20);
        if (classOf(window) == "QuorvelHelpPopup") {
            EXPECT_EQ(textOf(window), text);
            SendMessageA(window, closing.message, closing.wParam, 0);
            pumpMessages();
            EXPECT_FALSE(IsWindow(window));
        } else {
            DestroyWindow(window);
        }
    }
}

TEST_F(HelpLayer, ANewPopupReplacesTheOpenOne)
{
    HH_POPUP first = popupAt(100, 100, "Prima spiegazione");
    HH_POPUP second = popupAt(200, 150, "Seconda spiegazione");
    HWND one = htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&first));
    HWND two = htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&second));
    ASSERT_NE(two, nullptr);
    if (classOf(two) != "QuorvelHelpPopup") GTEST_SKIP() << "the system control shows its own popups";
    pumpMessages();
    EXPECT_FALSE(IsWindow(one));
    EXPECT_TRUE(IsWindow(two));
    DestroyWindow(two);
}

TEST_F(HelpLayer, PopupWithoutTextShowsNothing)
{
    HH_POPUP empty = popupAt(100, 100, "");
    HH_POPUP none = popupAt(100, 100, nullptr);
    setControl("Z:\\nessun\\controllo\\hhctrl.ocx");
    EXPECT_EQ(htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&empty)), nullptr);
    EXPECT_EQ(htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&none)), nullptr);
    EXPECT_EQ(htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, 0), nullptr);
}

TEST_F(HelpLayer, WithoutASystemControlHelpWindowsGetAMessageAndPopupsStillWork)
{
    struct Case {
        const char* what;
        std::string controlPath;
    };
    // Pointing the layer at itself is the case of a layer that is the only
    // hhctrl.ocx around: it must neither call itself nor hang.
    const Case cases[] = {
        {"missing control", "Z:\\nessun\\controllo\\hhctrl.ocx"},
        {"only this layer", contentPath("hhctrl.ocx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setControl(c.controlPath.c_str());
        {
            MessageBoxCatcher catcher(IDOK);
            EXPECT_EQ(htmlHelp(nullptr, chm.c_str(), HH_HELP_CONTEXT, 100690), nullptr);
            EXPECT_EQ(htmlHelp(nullptr, chm.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
            ASSERT_EQ(catcher.caught().size(), 2u);
            EXPECT_EQ(catcher.caught()[0].caption, "Guida di Quorvel");
            EXPECT_NE(catcher.caught()[0].text.find("manca il controllo HTML Help"), std::string::npos);
        }
        {
            MessageBoxCatcher catcher(IDOK);
            EXPECT_EQ(htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0), nullptr);
            EXPECT_TRUE(catcher.caught().empty());
        }
        HH_POPUP popup = popupAt(150, 150, "Spiegazione del controllo.");
        HWND window = htmlHelp(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(classOf(window), "QuorvelHelpPopup");
        DestroyWindow(window);
    }
}

// --- hh.exe ---------------------------------------------------------------------

struct WindowSearch {
    DWORD process;
    const char* windowClass;
    HWND found;
};

BOOL CALLBACK findWindowOfProcess(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && classOf(window) == search->windowClass && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForWindow(DWORD process, const char* windowClass, DWORD milliseconds)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        WindowSearch search = {process, windowClass, nullptr};
        EnumWindows(findWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
}

struct Started {
    PROCESS_INFORMATION process = {};
    bool ok = false;
};

Started startViewer(const std::string& arguments)
{
    std::string commandLine = "\"" + contentPath("hh.exe") + "\" " + arguments;
    std::string folder = contentPath("");
    Started started;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started.ok = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                &startup, &started.process) != 0;
    return started;
}

DWORD finish(Started& started, DWORD milliseconds)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(started.process.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(started.process.hProcess, &code);
    else
        TerminateProcess(started.process.hProcess, 99);
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
    return code;
}

TEST(HelpViewer, OpensTheBibliographyLikeTheShortcutAndEndsWhenTheWindowCloses)
{
    preferTheLayerUnderWine();
    // The shortcut passes the full path without quotes; the names here have
    // no blanks, so a relative name from the content folder is tried as well.
    const std::string arguments[] = {"-mapid 115860 " + contentPath("Quorvel.chm"), "-MAPID 100690 Quorvel.chm",
                                     "Quorvel.chm"};
    for (const std::string& argument : arguments) {
        SCOPED_TRACE(argument);
        Started viewer = startViewer(argument);
        ASSERT_TRUE(viewer.ok);
        HWND window = waitForWindow(viewer.process.dwProcessId, "HH Parent", 15000);
        EXPECT_NE(window, nullptr);
        // Still running while its window is open.
        EXPECT_EQ(WaitForSingleObject(viewer.process.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT));
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(finish(viewer, 15000), 0u);
    }
}

TEST(HelpViewer, MissingFileOrNameGetsAMessageAndAnErrorCode)
{
    struct Case {
        const char* arguments;
        DWORD code;
    };
    static const Case cases[] = {
        {"-mapid 115860 NonEsiste.chm", 1},
        {"", 2},
        {"-mapid", 2},
        {"-mapid dodici Quorvel.chm", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        Started viewer = startViewer(c.arguments);
        ASSERT_TRUE(viewer.ok);
        HWND box = waitForWindow(viewer.process.dwProcessId, "#32770", 15000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(textOf(box), "Guida di Quorvel");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(finish(viewer, 15000), c.code);
    }
}

}  // namespace
