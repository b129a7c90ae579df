// The real MainWindow created in-process: title, toolbar, tree root, layout
// stored in the registry, single instance and files named at start-up.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "tests/win32/support/import_patch.h"
#include "tests/win32/support/main_window_fixture.h"

namespace {

const char LayoutKey[] = "Software\\Quorvel";
// Where Windows put the machine-wide write of a program without a manifest.
const char VirtualStoreKey[] = "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Quorvel";

bool readLayout(DWORD* value, HKEY root = HKEY_CURRENT_USER)
{
    HKEY key;
    if (RegOpenKeyExA(root, LayoutKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof *value;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, "Layout", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == 4;
}

RECT screenRect(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

class MainWindowTest : public WithMainWindow {
protected:
    void beforeStart() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, LayoutKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, VirtualStoreKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, LayoutKey);
    }
};

TEST_F(MainWindowTest, TitleComesFromTheVersionBlock)
{
    char title[64];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Quorvel");

    char version[64];
    ASSERT_EQ(getVersionString(window, 2, version, sizeof version), 1);
    EXPECT_STREQ(version, "2.02");
    char tooSmall[4];
    EXPECT_EQ(getVersionString(window, 1, tooSmall, sizeof tooSmall), 0);  // "Quorvel" + NUL needs 8
    EXPECT_EQ(getVersionString(window, 6, version, sizeof version), 0);
}

TEST_F(MainWindowTest, ToolbarHasItsThirteenEntries)
{
    struct Expected {
        int image, command;
        BYTE style;
    } expected[] = {
        {1, CMD_APRI, TBSTYLE_BUTTON},           {3, CMD_STAMPA, TBSTYLE_BUTTON},
        {0, 0, TBSTYLE_SEP},                     {5, CMD_COPIA, TBSTYLE_BUTTON},
        {0, 0, TBSTYLE_SEP},                     {22, CMD_CERCA, TBSTYLE_BUTTON},
        {23, CMD_FORMULA, TBSTYLE_BUTTON},       {10, CMD_INVERTI_LAYOUT, TBSTYLE_BUTTON},
        {11, CMD_FF_CC, TBSTYLE_CHECK},          {12, CMD_FF_L, TBSTYLE_CHECK},
        {0, 0, TBSTYLE_SEP},                     {14, CMD_HELP, TBSTYLE_BUTTON},
        {25, CMD_INFORMAZIONI, TBSTYLE_BUTTON},
    };
    HWND toolbar = GetDlgItem(window, IDC_TOOLBAR);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 13);
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.fsStyle, expected[i].style);
        if (expected[i].style != TBSTYLE_SEP) {
            EXPECT_EQ(button.idCommand, expected[i].command);
            EXPECT_EQ(button.iBitmap, expected[i].image);
            EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
        }
    }
    EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_FF_CC, 0));
    EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_FF_L, 0));
}

TEST_F(MainWindowTest, TreeHoldsOnlyTheSelectedRoot)
{
    HWND tree = GetDlgItem(window, IDC_TREE);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(TreeView_GetCount(tree), 1u);
    HTREEITEM root = TreeView_GetRoot(tree);
    char label[64] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    item.hItem = root;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(label, "Amianto");
    EXPECT_EQ(item.lParam, 1);
    EXPECT_EQ(item.iImage, 19);
    EXPECT_EQ(item.iSelectedImage, 19);
    EXPECT_EQ(item.cChildren, 1);
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_NE(TreeView_GetImageList(tree, TVSIL_NORMAL), nullptr);
}

TEST_F(MainWindowTest, LayoutIsStoredAndInverted)
{
    HWND tree = GetDlgItem(window, IDC_TREE);
    HWND panel = GetDlgItem(window, IDC_PANEL);
    ASSERT_NE(panel, nullptr);

    DWORD value = 99;
    ASSERT_TRUE(readLayout(&value));
    EXPECT_EQ(value, 0u);
    EXPECT_LT(screenRect(panel).top, screenRect(tree).top);

    SendMessageA(window, WM_COMMAND, CMD_INVERTI_LAYOUT, 0);
    ASSERT_TRUE(readLayout(&value));
    EXPECT_EQ(value, 1u);
    EXPECT_LT(screenRect(tree).top, screenRect(panel).top);

    SendMessageA(window, WM_COMMAND, CMD_INVERTI_LAYOUT, 0);
    ASSERT_TRUE(readLayout(&value));
    EXPECT_EQ(value, 0u);
    EXPECT_LT(screenRect(panel).top, screenRect(tree).top);
    EXPECT_FALSE(readLayout(&value, HKEY_LOCAL_MACHINE)) << "the machine's key was written";
}

// A standard user under UAC: every opening of HKLM for writing is refused,
// through the program's own imports.
using CreateKeyFunction = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                                        LPDWORD);
using OpenKeyFunction = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
CreateKeyFunction realCreateKey;
OpenKeyFunction realOpenKey;
int machineWrites;

LONG WINAPI deniedCreateKey(HKEY root, LPCSTR name, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                            LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition)
{
    if (root == HKEY_LOCAL_MACHINE) {
        ++machineWrites;
        return ERROR_ACCESS_DENIED;
    }
    return realCreateKey(root, name, reserved, keyClass, options, access, security, key, disposition);
}

LONG WINAPI deniedOpenKey(HKEY root, LPCSTR name, DWORD options, REGSAM access, PHKEY key)
{
    if (root == HKEY_LOCAL_MACHINE && (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE))) {
        ++machineWrites;
        return ERROR_ACCESS_DENIED;
    }
    return realOpenKey(root, name, options, access, key);
}

// The value an earlier version left, written past the refusals below.
void storeEarlierLayout(HKEY root, const char* path, DWORD value)
{
    HKEY key;
    ASSERT_EQ(realCreateKey(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, "Layout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

// The machine-wide value of earlier versions, and a user who may not write it.
class StandardUserLayoutTest : public MainWindowTest {
protected:
    void beforeStart() override
    {
        MainWindowTest::beforeStart();
        machineWrites = 0;
        realCreateKey = replaceImport("advapi32.dll", "RegCreateKeyExA", deniedCreateKey);
        realOpenKey = replaceImport("advapi32.dll", "RegOpenKeyExA", deniedOpenKey);
        ASSERT_NE(realCreateKey, nullptr);
        storeEarlierLayout(HKEY_LOCAL_MACHINE, LayoutKey, 1);
    }
    void TearDown() override
    {
        replaceImport("advapi32.dll", "RegCreateKeyExA", realCreateKey);
        replaceImport("advapi32.dll", "RegOpenKeyExA", realOpenKey);
        MainWindowTest::TearDown();
        MainWindowTest::beforeStart();
    }
};

TEST_F(StandardUserLayoutTest, MachineValueIsTheStartAndTheUsersKeyTakesTheChanges)
{
    HWND panel = GetDlgItem(window, IDC_PANEL);
    EXPECT_LT(screenRect(tree).top, screenRect(panel).top);
    DWORD value = 99;
    ASSERT_TRUE(readLayout(&value));
    EXPECT_EQ(value, 1u);

    // Read once: from now on the user's own value rules.
    SendMessageA(window, WM_COMMAND, CMD_INVERTI_LAYOUT, 0);
    EXPECT_LT(screenRect(panel).top, screenRect(tree).top);
    ASSERT_TRUE(readLayout(&value));
    EXPECT_EQ(value, 0u);
    ASSERT_TRUE(readLayout(&value, HKEY_LOCAL_MACHINE));
    EXPECT_EQ(value, 1u);

    // A user without a value of their own starts from what an earlier
    // version showed them: the VirtualStore copy before the machine's.
    MainWindowTest::beforeStart();
    storeEarlierLayout(HKEY_CURRENT_USER, VirtualStoreKey, 1);
    storeEarlierLayout(HKEY_LOCAL_MACHINE, LayoutKey, 0);
    EXPECT_EQ(layoutSetting(false, 0), 1u);
    ASSERT_TRUE(readLayout(&value));
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(machineWrites, 0);
}

TEST_F(MainWindowTest, PanesShareTheContentAreaOnePixelApart)
{
    const RECT area = contentArea(window);
    RECT panel = screenRect(GetDlgItem(window, IDC_PANEL));
    RECT tree = screenRect(GetDlgItem(window, IDC_TREE));
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&panel), 2);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tree), 2);
    const int half = (area.bottom - area.top) / 2;
    EXPECT_EQ(panel.top, area.top);
    EXPECT_EQ(panel.bottom - panel.top, half);
    EXPECT_EQ(tree.top, area.top + half + 1);
    EXPECT_EQ(tree.right - tree.left, area.right - area.left);
}

TEST_F(MainWindowTest, WindowIsCentredAt400By300DialogUnits)
{
    const RECT r = screenRect(window);
    const LONG units = GetDialogBaseUnits();
    EXPECT_EQ(r.right - r.left, LOWORD(units) * 100);
    EXPECT_EQ(r.bottom - r.top, HIWORD(units) * 300 / 8);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
}

TEST_F(MainWindowTest, SecondStartFindsTheFirstWindowAndEnds)
{
    MessageBoxCatcher catcher(IDOK);
    EXPECT_EQ(runQuorvel(GetModuleHandleA(nullptr), "C:\\calcoli\\esempio.qvl", SW_SHOWNORMAL), 0);
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].caption, "Quorvel è già in esecuzione");
    EXPECT_EQ(catcher.caught()[0].text, "Usare il drag & drop per caricare il file nella finestra di dialogo");
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(MainWindowTest, QvlNamePostsFormulaWithThePendingFile)
{
    struct Case {
        const char* name;
        bool opens;
    } cases[] = {
        {"C:\\calcoli\\ESEMPIO.QVL", true},
        {"C:\\calcoli\\leggimi.txt", false},
        {"C:\\calcoli.qvl\\esempio", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openByName(window, c.name);
        MSG message;
        const bool posted = PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE);
        EXPECT_EQ(posted, c.opens);
        if (posted) {
            EXPECT_EQ(LOWORD(message.wParam), CMD_FORMULA);
            EXPECT_EQ(message.lParam, reinterpret_cast<LPARAM>(appState.pendingFile));
            EXPECT_STREQ(appState.pendingFile, c.name);
        }
    }
}

TEST_F(MainWindowTest, OverlongCommandLineIsIgnored)
{
    char name[1200];
    memset(name, 'a', sizeof name);
    memcpy(name + sizeof name - 5, ".qvl", 5);
    openByName(window, name);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(appState.pendingFile[0], '\0');
}

TEST_F(MainWindowTest, CloseButtonAsksNothingAndEndsTheLoop)
{
    MessageBoxCatcher catcher(IDYES);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(catcher.caught().empty());
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
