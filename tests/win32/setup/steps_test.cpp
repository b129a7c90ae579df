// Single install steps run on scripts of the test's own: empty key names,
// several extensions, shortcut variants, missing resources and unsafe names.
#include "setup_fixture.h"

#include <commctrl.h>
#include <algorithm>
#include <memory>

#include "common/win/windows_profile.h"

#include <sddl.h>

namespace {

class StringLog : public LogWriter {
public:
    void write(const char* bytes, size_t count) override { text.append(bytes, count); }
    std::string text;
};

class StepsTest : public SetupWindowTest {
protected:
    void SetUp() override
    {
        SetupWindowTest::SetUp();
        folder = tempFolder("quorvel_steps");
        removeTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        installContext = InstallContext{};
        ASSERT_TRUE(setInstallFolder(installContext, folder.c_str()));
        installContext.log = &log;
        installContext.progressDialog = createProgressDialog(mainWindow);
    }
    void TearDown() override
    {
        installContext.script = nullptr;
        SetupWindowTest::TearDown();
        removeTree(folder);
    }

    void useScript(const std::string& text)
    {
        writeFile(installContext.scriptPath, text);
        script.reset(new WindowsProfile(installContext.scriptPath));
        installContext.script = script.get();
    }
    int bar()
    {
        return static_cast<int>(SendDlgItemMessageA(static_cast<HWND>(installContext.progressDialog),
                                                    IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
    }

    std::string folder;
    StringLog log;
    std::unique_ptr<WindowsProfile> script;
};

const std::string AppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string UninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST_F(StepsTest, EmptyKeyNamesAreRefusedAndTheParentKeysKeepTheirValues)
{
    const std::string appPathsDefault = registryText(HKEY_LOCAL_MACHINE, AppPaths, nullptr);
    const std::string rootDefault = registryText(HKEY_CLASSES_ROOT, "", nullptr);
    const std::string uninstallDefault = registryText(HKEY_LOCAL_MACHINE, UninstallKeyPath, nullptr);

    {
        MessageBoxCatcher catcher(IDYES);
        useScript("[GENERAL]\r\nAppPath=\r\n");
        EXPECT_FALSE(registerAppPathAndFileTypes(mainWindow, folder.c_str()));
        ASSERT_EQ(messageBoxes(catcher).size(), 1u);
        EXPECT_EQ(messageBoxes(catcher)[0].text, "Impossibile creare la chiave in AppPath");
        EXPECT_EQ(messageBoxes(catcher)[0].caption, "");
    }
    {
        MessageBoxCatcher catcher(IDYES);
        useScript("[GENERAL]\r\nAppPath=QuorvelProva.exe\r\n[EXTENSIONS]\r\n0=\r\n[]\r\nFileType=Vuoto\r\n");
        EXPECT_FALSE(registerAppPathAndFileTypes(mainWindow, folder.c_str()));
        ASSERT_EQ(messageBoxes(catcher).size(), 1u);
        EXPECT_EQ(messageBoxes(catcher)[0].text, "Impossibile creare la chiave per l'estensione");
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, AppPaths + "\\QuorvelProva.exe", nullptr),
                  folder + "\\QuorvelProva.exe");
        deleteRegistryTree(HKEY_LOCAL_MACHINE, AppPaths + "\\QuorvelProva.exe");
    }
    {
        MessageBoxCatcher catcher(IDYES);
        useScript("[UNINSTALL]\r\nKey=\r\nDesc=Niente\r\nExeRemove=remove.exe /Prova\r\n[GENERAL]\r\nInf=Prova.inf\r\n");
        EXPECT_FALSE(registerUninstall(folder.c_str()));
        EXPECT_TRUE(messageBoxes(catcher).empty());
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, UninstallKeyPath, "DisplayName"), "<missing>");
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, UninstallKeyPath, "UninstallString"), "<missing>");
        EXPECT_FALSE(fileExists(folder + "\\Prova.inf"));
    }
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, AppPaths, nullptr), appPathsDefault);
    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "", nullptr), rootDefault);
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, UninstallKeyPath, nullptr), uninstallDefault);
}

// An INF that cannot be rewritten would leave the clean-up aimed at another
// folder: the step fails with its box and no clean-up stays pending.
TEST_F(StepsTest, AnInfThatCannotBeRewrittenFailsTheStep)
{
    const std::string runOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    HKEY runOnce;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, runOnceKey.c_str(), &runOnce), ERROR_SUCCESS);
    const char pending[] = "rundll32.exe setupapi.dll,InstallHinfSection DefaultUninstall 132 C:\\Quorvel\\Prova.inf";
    RegSetValueExA(runOnce, "QuorvelProva", 0, REG_SZ, reinterpret_cast<const BYTE*>(pending), sizeof pending);
    RegCloseKey(runOnce);
    const std::string inf = folder + "\\Prova.inf";
    ASSERT_TRUE(CreateDirectoryA(inf.c_str(), nullptr));  // no file can be written there
    useScript("[UNINSTALL]\r\nKey=QuorvelProva\r\nDesc=Prova\r\nExeRemove=remove.exe /QuorvelProva\r\n"
              "[GENERAL]\r\nInf=Prova.inf\r\n");
    MessageBoxCatcher catcher(IDOK);
    EXPECT_FALSE(registerUninstall(folder.c_str()));
    ASSERT_EQ(messageBoxes(catcher).size(), 1u);
    EXPECT_EQ(messageBoxes(catcher)[0].text, "Impossibile modificare il file");
    EXPECT_EQ(messageBoxes(catcher)[0].caption, inf);
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, runOnceKey, "QuorvelProva"), "<missing>");
    EXPECT_EQ(log.text.find("Modificato il file"), std::string::npos);
    RemoveDirectoryA(inf.c_str());
    deleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallKeyPath + "\\QuorvelProva");
}

TEST_F(StepsTest, EachExtensionGetsItsTypeInFileOrder)
{
    // Keys "2" before "0": file order; the second type has no icon.
    useScript("[GENERAL]\r\nAppPath=QuorvelProva.exe\r\n[EXTENSIONS]\r\n2=.qvprova2\r\n0=.qvprova1\r\n"
              "[.qvprova1]\r\nFileType=Prova.Uno\r\nDesc=Primo tipo\r\nIcon=uno.exe\r\nShellOpen=apri.exe\r\n"
              "[.qvprova2]\r\nFileType=Prova.Due\r\nDesc=Secondo tipo\r\nShellOpen=apri.exe\r\n");
    MessageBoxCatcher catcher(IDYES);
    EXPECT_TRUE(registerAppPathAndFileTypes(mainWindow, folder.c_str()));
    EXPECT_TRUE(messageBoxes(catcher).empty());
    EXPECT_EQ(bar(), 6);
    EXPECT_EQ(log.text, "\r\nAperta la chiave: " + AppPaths + "\r\nCreata la chiave: " + folder +
                            "\\QuorvelProva.exe\r\nCreata la chiave: Prova.Due.qvprova2"
                            "\r\nCreata la chiave: Shell\\Open\\Command\r\nCreata la chiave: Prova.Uno.qvprova1"
                            "\r\nCreata la chiave: Shell\\Open\\Command");

    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, ".qvprova1", nullptr), "Prova.Uno.qvprova1");
    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Prova.Uno.qvprova1\\DefaultIcon", nullptr),
              "\"" + folder + "\\uno.exe\",0");
    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Prova.Due.qvprova2", nullptr), "Secondo tipo");
    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Prova.Due.qvprova2\\DefaultIcon", nullptr),
              "\"" + folder + "\\\",0");
    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Prova.Due.qvprova2\\Shell\\Open\\Command", nullptr),
              "\"" + folder + "\\apri.exe\" %1");

    for (const char* key : {".qvprova1", ".qvprova2", "Prova.Uno.qvprova1", "Prova.Due.qvprova2"})
        deleteRegistryTree(HKEY_CLASSES_ROOT, key);
    deleteRegistryTree(HKEY_LOCAL_MACHINE, AppPaths + "\\QuorvelProva.exe");
}

TEST_F(StepsTest, ShortcutTargetsAndArgumentsFollowTheirSections)
{
    useScript("[GENERAL]\r\nNomeGruppo=\\QuorvelProvaGruppo\r\n"
              "[DESKTOP]\r\nExe=prova.exe\r\nLink=\\QuorvelProva.lnk\r\nDisplayName=Prova sul desktop\r\n"
              "[LINKLIST]\r\nb=Blocco note\r\na=Solo argomenti\r\nz=Solo file\r\n"
              "[Blocco note]\r\nExe=notepad.exe\r\nNoPath=1\r\n"
              "[Solo argomenti]\r\nExe=x.exe\r\nArgs=-a\r\n"
              "[Solo file]\r\nExe=y.exe\r\nFile=z.txt\r\n");
    MessageBoxCatcher catcher(IDYES);
    ASSERT_TRUE(createProgramGroup(mainWindow, folder.c_str()));
    ASSERT_TRUE(createShortcuts(mainWindow, folder.c_str()));
    EXPECT_TRUE(messageBoxes(catcher).empty());

    const std::string group = shellFolder(CSIDL_PROGRAMS) + "\\QuorvelProvaGruppo";
    const LinkData notepad = loadLink(group + "\\Blocco note.lnk");
    ASSERT_TRUE(notepad.loaded);
    EXPECT_EQ(notepad.path.find(folder), std::string::npos) << notepad.path;
    EXPECT_EQ(notepad.description, "Blocco note");
    const LinkData argsOnly = loadLink(group + "\\Solo argomenti.lnk");
    EXPECT_EQ(argsOnly.path, folder + "\\x.exe");
    EXPECT_EQ(argsOnly.arguments, "-a");
    EXPECT_EQ(argsOnly.workingDirectory, folder);
    EXPECT_EQ(notepad.workingDirectory, folder);
    const LinkData fileOnly = loadLink(group + "\\Solo file.lnk");
    EXPECT_EQ(fileOnly.path, folder + "\\y.exe");
    EXPECT_EQ(fileOnly.arguments, "");
    const std::string desktopFile = shellFolder(CSIDL_DESKTOP) + "\\QuorvelProva.lnk";
    const LinkData desktop = loadLink(desktopFile);
    EXPECT_EQ(desktop.path, folder + "\\prova.exe");
    EXPECT_EQ(desktop.description, "Prova sul desktop");
    EXPECT_EQ(desktop.workingDirectory, folder);

    // The status line names the desktop shortcut, its log entry the target.
    char status[512] = "";
    GetDlgItemTextA(static_cast<HWND>(installContext.progressDialog), IDC_PROGRESS_STATUS, status, sizeof status);
    EXPECT_EQ(status, desktopFile);
    EXPECT_EQ(log.text, "\r\nCreato il link: notepad.exe\r\nCreato il link: " + folder + "\\x.exe" +
                            "\r\nCreato il link: " + folder + "\\y.exe" +
                            "\r\nCreato il link sul desktop: " + folder + "\\prova.exe");
    EXPECT_EQ(bar(), 4);
    removeTree(group);
    DeleteFileA(desktopFile.c_str());
}

// An elevated setup runs in the account of the administrator who typed the
// credentials: from Vista on the links go to the folders of all users, so
// that the user who installed finds them. XP and 98 keep the user's own.
TEST_F(StepsTest, FromVistaOnTheLinksGoToTheFoldersOfAllUsers)
{
    useScript("[GENERAL]\r\nNomeGruppo=\\QuorvelProvaComune\r\n"
              "[DESKTOP]\r\nExe=prova.exe\r\nLink=\\QuorvelProvaComune.lnk\r\nDisplayName=Prova\r\n"
              "[LINKLIST]\r\n0=Primo\r\n[Primo]\r\nExe=x.exe\r\n");
    const struct {
        DWORD major, platform;
        int programs, desktop;
    } cases[] = {
        {10, 2, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY},
        {6, 2, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY},
        {5, 2, CSIDL_PROGRAMS, CSIDL_DESKTOP},
        {4, 1, CSIDL_PROGRAMS, CSIDL_DESKTOP},
    };
    ASSERT_NE(shellFolder(CSIDL_COMMON_PROGRAMS), shellFolder(CSIDL_PROGRAMS));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.major);
        const std::string group = shellFolder(c.programs) + "\\QuorvelProvaComune";
        const std::string desktopLink = shellFolder(c.desktop) + "\\QuorvelProvaComune.lnk";
        const int other = c.programs == CSIDL_PROGRAMS ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
        {
            FakeWindowsVersion version(c.major, 0, c.platform);
            MessageBoxCatcher catcher(IDOK);
            ASSERT_TRUE(createProgramGroup(mainWindow, folder.c_str()));
            ASSERT_TRUE(createShortcuts(mainWindow, folder.c_str()));
            EXPECT_TRUE(messageBoxes(catcher).empty());
        }
        EXPECT_EQ(loadLink(group + "\\Primo.lnk").path, folder + "\\x.exe");
        EXPECT_EQ(loadLink(desktopLink).path, folder + "\\prova.exe");
        EXPECT_FALSE(fileExists(shellFolder(other) + "\\QuorvelProvaComune"));
        removeTree(group);
        DeleteFileA(desktopLink.c_str());
    }
}

// The file types are the machine's (HKEY_LOCAL_MACHINE\Software\Classes,
// never the merged view that may land in the user's own Classes), and
// Explorer is told that they changed.
TEST_F(StepsTest, FileTypesGoToTheMachineClassesAndTheShellIsTold)
{
    typedef LONG(WINAPI * Open)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
    typedef LONG(WINAPI * Create)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD);
    static Open open;
    static Create create;
    static std::vector<std::string> opened;
    static int classesRoot;
    static std::vector<LONG> notified;
    struct Fake {
        static LONG WINAPI openKey(HKEY root, LPCSTR name, DWORD options, REGSAM access, PHKEY key)
        {
            classesRoot += root == HKEY_CLASSES_ROOT;
            opened.push_back(name ? name : "");
            return open(root, name, options, access, key);
        }
        static LONG WINAPI createKey(HKEY root, LPCSTR name, DWORD reserved, LPSTR type, DWORD options, REGSAM access,
                                     LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition)
        {
            classesRoot += root == HKEY_CLASSES_ROOT;
            return create(root, name, reserved, type, options, access, security, key, disposition);
        }
        static void WINAPI notify(LONG event, UINT, LPCVOID, LPCVOID) { notified.push_back(event); }
    };
    useScript("[GENERAL]\r\nAppPath=QuorvelProva.exe\r\n[EXTENSIONS]\r\n0=.qvprova1\r\n"
              "[.qvprova1]\r\nFileType=Prova.Uno\r\nDesc=Primo tipo\r\nShellOpen=apri.exe\r\n");
    open = replaceImport("advapi32.dll", "RegOpenKeyExA", &Fake::openKey);
    create = replaceImport("advapi32.dll", "RegCreateKeyExA", &Fake::createKey);
    auto notify = replaceImport("shell32.dll", "SHChangeNotify", &Fake::notify);
    MessageBoxCatcher catcher(IDOK);
    const bool registered = registerAppPathAndFileTypes(mainWindow, folder.c_str());
    replaceImport("advapi32.dll", "RegOpenKeyExA", open);
    replaceImport("advapi32.dll", "RegCreateKeyExA", create);
    replaceImport("shell32.dll", "SHChangeNotify", notify);
    ASSERT_NE(notify, nullptr);
    EXPECT_TRUE(registered);
    EXPECT_TRUE(messageBoxes(catcher).empty());
    EXPECT_EQ(classesRoot, 0);
    EXPECT_NE(std::find(opened.begin(), opened.end(), "Software\\Classes"), opened.end());
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, "Software\\Classes\\.qvprova1", nullptr), "Prova.Uno.qvprova1");
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, "Software\\Classes\\Prova.Uno.qvprova1\\Shell\\Open\\Command", nullptr),
              "\"" + folder + "\\apri.exe\" %1");
    EXPECT_EQ(notified, std::vector<LONG>{SHCNE_ASSOCCHANGED});
    for (const char* key : {".qvprova1", "Prova.Uno.qvprova1"})
        deleteRegistryTree(HKEY_CLASSES_ROOT, key);
    deleteRegistryTree(HKEY_LOCAL_MACHINE, AppPaths + "\\QuorvelProva.exe");
}

// A shortcut that cannot be written (its group folder is missing) is logged
// and reported as failed, and the step stops there.
TEST_F(StepsTest, AFailedShortcutIsReportedAndStopsTheStep)
{
    useScript("[GENERAL]\r\nNomeGruppo=\\QuorvelGruppoMancante\r\n"
              "[DESKTOP]\r\nExe=prova.exe\r\nLink=\\QuorvelProva.lnk\r\n"
              "[LINKLIST]\r\n0=Primo\r\n1=Secondo\r\n[Primo]\r\nExe=x.exe\r\n[Secondo]\r\nExe=y.exe\r\n");
    const std::string group = shellFolder(CSIDL_PROGRAMS) + "\\QuorvelGruppoMancante";
    MessageBoxCatcher catcher(IDOK);
    EXPECT_FALSE(createShortcuts(mainWindow, folder.c_str()));
    ASSERT_EQ(messageBoxes(catcher).size(), 1u);
    EXPECT_EQ(messageBoxes(catcher)[0].text, "Impossibile creare il collegamento");
    EXPECT_EQ(messageBoxes(catcher)[0].caption, group + "\\Primo.lnk");
    EXPECT_EQ(log.text, "\r\nImpossibile creare il link: " + group + "\\Primo.lnk");
    EXPECT_EQ(bar(), 0);
    EXPECT_FALSE(fileExists(shellFolder(CSIDL_DESKTOP) + "\\QuorvelProva.lnk"));
}

TEST_F(StepsTest, MissingResourcesAndUnsafeNamesStopTheFileSteps)
{
    struct Case {
        const char* script;
        const char* caption;  // after the folder
    } cases[] = {
        {"[INSTALLFILELIST]\r\n0=leggimi.txt\r\n1=Mancante.txt\r\n", "\\Mancante.txt"},
        {"[INSTALLFILELIST]\r\n0=leggimi.txt\r\n1=..\\fuori.txt\r\n", "\\..\\fuori.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        useScript(c.script);
        MessageBoxCatcher catcher(IDYES);
        EXPECT_FALSE(copyInstallFiles(mainWindow, folder.c_str()));
        ASSERT_EQ(messageBoxes(catcher).size(), 1u);
        EXPECT_EQ(messageBoxes(catcher)[0].text, "Impossibile copiare il file");
        EXPECT_EQ(messageBoxes(catcher)[0].caption, folder + c.caption);
        EXPECT_TRUE(fileExists(folder + "\\leggimi.txt"));
    }
    EXPECT_FALSE(fileExists(tempFolder("fuori.txt")));

    // No DataFile: step 5 quietly does nothing; a package that is not there
    // is reported.
    log.text.clear();
    useScript("[GENERAL]\r\nDataFile=\r\n");
    {
        MessageBoxCatcher catcher(IDYES);
        EXPECT_FALSE(installDataFile(mainWindow, folder.c_str()));
        EXPECT_TRUE(messageBoxes(catcher).empty());
        EXPECT_EQ(log.text, "");
    }
    useScript("[GENERAL]\r\nDataFile=Mancante.dat\r\n");
    {
        MessageBoxCatcher catcher(IDYES);
        EXPECT_FALSE(installDataFile(mainWindow, folder.c_str()));
        ASSERT_EQ(messageBoxes(catcher).size(), 1u);
        EXPECT_EQ(messageBoxes(catcher)[0].caption, folder + "\\Mancante.dat");
    }
}

TEST_F(StepsTest, ResourcesAreFoundWhateverTheCaseAndReplaceLongerFiles)
{
    const std::string path = folder + "\\copia.ini";
    writeFile(path, std::string(100000, 'x'));
    EXPECT_TRUE(extractResourceToFile(path.c_str(), "RT_RCDATA", "ini"));
    EXPECT_TRUE(sameBytes(fileText(path), fileText(payloadSource("INI"))));
    EXPECT_TRUE(extractResourceToFile(path.c_str(), "rt_rcdata", "Quorvel.Inf"));
    EXPECT_TRUE(sameBytes(fileText(path), fileText(payloadSource("QUORVEL.INF"))));
    // The predefined numeric data type is another type altogether.
    EXPECT_FALSE(extractResourceToFile(path.c_str(), MAKEINTRESOURCEA(10), "INI"));
    EXPECT_FALSE(extractResourceToFile((folder + "\\manca\\copia.ini").c_str(), "RT_RCDATA", "INI"));
}

// A key that already exists and refuses new values and subkeys (a policy, or
// a key left by another program): the step reports it by name as refused,
// stops, and the key keeps its value.
TEST_F(StepsTest, AKeyDeniedToTheInstallerIsReportedAndKeptAsItWas)
{
    struct Case {
        HKEY root;
        std::string denied;
        const char* caption;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, AppPaths + "\\QuorvelProva.exe", "QuorvelProva.exe"},
        {HKEY_CLASSES_ROOT, ".qvnegata", ".qvnegata"},
    };
    // Everyone: no new values (0x2) nor subkeys (0x4), all else allowed, so
    // the test can still read and delete it.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    useScript("[GENERAL]\r\nAppPath=QuorvelProva.exe\r\n[EXTENSIONS]\r\n0=.qvnegata\r\n"
              "[.qvnegata]\r\nFileType=Prova.Negata\r\nDesc=Negata\r\nShellOpen=apri.exe\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.denied);
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(c.root, c.denied.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("di un altro"), 12);
        // Wine takes no security at creation; set afterwards, it is enforced.
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
        RegCloseKey(key);
        HKEY probe;
        const LONG opened = RegOpenKeyExA(c.root, c.denied.c_str(), 0, KEY_SET_VALUE, &probe);
        if (opened == ERROR_SUCCESS)
            RegCloseKey(probe);
        EXPECT_EQ(opened, ERROR_ACCESS_DENIED) << "the platform does not honour the key's security";
        if (opened == ERROR_ACCESS_DENIED) {
            MessageBoxCatcher catcher(IDOK);
            EXPECT_FALSE(registerAppPathAndFileTypes(mainWindow, folder.c_str()));
            ASSERT_EQ(messageBoxes(catcher).size(), 1u);
            // Refused, not merely failed: administrator rights are needed.
            EXPECT_EQ(messageBoxes(catcher)[0].text, accessDeniedText(InstallStage::Registration));
            EXPECT_EQ(messageBoxes(catcher)[0].caption, c.caption);
            EXPECT_EQ(registryText(c.root, c.denied, nullptr), "di un altro");
            EXPECT_FALSE(registryKeyExists(HKEY_CLASSES_ROOT, "Prova.Negata.qvnegata"));
        }
        // Deleting needs only DELETE, which the key still grants.
        EXPECT_EQ(RegDeleteKeyA(c.root, c.denied.c_str()), ERROR_SUCCESS);
        EXPECT_FALSE(registryKeyExists(c.root, c.denied));
    }
    LocalFree(descriptor);
    deleteRegistryTree(HKEY_LOCAL_MACHINE, AppPaths + "\\QuorvelProva.exe");
}

}  // namespace
