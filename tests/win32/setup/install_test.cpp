// Whole installations with the shipped script into fresh folders of the
// Wine prefix, the folder dialog answered by the test; then every file,
// log line, registry value and shortcut read back.
#include "setup_fixture.h"

#include <commctrl.h>

#include "setup/data_package.h"

namespace {

const char* const InstalledFiles[] = {"Quorvel.exe", "leggimi.txt", "Quorvel.chm", "AlbumFotoAmianto.pdf",
                                      "Quorvel.inf", "remove.exe", "hh.exe", "hhctrl.ocx"};
const char* const Examples[] = {"Esempio4.qvl", "Esempio1.qvl", "Esempio2.qvl", "Esempio3.qvl"};

const std::string AppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string Uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";
const std::string RunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// The log after its header line, as a complete run of the shipped script
// writes it into folder.
std::string expectedLog(const std::string& folder)
{
    std::string log = "Copiato file di inizializzazione " + folder + "\\setup.ini\r\n";
    for (const char* name : InstalledFiles)
        log += "\r\nCopiato il file: " + folder + "\\" + name;
    log += "\r\nAperta la chiave: " + AppPaths;
    log += "\r\nCreata la chiave: " + folder + "\\Quorvel.exe";
    log += "\r\nCreata la chiave: Quorvel.File.qvl";
    log += "\r\nCreata la chiave: Shell\\Open\\Command";
    for (const char* target : {"Quorvel.exe", "Quorvel.chm", "AlbumFotoAmianto.pdf", "hh.exe", "remove.exe"})
        log += "\r\nCreato il link: " + folder + "\\" + target;
    log += "\r\nCreato il link sul desktop: " + folder + "\\Quorvel.exe";
    log += "\r\nCopiato il file: " + folder + "\\Quorvel.dat";
    for (const char* example : Examples)
        log += "\r\nCopiato il file: " + folder + "\\" + example;
    log += "\r\nCreata la chiave: UninstallString";
    log += "\r\nModificato il file: " + folder + "\\Quorvel.inf";
    return log;
}

std::string shortPath(const std::string& folder)
{
    char path[MAX_PATH] = "";
    GetShortPathNameA(folder.c_str(), path, sizeof path);
    return path;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// Leaves no trace of an installation in the prefix shared by the tests.
void removeRegistration()
{
    deleteRegistryTree(HKEY_LOCAL_MACHINE, AppPaths + "\\Quorvel.exe");
    deleteRegistryTree(HKEY_CLASSES_ROOT, ".qvl");
    deleteRegistryTree(HKEY_CLASSES_ROOT, "Quorvel.File.qvl");
    deleteRegistryTree(HKEY_LOCAL_MACHINE, Uninstall);
    removeTree(shellFolder(CSIDL_PROGRAMS) + "\\Quorvel");
    DeleteFileA((shellFolder(CSIDL_DESKTOP) + "\\Quorvel.lnk").c_str());
}

class InstallTest : public SetupWindowTest {
protected:
    void SetUp() override
    {
        SetupWindowTest::SetUp();
        removeRegistration();
        root = tempFolder("quorvel_setup_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        removeTree(root);
        CreateDirectoryA(root.c_str(), nullptr);
    }
    void TearDown() override
    {
        SetupWindowTest::TearDown();
        removeRegistration();
        removeTree(root);
    }

    // One run of the driver with the folder typed into the dialog; the
    // progress dialog is read before the run is closed.
    bool install(const std::string& typed)
    {
        DialogDriver driver({DialogDriver::press(IDOK, typed)});
        const bool installed = runInstallation(mainWindow);
        HWND progress = static_cast<HWND>(installContext.progressDialog);
        barPosition = progress ? static_cast<int>(SendDlgItemMessageA(progress, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0)) : -1;
        char text[512] = "";
        if (progress)
            GetDlgItemTextA(progress, IDC_PROGRESS_STATUS, text, sizeof text);
        statusLine = text;
        endInstallation(mainWindow);
        return installed;
    }

    void expectFilesFromTheirSources(const std::string& folder)
    {
        for (const char* name : InstalledFiles) {
            SCOPED_TRACE(name);
            std::string resource = name;
            for (char& c : resource)
                c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
            const std::string source = payloadSource(resource);
            ASSERT_FALSE(source.empty());
            std::string expected = fileText(source);
            ASSERT_FALSE(expected.empty());
            if (resource == "QUORVEL.INF") {
                const std::string s = shortPath(folder);
                expected = replaced(expected, "InfFile=0,C:\\Quorvel\r\n", "InfFile=0," + s + "\r\n");
                expected = replaced(expected, "DefaultDestDir=0,C:\\Quorvel\r\n", "DefaultDestDir=0," + s + "\r\n");
            }
            if (resource == "QUORVEL.INF")
                EXPECT_EQ(fileText(folder + "\\" + name), expected);
            else
                EXPECT_TRUE(sameBytes(fileText(folder + "\\" + name), expected));
            EXPECT_EQ(GetFileAttributesA((folder + "\\" + name).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        }
        EXPECT_EQ(fileText(folder + "\\setup.ini"), fileText(payloadSource("INI")));

        // The examples are the package's members, byte for byte; the
        // package itself is gone.
        const std::string package = fileText(payloadSource("QUORVEL.DAT"));
        const std::vector<PackageMember> members = parsePackage(package.data(), package.size());
        ASSERT_EQ(members.size(), 4u);
        for (size_t i = 0; i < members.size(); ++i) {
            SCOPED_TRACE(Examples[i]);
            EXPECT_EQ(members[i].name, Examples[i]);
            EXPECT_EQ(fileText(folder + "\\" + Examples[i]), members[i].contents);
            EXPECT_EQ(members[i].contents.substr(0, 11), "[QUORVEL]\r\n");
        }
        EXPECT_FALSE(fileExists(folder + "\\Quorvel.dat"));
    }

    void expectRegistry(const std::string& folder)
    {
        const std::string program = folder + "\\Quorvel.exe";
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, AppPaths + "\\Quorvel.exe", nullptr), program);
        EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, ".qvl", nullptr), "Quorvel.File.qvl");
        EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Quorvel.File.qvl", nullptr), "File di Quorvel");
        EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\DefaultIcon", nullptr),
                  "\"" + program + "\",0");
        EXPECT_TRUE(registryKeyExists(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\Shell\\Open"));
        EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\Shell\\Open\\Command", nullptr),
                  "\"" + program + "\" %1");
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "DisplayName"),
                  "Quorvel - Banca dati di concentrazioni di fibre d'amianto negli ambienti di lavoro");
        // NT: the long path, quoted (a volume without short names has blanks).
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "UninstallString"),
                  "\"" + folder + "\\remove.exe\" /Quorvel");
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "DisplayIcon"), program);
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "Publisher"), "Progetto Quorvel");
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "DisplayVersion"), "2.02");
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "InstallLocation"), folder);
        SYSTEMTIME now;
        GetLocalTime(&now);
        char date[16];
        std::snprintf(date, sizeof date, "%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
        EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "InstallDate"), date);
        unsigned long long bytes = fileText(folder + "\\setup.ini").size();
        for (const char* name : InstalledFiles)
            bytes += fileText(folder + "\\" + name).size();
        EXPECT_EQ(registryNumber(HKEY_LOCAL_MACHINE, Uninstall, "EstimatedSize"), (bytes + 1023) / 1024);
        EXPECT_EQ(registryNumber(HKEY_LOCAL_MACHINE, Uninstall, "NoModify"), 1u);
        EXPECT_EQ(registryNumber(HKEY_LOCAL_MACHINE, Uninstall, "NoRepair"), 1u);
    }

    void expectShortcuts(const std::string& folder)
    {
        struct Expected {
            const char* file;
            std::string path;
            std::string arguments;
        } links[] = {
            {"Quorvel", folder + "\\Quorvel.exe", ""},
            {"Guida di Quorvel", folder + "\\Quorvel.chm", ""},
            {"Album fotografico", folder + "\\AlbumFotoAmianto.pdf", ""},
            {"Bibliografia", folder + "\\hh.exe", "-mapid 115860 " + folder + "\\Quorvel.chm"},
            {"Disinstallazione di Quorvel", folder + "\\remove.exe", "/Quorvel"},
        };
        const std::string group = shellFolder(CSIDL_PROGRAMS) + "\\Quorvel";
        for (const Expected& link : links) {
            SCOPED_TRACE(link.file);
            const LinkData data = loadLink(group + "\\" + link.file + ".lnk");
            ASSERT_TRUE(data.loaded);
            EXPECT_EQ(data.path, link.path);
            EXPECT_EQ(data.arguments, link.arguments);
            EXPECT_EQ(data.description, link.file);
        }
        const LinkData desktop = loadLink(shellFolder(CSIDL_DESKTOP) + "\\Quorvel.lnk");
        ASSERT_TRUE(desktop.loaded);
        EXPECT_EQ(desktop.path, folder + "\\Quorvel.exe");
        EXPECT_EQ(desktop.arguments, "");
        EXPECT_EQ(desktop.description, "Quorvel");
    }

    void expectLog(const std::string& folder)
    {
        const std::string log = fileText(folder + "\\setup.log");
        const size_t lineEnd = log.find("\r\n");
        ASSERT_NE(lineEnd, std::string::npos);
        int day, month, year, hour, minute, second;
        char tail;
        ASSERT_EQ(std::sscanf(log.substr(0, lineEnd).c_str(), "File creato il %d-%d-%d alle ore %d.%d.%d%c",
                              &day, &month, &year, &hour, &minute, &second, &tail), 6)
            << log.substr(0, lineEnd);
        SYSTEMTIME now;
        GetLocalTime(&now);
        EXPECT_EQ(year, now.wYear);
        EXPECT_EQ(month, now.wMonth);
        EXPECT_EQ(log.substr(lineEnd + 2), expectedLog(folder));
    }

    std::string root;
    int barPosition = -1;
    std::string statusLine;
};

TEST_F(InstallTest, FreshFolderGetsEveryFileKeyAndShortcut)
{
    const std::string folder = root + "\\Quorvel";
    MessageBoxCatcher catcher(IDYES);
    ASSERT_TRUE(install(folder));

    const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "La directory specificata non esiste. Creare la directory?");
    EXPECT_EQ(boxes[0].caption, folder);

    EXPECT_EQ(barPosition, 21);
    EXPECT_EQ(statusLine, folder + "\\Quorvel.inf");
    EXPECT_STREQ(installContext.installFolder, folder.c_str());
    expectFilesFromTheirSources(folder);
    expectLog(folder);
    expectRegistry(folder);
    expectShortcuts(folder);
}

// Windows 98 keeps the short form, which has no blanks to quote.
TEST_F(InstallTest, OnWindows98TheUninstallStringStaysShort)
{
    const std::string folder = root + "\\Quorvel con spazi";
    CreateDirectoryA(folder.c_str(), nullptr);
    FakeWindowsVersion version(4, 10, 1);
    MessageBoxCatcher catcher(IDYES);
    ASSERT_TRUE(install(folder));
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, Uninstall, "UninstallString"), shortPath(folder) + "\\remove.exe /Quorvel");
}

TEST_F(InstallTest, FolderWithBlanksIsQuotedAndShortenedForTheUninstaller)
{
    const std::string parent = root + "\\Programmi di prova";
    const std::string folder = parent + "\\Quorvel 2";
    CreateDirectoryA(parent.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    MessageBoxCatcher catcher(IDYES);
    // Typed with a trailing backslash, which the run drops.
    ASSERT_TRUE(install(folder + "\\"));
    EXPECT_TRUE(messageBoxes(catcher).empty());

    const std::string s = shortPath(folder);
    EXPECT_EQ(s.find(' '), std::string::npos) << s;
    EXPECT_NE(s, folder);
    EXPECT_NE(fileText(folder + "\\Quorvel.inf").find("DefaultDestDir=0," + s + "\r\n"), std::string::npos);
    expectRegistry(folder);
    EXPECT_EQ(registryText(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\Shell\\Open\\Command", nullptr),
              "\"" + folder + "\\Quorvel.exe\" %1");
    expectFilesFromTheirSources(folder);
    expectLog(folder);
    expectShortcuts(folder);
}

TEST_F(InstallTest, SecondInstallationReplacesTheFirst)
{
    const std::string folder = root + "\\Quorvel";
    CreateDirectoryA(folder.c_str(), nullptr);
    // What a previous, longer run and an older version left behind.
    writeFile(folder + "\\setup.log", std::string(20000, 'x'));
    writeFile(folder + "\\Quorvel.exe", std::string(3000000, 'y'));
    MessageBoxCatcher catcher(IDYES);
    ASSERT_TRUE(install(folder));
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\Shell\\Open\\Command", &key), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("vecchio"), 8);
    RegCloseKey(key);
    writeFile(folder + "\\Esempio1.qvl", "modificato");

    ASSERT_TRUE(install(folder));
    EXPECT_TRUE(messageBoxes(catcher).empty());
    EXPECT_EQ(barPosition, 21);
    expectFilesFromTheirSources(folder);
    expectLog(folder);
    expectRegistry(folder);
    expectShortcuts(folder);
}

TEST_F(InstallTest, AnnullaAnsweredYesWritesNothing)
{
    const std::string folder = root + "\\Quorvel";
    MessageBoxCatcher catcher(IDYES);
    DialogDriver driver({DialogDriver::press(IDCANCEL, folder)});
    EXPECT_FALSE(installAndReport(mainWindow));

    const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Interrompere l'installazione del software?");
    EXPECT_EQ(boxes[0].caption, "Attenzione");
    EXPECT_EQ(boxes[1].caption, "Installazione fallita o interrotta dall'utente");
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    EXPECT_FALSE(fileExists(folder));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, AppPaths + "\\Quorvel.exe"));
    EXPECT_FALSE(registryKeyExists(HKEY_CLASSES_ROOT, ".qvl"));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, Uninstall));
    EXPECT_FALSE(fileExists(shellFolder(CSIDL_PROGRAMS) + "\\Quorvel"));
    EXPECT_FALSE(fileExists(shellFolder(CSIDL_DESKTOP) + "\\Quorvel.lnk"));
}

// Wine lets root write read-only files, so the destination that cannot be
// written is one held open without sharing (a program still running).
TEST_F(InstallTest, UnwritableDestinationStopsTheRunAtThatFile)
{
    const std::string folder = root + "\\Quorvel";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string readme = folder + "\\leggimi.txt";
    writeFile(readme, "vecchio");
    SetFileAttributesA(readme.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = CreateFileA(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    MessageBoxCatcher catcher(IDYES);
    DialogDriver driver({DialogDriver::press(IDOK, folder)});
    EXPECT_FALSE(installAndReport(mainWindow));
    CloseHandle(held);

    const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Impossibile copiare il file");
    EXPECT_EQ(boxes[0].caption, readme);
    EXPECT_EQ(boxes[1].caption, "Installazione fallita o interrotta dall'utente");
    // The file before it stays; nothing after it is done.
    EXPECT_TRUE(sameBytes(fileText(folder + "\\Quorvel.exe"), fileText(payloadSource("QUORVEL.EXE"))));
    EXPECT_EQ(fileText(readme), "vecchio");
    EXPECT_FALSE(fileExists(folder + "\\Quorvel.chm"));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, AppPaths + "\\Quorvel.exe"));
    EXPECT_EQ(fileText(folder + "\\setup.log").find("leggimi"), std::string::npos);
}

// Without administrator rights Windows refuses the registry and the shared
// folders: the run says so, says what it did and did not do, stops there
// and never ends with the success box. Refusals come through the program's
// imports, as Wine itself refuses nothing.
struct Refusal {
    const char* function;  // CreateFileA, CreateDirectoryA, RegOpenKeyExA, RegCreateKeyExA
    std::string target;    // the path or key name refused
};
Refusal refusal;
void* refusedOriginal;

bool isRefused(const char* function, const char* name)
{
    return refusal.function && lstrcmpA(function, refusal.function) == 0 && name && lstrcmpiA(name, refusal.target.c_str()) == 0;
}
HANDLE WINAPI refusingCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how,
                                 DWORD flags, HANDLE model)
{
    if (isRefused("CreateFileA", name)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<decltype(&refusingCreateFile)>(refusedOriginal)(name, access, share, security, how, flags,
                                                                             model);
}
BOOL WINAPI refusingCreateDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES security)
{
    if (isRefused("CreateDirectoryA", name)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return reinterpret_cast<decltype(&refusingCreateDirectory)>(refusedOriginal)(name, security);
}
LONG WINAPI refusingOpenKey(HKEY root, LPCSTR name, DWORD options, REGSAM access, PHKEY key)
{
    if (isRefused("RegOpenKeyExA", name))
        return ERROR_ACCESS_DENIED;
    return reinterpret_cast<decltype(&refusingOpenKey)>(refusedOriginal)(root, name, options, access, key);
}
LONG WINAPI refusingCreateKey(HKEY root, LPCSTR name, DWORD reserved, LPSTR type, DWORD options, REGSAM access,
                              LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition)
{
    if (isRefused("RegCreateKeyExA", name))
        return ERROR_ACCESS_DENIED;
    return reinterpret_cast<decltype(&refusingCreateKey)>(refusedOriginal)(root, name, reserved, type, options, access,
                                                                            security, key, disposition);
}

TEST_F(InstallTest, RefusedAccessSaysAdministratorRightsAreNeededAndWhatWasDone)
{
    const std::string folder = root + "\\Quorvel";
    const std::string group = shellFolder(CSIDL_PROGRAMS) + "\\Quorvel";
    const struct {
        Refusal refused;
        InstallStage stage;
        std::string caption;
        bool filesCopied, typesRegistered, linksMade;
    } cases[] = {
        {{"CreateFileA", folder + "\\setup.log"}, InstallStage::Folder, folder + "\\setup.log", false, false, false},
        {{"CreateFileA", folder + "\\remove.exe"}, InstallStage::Files, folder + "\\remove.exe", false, false, false},
        {{"RegOpenKeyExA", AppPaths}, InstallStage::Registration, AppPaths, true, false, false},
        {{"RegCreateKeyExA", ".qvl"}, InstallStage::Registration, ".qvl", true, false, false},
        {{"CreateDirectoryA", group}, InstallStage::Shortcuts, group, true, true, false},
        {{"RegOpenKeyExA", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"}, InstallStage::Uninstall,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        removeRegistration();
        removeTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        MessageBoxCatcher catcher(IDYES);  // which the folder dialog ignores
        {
            DialogDriver driver({DialogDriver::press(IDOK, folder)});
            refusal = c.refused;
            void* replacement = lstrcmpA(c.refused.function, "CreateFileA") == 0 ? reinterpret_cast<void*>(&refusingCreateFile)
                                : lstrcmpA(c.refused.function, "CreateDirectoryA") == 0 ? reinterpret_cast<void*>(&refusingCreateDirectory)
                                : lstrcmpA(c.refused.function, "RegOpenKeyExA") == 0    ? reinterpret_cast<void*>(&refusingOpenKey)
                                                                                         : reinterpret_cast<void*>(&refusingCreateKey);
            const char* dll = c.refused.function[0] == 'R' ? "advapi32.dll" : "kernel32.dll";
            refusedOriginal = replaceImport(dll, c.refused.function, replacement);
            ASSERT_NE(refusedOriginal, nullptr);
            const bool installed = installAndReport(mainWindow);
            replaceImport(dll, c.refused.function, refusedOriginal);
            refusal = Refusal{};
            EXPECT_FALSE(installed);
        }
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        const std::vector<CaughtMessageBox> boxes = messageBoxes(catcher);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, accessDeniedText(c.stage));
        EXPECT_EQ(boxes[0].caption, c.caption);
        EXPECT_EQ(boxes[1].caption, "Installazione fallita o interrotta dall'utente");
        EXPECT_EQ(fileExists(folder + "\\hhctrl.ocx"), c.filesCopied);
        EXPECT_EQ(registryKeyExists(HKEY_CLASSES_ROOT, "Quorvel.File.qvl"), c.typesRegistered);
        EXPECT_EQ(fileExists(group + "\\Quorvel.lnk"), c.linksMade);
        EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, Uninstall));
    }
}

TEST_F(InstallTest, PendingCleanUpOfAnEarlierRemovalIsDropped)
{
    HKEY runOnce;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, RunOnce.c_str(), &runOnce), ERROR_SUCCESS);
    const char command[] = "rundll32.exe setupapi.dll,InstallHinfSection DefaultUninstall 132 C:\\Quorvel\\Quorvel.inf";
    const char other[] = "altro.exe";
    RegSetValueExA(runOnce, "Quorvel", 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof command);
    RegSetValueExA(runOnce, "QuorvelTestAltro", 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof other);
    RegCloseKey(runOnce);

    MessageBoxCatcher catcher(IDYES);
    ASSERT_TRUE(install(root + "\\Quorvel"));
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, RunOnce, "Quorvel"), "<missing>");
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, RunOnce, "QuorvelTestAltro"), "altro.exe");

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnce.c_str(), 0, KEY_SET_VALUE, &runOnce), ERROR_SUCCESS);
    RegDeleteValueA(runOnce, "QuorvelTestAltro");
    RegCloseKey(runOnce);
}

}  // namespace
