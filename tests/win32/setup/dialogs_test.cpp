// The backdrop, the folder dialog (with its checks and the shell's folder
// browser) and the progress dialog, driven in-process.
#include "setup_fixture.h"

#include <commctrl.h>

#include <algorithm>

#include "common/win/tooltips.h"

namespace {

const char* ToolTip(HWND dialog, int id, UINT code = TTN_GETDISPINFOA)
{
    NMTTDISPINFOA request = {};
    request.hdr.hwndFrom = toolTips.tooltipWindow;
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
    request.hdr.code = code;
    request.uFlags = TTF_IDISHWND;
    SendMessageA(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    return request.lpszText;
}

std::string controlText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

int toolCount()
{
    return static_cast<int>(SendMessageA(toolTips.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0));
}

using DialogsTest = SetupWindowTest;

TEST_F(DialogsTest, BackdropIsTwentyFiveBlueBands)
{
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(mainWindow, &client);
    const int band = client.bottom / 24;
    ASSERT_GT(band, 2);
    HDC dc = GetDC(mainWindow);
    for (int k = 0; k < 25; ++k) {
        const int y = k * band + band / 2;
        if (y >= client.bottom)
            break;
        SCOPED_TRACE(k);
        EXPECT_EQ(GetPixel(dc, client.right / 2, y), RGB(0, 0, 10 * k));
        EXPECT_EQ(GetPixel(dc, 0, k * band), RGB(0, 0, 10 * k));
    }
    EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1),
              RGB(0, 0, 10 * ((client.bottom - 1) / band)));
    ReleaseDC(mainWindow, dc);

    // A caption and nothing to close it with.
    const LONG style = GetWindowLongA(mainWindow, GWL_STYLE);
    EXPECT_EQ(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_NE(GetClassLongA(mainWindow, GCL_STYLE) & CS_NOCLOSE, 0u);
}

TEST_F(DialogsTest, SecondCopyBringsTheFirstForwardAndEnds)
{
    auto count = []() {
        int windows = 0;
        for (HWND w = FindWindowA(SetupWindowClass, nullptr); w; w = FindWindowExA(nullptr, w, SetupWindowClass, nullptr))
            ++windows;
        return windows;
    };
    const int before = count();
    EXPECT_EQ(runSetup(GetModuleHandleA(nullptr)), 0);
    EXPECT_EQ(count(), before);
    // Also once the steps have changed the first copy's title.
    EXPECT_EQ(findRunningSetup(), mainWindow);
    SetWindowTextA(mainWindow, "Quorvel sta traslocando");
    EXPECT_EQ(findRunningSetup(), mainWindow);
}

TEST_F(DialogsTest, FolderDialogStartsWithTheDefaultAndTheVersion)
{
    const std::string existing = tempFolder("quorvel_setup_existing");
    CreateDirectoryA(existing.c_str(), nullptr);
    std::string version, edit;
    const char* tips[5] = {};
    int tools = -1;
    DialogDriver driver({[&]() {
        HWND dialog = DialogDriver::folderDialog();
        if (!dialog)
            return false;
        edit = controlText(dialog, IDC_FOLDER_EDIT);
        version = controlText(dialog, IDC_VERSION_LABEL);
        const int ids[5] = {IDC_FOLDER_EDIT, IDC_FOLDER_BROWSE, IDOK, IDCANCEL, IDC_VERSION_LABEL};
        for (int i = 0; i < 5; ++i)
            tips[i] = ToolTip(dialog, ids[i]);
        tools = toolCount();
        return true;
    },
                         DialogDriver::press(IDOK, existing)});
    char folder[InstallPathSize];
    EXPECT_EQ(showFolderDialog(mainWindow, folder), 1);
    EXPECT_EQ(folder, existing);
    RemoveDirectoryA(existing.c_str());

    EXPECT_EQ(edit, "C:\\Quorvel");
    EXPECT_EQ(version, "Windows XP ");
    EXPECT_STREQ(tips[0], "Digitare il nome della cartella in cui si vuole installare il software");
    EXPECT_STREQ(tips[1], "Permette di selezionare la cartella in cui si vuole installare il software");
    EXPECT_STREQ(tips[2], "Chiude la finestra, confermando la cartella di installazione");
    EXPECT_STREQ(tips[3], "Annulla l'installazione del software");
    EXPECT_EQ(tips[4], nullptr);
    EXPECT_EQ(tools, 4);  // the edit and three buttons; statics get none
}

// From Vista on the proposal is Program Files as the shell names it (for a
// 32-bit setup on 64-bit Windows, "Program Files (x86)"); before, C:\Quorvel.
TEST_F(DialogsTest, FolderDialogProposesProgramFilesFromVistaOn)
{
    const struct {
        DWORD major, minor, platform;
        std::string proposed;
        const char* label;
    } cases[] = {
        {4, 10, 1, "C:\\Quorvel", "Windows 98 "},
        {5, 1, 2, "C:\\Quorvel", "Windows XP "},
        {6, 0, 2, shellFolder(CSIDL_PROGRAM_FILES) + "\\Quorvel", "Windows versione successiva ad XP "},
        {10, 0, 2, shellFolder(CSIDL_PROGRAM_FILES) + "\\Quorvel", "Windows versione successiva ad XP "},
    };
    ASSERT_NE(shellFolder(CSIDL_PROGRAM_FILES), "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.major);
        FakeWindowsVersion version(c.major, c.minor, c.platform);
        ASSERT_TRUE(version.active());
        std::string edit, label;
        DialogDriver driver({[&]() {
            HWND dialog = DialogDriver::folderDialog();
            if (!dialog)
                return false;
            edit = controlText(dialog, IDC_FOLDER_EDIT);
            label = controlText(dialog, IDC_VERSION_LABEL);
            EndDialog(dialog, 0);
            return true;
        }});
        char folder[InstallPathSize];
        EXPECT_EQ(showFolderDialog(mainWindow, folder), 0);
        EXPECT_EQ(edit, c.proposed);
        EXPECT_EQ(label, c.label);
    }
}

// On NT a folder outside Program Files would inherit "Modify" for every
// user from a drive root: it gets an ACL of its own, not inherited. Inside
// Program Files, and on 9x, the folder keeps what it inherits. Wine keeps
// only what Unix modes can say, so the test reads the ACL as it is handed
// to SetFileSecurityA, which setup looks up at run time.
std::vector<std::pair<std::string, std::string>> aclsSet;

BOOL WINAPI recordingSetFileSecurity(LPCSTR path, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR descriptor)
{
    char* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, what, &text, nullptr);
    aclsSet.emplace_back(path, text ? text : "");
    LocalFree(text);
    return SetFileSecurityA(path, what, descriptor);
}

FARPROC(WINAPI* realGetProcAddress)(HMODULE, LPCSTR);

FARPROC WINAPI lookupRecordingAcls(HMODULE module, LPCSTR name)
{
    if (HIWORD(name) && lstrcmpA(name, "SetFileSecurityA") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&recordingSetFileSecurity));
    return realGetProcAddress(module, name);
}

TEST_F(DialogsTest, AFolderOutsideProgramFilesGetsAnAclOfItsOwn)
{
    const std::string outside = tempFolder("quorvel_setup_acl");
    const std::string inside = shellFolder(CSIDL_PROGRAM_FILES) + "\\QuorvelProvaAcl";
    const struct {
        std::string folder;
        DWORD major, platform;
        bool ownAcl;
    } cases[] = {
        {outside, 5, 2, true}, {outside, 10, 2, true}, {inside, 10, 2, false}, {outside, 4, 1, false},
    };
    realGetProcAddress = replaceImport("kernel32.dll", "GetProcAddress", &lookupRecordingAcls);
    ASSERT_NE(realGetProcAddress, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder + " " + std::to_string(c.major));
        removeTree(c.folder);
        aclsSet.clear();
        FakeWindowsVersion version(c.major, 0, c.platform);
        MessageBoxCatcher catcher(IDYES);
        DialogDriver driver({DialogDriver::press(IDOK, c.folder)});
        char folder[InstallPathSize];
        EXPECT_EQ(showFolderDialog(mainWindow, folder), 1);
        ASSERT_EQ(messageBoxes(catcher).size(), 1u);  // may it be created?
        if (c.ownAcl) {
            ASSERT_EQ(aclsSet.size(), 1u);
            EXPECT_EQ(aclsSet[0].first, c.folder);
            const std::string& acl = aclsSet[0].second;
            EXPECT_EQ(acl.compare(0, 3, "D:P"), 0) << acl;
            for (const char* ace : {"(A;OICI;FA;;;BA)", "(A;OICI;FA;;;SY)", "(A;OICI;0x1200a9;;;BU)"})
                EXPECT_NE(acl.find(ace), std::string::npos) << ace << " in " << acl;
            EXPECT_EQ(std::count(acl.begin(), acl.end(), '('), 3) << acl;
        } else {
            EXPECT_TRUE(aclsSet.empty());
        }
        removeTree(c.folder);
    }
    replaceImport("kernel32.dll", "GetProcAddress", realGetProcAddress);
}

// setup.exe is mostly started from a downloads folder: no DLL is to be
// loaded from there once the program runs.
TEST_F(DialogsTest, TheDllSearchIsSystem32WhereWindowsOffersTheChoice)
{
    typedef FARPROC(WINAPI * Lookup)(HMODULE, LPCSTR);
    static Lookup original;
    static std::vector<DWORD> calls;
    struct Fake {
        static BOOL WINAPI setDirectories(DWORD flags)
        {
            calls.push_back(flags);
            return TRUE;
        }
        static FARPROC WINAPI lookup(HMODULE module, LPCSTR name)
        {
            if (HIWORD(name) && lstrcmpA(name, "SetDefaultDllDirectories") == 0)
                return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&setDirectories));
            return original(module, name);
        }
        static FARPROC WINAPI missing(HMODULE module, LPCSTR name)
        {
            if (HIWORD(name) && lstrcmpA(name, "SetDefaultDllDirectories") == 0)
                return nullptr;  // Windows before 7 with KB2533623
            return original(module, name);
        }
    };
    original = replaceImport("kernel32.dll", "GetProcAddress", &Fake::lookup);
    ASSERT_NE(original, nullptr);
    restrictDllSearch();
    replaceImport("kernel32.dll", "GetProcAddress", &Fake::missing);
    restrictDllSearch();
    replaceImport("kernel32.dll", "GetProcAddress", original);
    EXPECT_EQ(calls, std::vector<DWORD>{0x800});
}

TEST_F(DialogsTest, FolderTextsThatAreNotAbsoluteStayInTheDialog)
{
    const std::string existing = tempFolder("quorvel_setup_existing");
    CreateDirectoryA(existing.c_str(), nullptr);
    MessageBoxCatcher catcher(IDYES);
    DialogDriver driver({DialogDriver::press(IDOK, ""), DialogDriver::press(IDOK, "Quorvel"),
                         DialogDriver::press(IDOK, "C:Quorvel"), DialogDriver::press(IDOK, "\\Quorvel"),
                         DialogDriver::press(IDOK, existing)});
    char folder[InstallPathSize];
    EXPECT_EQ(showFolderDialog(mainWindow, folder), 1);
    EXPECT_EQ(folder, existing);
    const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
    ASSERT_EQ(boxes.size(), 4u);
    for (const CaughtMessageBox& box : boxes)
        EXPECT_EQ(box.text.find("Indicare il percorso completo della cartella"), 0u) << box.caption;
    EXPECT_EQ(boxes[1].caption, "Quorvel");
    RemoveDirectoryA(existing.c_str());
}

// Setup would overwrite files of the system there, and the uninstaller
// delete them; the folder is given in the one form both programs use.
TEST_F(DialogsTest, SystemFoldersAndDriveRootsAreRefused)
{
    char windows[MAX_PATH] = "";
    char system[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    GetSystemDirectoryA(system, sizeof system);
    const std::string existing = tempFolder("quorvel_setup_existing");
    CreateDirectoryA(existing.c_str(), nullptr);
    const std::string inWindows = std::string(windows) + "\\QuorvelEsistente";  // not made by setup
    CreateDirectoryA(inWindows.c_str(), nullptr);
    const std::string refused[] = {windows, std::string(system) + "\\", "C:\\", inWindows};
    MessageBoxCatcher catcher(IDYES);
    DialogDriver driver({DialogDriver::press(IDOK, refused[0]), DialogDriver::press(IDOK, refused[1]),
                         DialogDriver::press(IDOK, refused[2]), DialogDriver::press(IDOK, refused[3]),
                         DialogDriver::press(IDOK, existing + "\\\\")});
    char folder[InstallPathSize];
    EXPECT_EQ(showFolderDialog(mainWindow, folder), 1);
    EXPECT_EQ(folder, existing);
    const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
    ASSERT_EQ(boxes.size(), 4u);
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].caption, refused[i]);
        EXPECT_EQ(boxes[i].text.find("Non è possibile installare il software nella cartella di Windows"), 0u);
    }
    RemoveDirectoryA(existing.c_str());
    RemoveDirectoryA(inWindows.c_str());
}

// The catcher also presses its button on every activation of the folder
// dialog, so only buttons that the dialog ignores (Yes, No) are safe.
TEST_F(DialogsTest, AnnullaAnsweredNoKeepsTheDialog)
{
    const std::string existing = tempFolder("quorvel_setup_existing");
    CreateDirectoryA(existing.c_str(), nullptr);
    MessageBoxCatcher catcher(IDNO);
    DialogDriver driver({DialogDriver::press(IDCANCEL), DialogDriver::press(IDOK, existing)});
    char folder[InstallPathSize];
    EXPECT_EQ(showFolderDialog(mainWindow, folder), 1);
    ASSERT_EQ(messageBoxes(catcher).size(), 1u);
    EXPECT_EQ(messageBoxes(catcher)[0].text, "Interrompere l'installazione del software?");
    RemoveDirectoryA(existing.c_str());
}

TEST_F(DialogsTest, MissingFoldersAreCreatedLevelByLevel)
{
    const std::string root = tempFolder("quorvel_setup_levels");
    removeTree(root);
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);

    {
        // Answered No: nothing is created.
        MessageBoxCatcher catcher(IDNO);
        EXPECT_FALSE(ensureFolder(mainWindow, (root + "\\a\\b\\c").c_str()));
        EXPECT_FALSE(fileExists(root));
        ASSERT_EQ(messageBoxes(catcher).size(), 1u);
        EXPECT_EQ(messageBoxes(catcher)[0].text, "La directory specificata non esiste. Creare la directory?");
        EXPECT_EQ(messageBoxes(catcher)[0].caption, root + "\\a\\b\\c");
    }
    {
        // Yes: the one-call creation fails for want of parents, the levels do it.
        MessageBoxCatcher catcher(IDYES);
        EXPECT_TRUE(ensureFolder(mainWindow, (root + "\\a\\b\\c\\").c_str()));
        EXPECT_TRUE(fileExists(root + "\\a\\b\\c"));
        EXPECT_EQ(messageBoxes(catcher).size(), 1u);
    }
    {
        // Existing folders and a drive root: no question.
        MessageBoxCatcher catcher(IDYES);
        EXPECT_TRUE(ensureFolder(mainWindow, (root + "\\a\\b").c_str()));
        EXPECT_TRUE(ensureFolder(mainWindow, "C:\\"));
        EXPECT_TRUE(messageBoxes(catcher).empty());
    }
    {
        // A level that cannot be made: a drive that does not exist.
        MessageBoxCatcher catcher(IDYES);
        EXPECT_FALSE(ensureFolder(mainWindow, "Q:\\manca\\ancora"));
        const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].text, "Errore. Impossibile creare la directory!");
        EXPECT_EQ(boxes[1].caption, "Q:\\manca");
    }
    {
        // A level that Windows refuses: administrator rights, nothing installed.
        static std::string refused;
        static BOOL(WINAPI * create)(LPCSTR, LPSECURITY_ATTRIBUTES);
        struct Fake {
            static BOOL WINAPI createDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES security)
            {
                if (refused == name) {
                    SetLastError(ERROR_ACCESS_DENIED);
                    return FALSE;
                }
                return create(name, security);
            }
        };
        refused = root + "\\d";
        create = replaceImport("kernel32.dll", "CreateDirectoryA", &Fake::createDirectory);
        MessageBoxCatcher catcher(IDYES);
        const bool made = ensureFolder(mainWindow, (root + "\\d\\e").c_str());
        replaceImport("kernel32.dll", "CreateDirectoryA", create);
        EXPECT_FALSE(made);
        const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].text, accessDeniedText(InstallStage::Folder));
        EXPECT_EQ(boxes[1].caption, root + "\\d");
    }
    char after[MAX_PATH];
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(after, before);
    removeTree(root);
}

// The shell's folder browser, reached through "Cambia cartella ...": the
// test selects a folder in it and presses OK, or cancels it.
HWND folderBrowser()
{
    HWND folderDialog = FindWindowA("#32770", FolderDialogTitle);
    HWND browser = GetForegroundWindow();
    if (!folderDialog || !browser || browser == folderDialog || GetWindow(browser, GW_OWNER) != folderDialog)
        return nullptr;
    return browser;
}

DialogDriver::Step selectInBrowser(const std::string& path)
{
    return [path]() {
        HWND browser = folderBrowser();
        if (browser)
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        return browser != nullptr;
    };
}

DialogDriver::Step closeBrowser(int button)
{
    return [button]() {
        HWND browser = folderBrowser();
        if (browser)
            PostMessageA(browser, WM_COMMAND, button, 0);
        return browser != nullptr;
    };
}

TEST_F(DialogsTest, CambiaCartellaPutsTheChosenFolderIntoTheEdit)
{
    // Wine selects a path only when its parent is already in the tree.
    const std::string chosen = "C:\\quorvel_setup_browse";
    CreateDirectoryA(chosen.c_str(), nullptr);
    std::string afterCancel, afterOk;
    auto readEdit = [](std::string* text) {
        return [text]() {
            HWND dialog = DialogDriver::folderDialog();
            if (!dialog)
                return false;
            *text = controlText(dialog, IDC_FOLDER_EDIT);
            return true;
        };
    };
    DialogDriver driver({DialogDriver::press(IDC_FOLDER_BROWSE), closeBrowser(IDCANCEL),
                         readEdit(&afterCancel), DialogDriver::press(IDC_FOLDER_BROWSE),
                         selectInBrowser(chosen), closeBrowser(IDOK), readEdit(&afterOk),
                         DialogDriver::press(IDOK)});
    char folder[InstallPathSize];
    EXPECT_EQ(showFolderDialog(mainWindow, folder), 1);
    EXPECT_EQ(afterCancel, "C:\\Quorvel");
    EXPECT_EQ(afterOk, chosen);
    EXPECT_EQ(folder, chosen);
    RemoveDirectoryA(chosen.c_str());
}

TEST_F(DialogsTest, ProgressDialogCountsAndStopsWhenClosed)
{
    HWND dialog = createProgressDialog(mainWindow);
    ASSERT_NE(dialog, nullptr);
    installContext.progressDialog = dialog;
    EXPECT_TRUE(IsWindowVisible(dialog));
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);

    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(controlText(dialog, IDC_PROGRESS_STATUS), "");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
    EXPECT_EQ(controlText(dialog, IDCANCEL), "&Annulla");

    // The animation is the program's own "DOWNLOAD": opening it again works.
    EXPECT_TRUE(SendDlgItemMessageA(dialog, IDC_PROGRESS_ANIMATION, ACM_OPENA, 0,
                                    reinterpret_cast<LPARAM>("DOWNLOAD")));
    EXPECT_FALSE(SendDlgItemMessageA(dialog, IDC_PROGRESS_ANIMATION, ACM_OPENA, 0,
                                     reinterpret_cast<LPARAM>("MANCANTE")));

    EXPECT_STREQ(ToolTip(dialog, IDC_PROGRESS_BAR), "Visualizza graficamente la progressione dell'installazione");
    EXPECT_EQ(ToolTip(dialog, IDC_PROGRESS_ANIMATION), nullptr);
    EXPECT_EQ(toolCount(), 3);  // animation, bar and the hidden button

    for (int i = 0; i < 3; ++i)
        stepProgress();
    setProgressText("C:\\Quorvel\\Quorvel.exe");
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(controlText(dialog, IDC_PROGRESS_STATUS), "C:\\Quorvel\\Quorvel.exe");
    EXPECT_FALSE(isCancelled(installContext));

    // Esc or the close box: the dialog goes and the run counts as cancelled.
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(isCancelled(installContext));
    stepProgress();
    setProgressText("dopo");
}

TEST_F(DialogsTest, StepsThatCheckForCancellationDoNothingOnceClosed)
{
    installContext = InstallContext{};
    MessageBoxCatcher catcher(IDYES);
    EXPECT_FALSE(registerAppPathAndFileTypes(mainWindow, "C:\\Quorvel"));
    EXPECT_FALSE(installDataFile(mainWindow, "C:\\Quorvel"));
    EXPECT_FALSE(registerUninstall("C:\\Quorvel"));
    EXPECT_TRUE(messageBoxes(catcher).empty());
}

}  // namespace
