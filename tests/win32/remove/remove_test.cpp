// remove.exe as the shell starts it: a fake installation made the way setup
// makes it (files, the shipped script, the INF, registry entries, shortcut
// files), the real program started in its own process with its message boxes
// answered by the test, and what remains checked.
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include "remove/removal.h"
#include "tests/win32/support/import_patch.h"
#include "tests/win32/support/message_box_catcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char Folder[] = "C:\\QuorvelProva";
const char Sentinel[] = "C:\\QuorvelSentinella.txt";
const char AppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorvel.exe";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";
const char SettingsKey[] = "Software\\Quorvel";  // the application's layout setting
const char RunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char SessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char PendingValue[] = "PendingFileRenameOperations";

// File-type keys, deepest first.
const char* const ClassKeys[] = {"Quorvel.File.qvl\\Shell\\Open\\Command", "Quorvel.File.qvl\\Shell\\Open",
                                 "Quorvel.File.qvl\\Shell", "Quorvel.File.qvl\\DefaultIcon",
                                 "Quorvel.File.qvl", ".qvl"};
const char* const Links[] = {"Quorvel", "Guida di Quorvel", "Album fotografico", "Bibliografia",
                             "Disinstallazione di Quorvel"};
const char* const Deleted[] = {"Quorvel.exe", "leggimi.txt", "Quorvel.chm", "AlbumFotoAmianto.pdf",
                               "setup.log", "hh.exe", "hhctrl.ocx"};
const char* const LastThree[] = {"Quorvel.inf", "remove.exe", "setup.ini"};
const char* const Examples[] = {"Esempio1.qvl", "Esempio2.qvl", "Esempio3.qvl", "Esempio4.qvl"};
const char UserCalculation[] = "Mio calcolo.qvl";
// Never installed, never data files: "copia.qvlold" matches *.qvl through
// its short name, "cartella.qvl" is a folder.
const char* const UserFiles[] = {"appunti.txt", "copia.qvlold"};

const char ConfirmText[] = "Siete sicuri di voler rimuovere questo programma dal vostro computer?";
const char DataText[] = "Cancellare anche i file con i dati contenuti nella cartella?";
const char RestartText[] =
    "La disinstallazione sarà completata al prossimo riavvio di Windows. Riavviare Windows adesso?";

std::string inFolder(const char* name)
{
    return std::string(Folder) + "\\" + name;
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readHostFile(const std::string& hostPath)
{
    std::string bytes;
    FILE* file = std::fopen(("Z:" + hostPath).c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    std::fclose(file);
    return bytes;
}

std::string shellFolder(int id)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, id, nullptr, 0, path);
    return path;
}

std::string groupFolder(int programs = CSIDL_PROGRAMS)
{
    return shellFolder(programs | CSIDL_FLAG_CREATE) + "\\Quorvel";
}

std::string desktopLink(int desktop = CSIDL_DESKTOPDIRECTORY)
{
    return shellFolder(desktop | CSIDL_FLAG_CREATE) + "\\Quorvel.lnk";
}

bool startsWithNoCase(const std::string& text, const std::string& head)
{
    return text.size() >= head.size() && lstrcmpiA(text.substr(0, head.size()).c_str(), head.c_str()) == 0;
}

// The restart's deletions (pairs of source and empty target) as their
// sources; with keep false, those inside the install folder are taken off
// the list instead.
std::vector<std::string> pendingDeletions(bool keep = true)
{
    std::vector<std::string> found;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SessionManagerKey, 0, KEY_READ | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return found;
    std::vector<char> value(65536, '\0');
    DWORD size = static_cast<DWORD>(value.size() - 2);
    if (RegQueryValueExA(key, PendingValue, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) ==
        ERROR_SUCCESS) {
        std::string others;
        for (const char* at = value.data(); *at;) {
            const std::string source = at;
            at += source.size() + 1;
            const std::string target = at;
            at += target.size() + 1;
            const std::string path = source.compare(0, 4, "\\??\\") == 0 ? source.substr(4) : source;
            if (target.empty() && startsWithNoCase(path, Folder))
                found.push_back(path);
            else
                others += source + '\0' + target + '\0';
        }
        if (!keep && others.empty())
            RegDeleteValueA(key, PendingValue);
        else if (!keep)
            RegSetValueExA(key, PendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>((others + '\0').data()),
                           static_cast<DWORD>(others.size() + 1));
    }
    RegCloseKey(key);
    return found;
}

bool keyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void setValue(HKEY root, const char* path, const char* name, const std::string& data)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS)
        << path;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
}

std::string runOnceValue()
{
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    if (RegQueryValueExA(key, "Quorvel", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS)
        value[0] = '\0';
    RegCloseKey(key);
    return value;
}

void makeLink(const std::string& target, const std::string& file, const char* arguments)
{
    IShellLinkA* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(target.c_str());
    link->SetArguments(arguments);
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        persist->Save(wide, TRUE);
        persist->Release();
    }
    link->Release();
    ASSERT_TRUE(exists(file)) << file;
}

// Everything the installation consists of, and what lies around it, as
// sorted lines: compared before and after a run that must change nothing.
std::vector<std::string> snapshot()
{
    std::vector<std::string> lines;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(inFolder("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            lines.push_back(std::string("file ") + found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    for (const char* name : Links) {
        std::string link = groupFolder() + "\\" + name + ".lnk";
        if (exists(link))
            lines.push_back("link " + link);
    }
    if (exists(groupFolder()))
        lines.push_back("group");
    if (exists(desktopLink()))
        lines.push_back("desktop link");
    if (exists(Sentinel))
        lines.push_back("sentinel");
    for (const char* key : ClassKeys) {
        if (keyExists(HKEY_CLASSES_ROOT, key))
            lines.push_back(std::string("class key ") + key);
    }
    for (const char* key : {AppPathsKey, UninstallKey, SettingsKey}) {
        if (keyExists(HKEY_LOCAL_MACHINE, key))
            lines.push_back(std::string("key ") + key);
    }
    if (keyExists(HKEY_CURRENT_USER, SettingsKey))
        lines.push_back("user settings");
    for (const std::string& path : pendingDeletions())
        lines.push_back("pending " + path);
    lines.push_back("RunOnce " + runOnceValue());
    std::sort(lines.begin(), lines.end());
    return lines;
}

struct RemoveRun {
    DWORD exitCode = STILL_ACTIVE;
    std::vector<CaughtMessageBox> boxes;
};

std::string windowText(HWND window)
{
    char text[1024] = "";
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &ignored);
    return text;
}

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK findBox(HWND window, LPARAM parameter)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (processId == search->processId && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0 &&
        GetDlgItem(window, 0xFFFF)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

// Starts the installed remove.exe with the arguments and answers its boxes
// in turn; a box beyond the answers gets No or OK.
RemoveRun runRemove(const std::string& arguments, std::vector<int> answers,
                    const char* workingFolder = nullptr)
{
    RemoveRun run;
    std::string commandLine = "\"" + inFolder("remove.exe") + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder ? workingFolder : Folder, &startup, &process)) {
        ADD_FAILURE() << "remove.exe did not start: " << GetLastError();
        return run;
    }
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > 30000) {
            ADD_FAILURE() << "remove.exe did not end";
            TerminateProcess(process.hProcess, 99);
            break;
        }
        BoxSearch search = {process.dwProcessId, nullptr};
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
        if (!search.box)
            continue;
        run.boxes.push_back({windowText(search.box), windowText(GetDlgItem(search.box, 0xFFFF))});
        int answer = GetDlgItem(search.box, IDNO) ? IDNO : IDOK;
        if (!answers.empty()) {
            answer = answers.front();
            answers.erase(answers.begin());
        }
        PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(search.box, answer)));
        for (int i = 0; i < 250 && IsWindow(search.box); ++i)
            Sleep(20);
    }
    WaitForSingleObject(process.hProcess, 5000);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

void expectBox(const CaughtMessageBox& box, const std::string& caption, const std::string& text)
{
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
}

class RemoveProgram : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        removeEverything();
        install();
    }

    void TearDown() override
    {
        removeEverything();
        CoUninitialize();
    }

    // What setup leaves behind, with the examples unpacked, the user's own
    // files beside them and a sentinel outside the folder.
    void install()
    {
        ASSERT_TRUE(CreateDirectoryA(Folder, nullptr));
        for (const char* name : Deleted)
            writeFile(inFolder(name), std::string("contenuto di ") + name);
        for (const char* name : Examples)
            writeFile(inFolder(name), "[QUORVEL]\r\nUNIT=0\r\n");
        writeFile(inFolder(UserCalculation), "[QUORVEL]\r\nNOTE=mio\r\n");
        for (const char* name : UserFiles)
            writeFile(inFolder(name), "dell'utente");
        ASSERT_TRUE(CreateDirectoryA(inFolder("cartella.qvl").c_str(), nullptr));
        writeFile(Sentinel, "fuori dalla cartella");

        std::string script = readHostFile(std::string(QUORVEL_SOURCE_DIR) + "/setup/setup.ini");
        ASSERT_FALSE(script.empty());
        writeFile(inFolder("setup.ini"), script);
        ASSERT_TRUE(CopyFileA((std::string("Z:") + QUORVEL_REMOVE_EXE).c_str(), inFolder("remove.exe").c_str(),
                              FALSE));

        char shortFolder[MAX_PATH] = "";
        ASSERT_GT(GetShortPathNameA(Folder, shortFolder, sizeof shortFolder), 0u);
        writeFile(inFolder("Quorvel.inf"),
                  "[Version] \r\nSignature=\"$CHICAGO$\"\r\n\r\n[DefaultInstall]\r\nCopyFiles=InfFile\r\n\r\n"
                  "[DefaultUninstall]\r\nDelFiles=InfFile\r\n\r\n"
                  "[InfFile]\r\nQuorvel.inf,,,1\r\nremove.exe,,,1\r\nSetup.ini,,,1\r\n\r\n"
                  "[DestinationDirs]\r\nInfFile=0," +
                      std::string(shortFolder) + "\r\nDefaultDestDir=0," + shortFolder +
                      "\r\n\r\n[SourceDisksNames]\r\n55=\"Quorvel\",Quorvel,0\r\n\r\n"
                      "[SourceDisksFiles]\r\nQuorvel.inf=55\r\nremove.exe=55\r\nSetup.ini=55\r\n");

        const std::string program = inFolder("Quorvel.exe");
        setValue(HKEY_LOCAL_MACHINE, AppPathsKey, nullptr, program);
        setValue(HKEY_CLASSES_ROOT, ".qvl", nullptr, "Quorvel.File.qvl");
        setValue(HKEY_CLASSES_ROOT, "Quorvel.File.qvl", nullptr, "File di Quorvel");
        setValue(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\DefaultIcon", nullptr, "\"" + program + "\",0");
        setValue(HKEY_CLASSES_ROOT, "Quorvel.File.qvl\\Shell\\Open\\Command", nullptr,
                 "\"" + program + "\" %1");
        setValue(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", "Quorvel");
        // The layout setting as older versions kept it and as it is kept now.
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            HKEY settings;
            ASSERT_EQ(RegCreateKeyExA(root, SettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &settings, nullptr),
                      ERROR_SUCCESS);
            const DWORD layout = 1;
            RegSetValueExA(settings, "Layout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&layout), sizeof layout);
            RegCloseKey(settings);
        }
        setValue(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString",
                 std::string(shortFolder) + "\\remove.exe /Quorvel");

        ASSERT_TRUE(CreateDirectoryA(groupFolder().c_str(), nullptr));
        for (const char* name : Links)
            makeLink(program, groupFolder() + "\\" + name + ".lnk", "");
        makeLink(program, desktopLink(), "");
    }

    static void removeEverything()
    {
        HKEY runOnce;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_WRITE, &runOnce) == ERROR_SUCCESS) {
            RegDeleteValueA(runOnce, "Quorvel");
            RegCloseKey(runOnce);
        }
        for (const char* key : ClassKeys)
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, AppPathsKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, SettingsKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKey);
        pendingDeletions(false);

        RemoveDirectoryA(inFolder("cartella.qvl").c_str());
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(inFolder("*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA(inFolder(found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(Folder);
        for (const char* name : Links)
            DeleteFileA((groupFolder() + "\\" + name + ".lnk").c_str());
        DeleteFileA((groupFolder() + "\\nota.txt").c_str());
        RemoveDirectoryA(groupFolder().c_str());
        DeleteFileA(desktopLink().c_str());
        for (const char* name : Links)
            DeleteFileA((groupFolder(CSIDL_COMMON_PROGRAMS) + "\\" + name + ".lnk").c_str());
        RemoveDirectoryA(groupFolder(CSIDL_COMMON_PROGRAMS).c_str());
        DeleteFileA(desktopLink(CSIDL_COMMON_DESKTOPDIRECTORY).c_str());
        DeleteFileA(Sentinel);
    }

    static void expectUserFilesKept()
    {
        EXPECT_TRUE(exists(Sentinel));
        for (const char* name : UserFiles)
            EXPECT_TRUE(exists(inFolder(name))) << name;
        EXPECT_TRUE(exists(inFolder("cartella.qvl")));
    }

    static void expectInstallationGone()
    {
        for (const char* name : Deleted)
            EXPECT_FALSE(exists(inFolder(name))) << name;
        for (const char* name : LastThree)
            EXPECT_TRUE(exists(inFolder(name))) << name << " stays until the next start";
        for (const char* key : ClassKeys)
            EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, AppPathsKey));
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, UninstallKey));
        for (const char* name : Links)
            EXPECT_FALSE(exists(groupFolder() + "\\" + name + ".lnk")) << name;
        EXPECT_FALSE(exists(desktopLink()));
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, SettingsKey));
        EXPECT_EQ(runOnceValue(), "rundll32.exe setupapi.dll,InstallHinfSection DefaultUninstall 132 "
                                  "C:\\QuorvelProva\\Quorvel.inf");
        expectDelayedDeletions();
    }

    // Files before the folder, each with no new name.
    static void expectDelayedDeletions()
    {
        EXPECT_EQ(pendingDeletions(), (std::vector<std::string>{inFolder("remove.exe"), inFolder("setup.ini"),
                                                                inFolder("Quorvel.inf"), Folder}));
    }
};

TEST_F(RemoveProgram, WithoutAProductItEndsWithMinusOneAndChangesNothing)
{
    const std::vector<std::string> before = snapshot();
    const std::string arguments[] = {"", "Quorvel", "/", "/" + std::string(128, 'q'), "/..\\Quorvel"};
    for (const std::string& argument : arguments) {
        SCOPED_TRACE(argument);
        RemoveRun run = runRemove(argument, {});
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(-1));
        EXPECT_TRUE(run.boxes.empty());
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(RemoveProgram, AnsweringNoChangesNothing)
{
    const std::vector<std::string> before = snapshot();
    RemoveRun run = runRemove("/Quorvel", {IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 1u);
    expectBox(run.boxes[0], "Disinstallazione di Quorvel", ConfirmText);
    EXPECT_EQ(snapshot(), before);
}

// The whole removal keeping the data files, then the RunOnce command as the
// next start of Windows runs it.
TEST_F(RemoveProgram, KeepingTheDataFiles)
{
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 3u);
    expectBox(run.boxes[0], "Disinstallazione di Quorvel", ConfirmText);
    expectBox(run.boxes[1], Folder, DataText);
    expectBox(run.boxes[2], "Quorvel.exe", RestartText);

    expectInstallationGone();
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, SettingsKey));
    EXPECT_FALSE(exists(groupFolder()));
    for (const char* name : Examples)
        EXPECT_TRUE(exists(inFolder(name))) << name;
    EXPECT_TRUE(exists(inFolder(UserCalculation)));
    expectUserFilesKept();

    std::string command = runOnceValue();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                               &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (const char* name : LastThree)
        EXPECT_FALSE(exists(inFolder(name))) << name;
    EXPECT_TRUE(exists(inFolder("Esempio1.qvl")));
    expectUserFilesKept();
}

TEST_F(RemoveProgram, DeletingTheDataFiles)
{
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDYES, IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.boxes.size(), 3u);
    expectInstallationGone();
    for (const char* name : Examples)
        EXPECT_FALSE(exists(inFolder(name))) << name;
    EXPECT_FALSE(exists(inFolder(UserCalculation)));
    expectUserFilesKept();
}

// A key that is already gone is no failure: no box for it, and the rest is
// still deleted; a group folder holding a file of the user's stays.
TEST_F(RemoveProgram, AMissingKeyIsNoFailure)
{
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, ClassKeys[3]), ERROR_SUCCESS);  // DefaultIcon, still planned
    writeFile(groupFolder() + "\\nota.txt", "dell'utente");
    setValue(HKEY_LOCAL_MACHINE, SettingsKey, "Altro", "non nostro");
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 3u);
    expectBox(run.boxes[2], "Quorvel.exe", RestartText);
    expectInstallationGone();
    EXPECT_TRUE(exists(groupFolder() + "\\nota.txt"));
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, SettingsKey));  // it holds more than the layout
}

// Without an install folder the removal ends after the message: going on
// would delete the script's files at the root of the current drive.
TEST_F(RemoveProgram, WithoutAnInstallFolderItEndsAfterTheMessage)
{
    writeFile("C:\\setup.ini", readHostFile(std::string(QUORVEL_SOURCE_DIR) + "/setup/setup.ini"));
    writeFile("C:\\leggimi.txt", "non installato");
    struct Case {
        const char* name;
        const char* appPath;  // nullptr: no App Paths key
        const char* caption;
        const char* text;
    } cases[] = {
        {"no key", nullptr, AppPathsKey, "Impossibile aprire la chiave"},
        {"no folder", "Quorvel.exe", AppPathsKey, "Impossibile recuperare il percorso"},
        {"relative", "Quorvel\\Quorvel.exe", AppPathsKey, "Impossibile recuperare il percorso"},
    };
    const std::string longValue = "C:\\" + std::string(300, 'x') + "\\Quorvel.exe";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, AppPathsKey);
        if (c.appPath)
            setValue(HKEY_LOCAL_MACHINE, AppPathsKey, nullptr, c.appPath);
        const std::vector<std::string> before = snapshot();
        RemoveRun run = runRemove("/Quorvel", {IDYES, IDOK}, "C:\\");
        EXPECT_EQ(run.exitCode, 0u);
        ASSERT_EQ(run.boxes.size(), 2u);
        expectBox(run.boxes[1], c.caption, c.text);
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(exists("C:\\leggimi.txt"));
    }
    // A value longer than the 260 bytes read is refused, not cut.
    setValue(HKEY_LOCAL_MACHINE, AppPathsKey, nullptr, longValue);
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDOK}, "C:\\");
    ASSERT_EQ(run.boxes.size(), 2u);
    expectBox(run.boxes[1], AppPathsKey, "Impossibile recuperare il percorso");
    DeleteFileA("C:\\setup.ini");
    DeleteFileA("C:\\leggimi.txt");
}

// Empty values and names that leave their folder or key: only the sound
// entry (leggimi.txt) is acted on.
TEST_F(RemoveProgram, AHostileScriptTouchesNothingOutsideItsFolders)
{
    writeFile(inFolder("setup.ini"),
              "[GENERAL]\r\nNomeGruppo=\\..\\..\r\nAppPath=\r\n"
              "[DESKTOP]\r\nLink=\\..\\..\\..\\QuorvelSentinella.txt\r\n"
              "[UNINSTALL]\r\nKey=\r\n"
              "[DELETEFILELIST]\r\n0=..\\QuorvelSentinella.txt\r\n1=C:\\QuorvelSentinella.txt\r\n2=\r\n"
              "3=leggimi.txt\r\n4=*.*\r\n"
              "[EXTENSIONS]\r\n0=\r\n1=.txt\\..\\..\r\n2=*\r\n"
              "[LINKLIST]\r\n0=..\\..\\Quorvel\r\n");
    const bool textType = keyExists(HKEY_CLASSES_ROOT, ".txt");
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDYES, IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.boxes.size(), 3u);  // no key was planned, so none failed

    EXPECT_FALSE(exists(inFolder("leggimi.txt")));
    EXPECT_TRUE(exists(inFolder("Quorvel.exe")));
    for (const char* name : Examples)
        EXPECT_TRUE(exists(inFolder(name))) << name;
    expectUserFilesKept();
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, AppPathsKey));
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"));
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    EXPECT_EQ(keyExists(HKEY_CLASSES_ROOT, ".txt"), textType);
    EXPECT_TRUE(exists(groupFolder() + "\\Quorvel.lnk"));
    EXPECT_TRUE(exists(desktopLink()));
}

}  // namespace

namespace {

std::string installedBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0)
        bytes.append(buffer, count);
    CloseHandle(file);
    return bytes;
}

// An installed file and a data file held open without sharing, as a running
// program or viewer would: they cannot be deleted and are left as they were,
// and everything else is still removed.
TEST_F(RemoveProgram, LockedFilesAreSkippedAndTheRestIsRemoved)
{
    const std::string lockedNames[] = {inFolder("Quorvel.chm"), inFolder("Esempio2.qvl")};
    std::vector<HANDLE> locks;
    for (const std::string& path : lockedNames) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        locks.push_back(file);
    }
    ASSERT_FALSE(DeleteFileA(lockedNames[0].c_str())) << "the platform does not honour the lock";

    RemoveRun run = runRemove("/Quorvel", {IDYES, IDYES, IDNO});
    for (HANDLE file : locks)
        CloseHandle(file);
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 3u);
    expectBox(run.boxes[2], "Quorvel.exe", RestartText);

    EXPECT_EQ(installedBytes(lockedNames[0]), "contenuto di Quorvel.chm");
    EXPECT_EQ(installedBytes(lockedNames[1]), "[QUORVEL]\r\nUNIT=0\r\n");
    for (const char* name : Deleted)
        EXPECT_EQ(exists(inFolder(name)), inFolder(name) == lockedNames[0]) << name;
    for (const char* name : Examples)
        EXPECT_EQ(exists(inFolder(name)), inFolder(name) == lockedNames[1]) << name;
    for (const char* key : ClassKeys)
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, AppPathsKey));
    EXPECT_FALSE(exists(desktopLink()));
    EXPECT_FALSE(exists(groupFolder()));
    expectUserFilesKept();
}

}  // namespace

namespace {

const char OtherFolder[] = "C:\\QuorvelAltro";  // another program's installation
const char OtherAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuorvelAltro.exe";
const char OtherUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuorvelAltro";
const char* const OtherClassKeys[] = {".qvaltro", "QuorvelAltro.File.qvaltro\\Shell\\Open\\Command",
                                      "QuorvelAltro.File.qvaltro"};

std::string otherProgram()
{
    return std::string(OtherFolder) + "\\altro.exe";
}

// A script that names other programs' keys and shortcuts beside the
// product's own ones; the group is given by the case.
std::string mixedScript(const std::string& group)
{
    return "[GENERAL]\r\nNomeGruppo=" + group + "\r\nAppPath=QuorvelAltro.exe\r\n"
           "[DESKTOP]\r\nLink=\\Altro.lnk\r\n[UNINSTALL]\r\nKey=QuorvelAltro\r\n"
           "[LINKLIST]\r\n0=Quorvel\r\n1=Altro\r\n[EXTENSIONS]\r\n0=.qvl\r\n1=.qvaltro\r\n"
           "[.qvl]\r\nFileType=Quorvel.File\r\nShellOpen=Quorvel.exe\r\n"
           "[.qvaltro]\r\nFileType=QuorvelAltro.File\r\nShellOpen=Quorvel.exe\r\n"
           "[DELETEFILELIST]\r\n0=Quorvel.exe\r\n";
}

class RemoveBesideOthers : public RemoveProgram {
protected:
    void SetUp() override
    {
        RemoveProgram::SetUp();
        startup = shellFolder(CSIDL_STARTUP | CSIDL_FLAG_CREATE);
        ASSERT_FALSE(startup.empty());
        CreateDirectoryA(OtherFolder, nullptr);
        writeFile(otherProgram(), "di un altro");
        setValue(HKEY_LOCAL_MACHINE, OtherAppPaths, nullptr, std::string(OtherFolder) + "\\QuorvelAltro.exe");
        setValue(HKEY_LOCAL_MACHINE, OtherUninstall, "UninstallString",
                 std::string(OtherFolder) + "\\remove.exe /QuorvelAltro");
        setValue(HKEY_CLASSES_ROOT, ".qvaltro", nullptr, "QuorvelAltro.File.qvaltro");
        setValue(HKEY_CLASSES_ROOT, OtherClassKeys[1], nullptr, "\"" + otherProgram() + "\" %1");
        makeLink(otherProgram(), groupFolder() + "\\Altro.lnk", "");
        makeLink(otherProgram(), shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Altro.lnk", "");
        // Named like the product's own and pointing into its folder, but in
        // the folder whose shortcuts start with Windows.
        makeLink(inFolder("Quorvel.exe"), startup + "\\Quorvel.lnk", "");
    }
    void TearDown() override
    {
        for (const char* key : OtherClassKeys)
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, OtherAppPaths);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, OtherUninstall);
        for (const std::string& link : othersLinks())
            DeleteFileA(link.c_str());
        DeleteFileA(otherProgram().c_str());
        RemoveDirectoryA(OtherFolder);
        RemoveProgram::TearDown();
    }
    std::vector<std::string> othersLinks() const
    {
        return {groupFolder() + "\\Altro.lnk", shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Altro.lnk",
                startup + "\\Quorvel.lnk"};
    }
    void expectOthersKept() const
    {
        EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, OtherAppPaths));
        EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, OtherUninstall));
        for (const char* key : OtherClassKeys)
            EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
        for (const std::string& link : othersLinks())
            EXPECT_TRUE(exists(link)) << link;
        EXPECT_TRUE(exists(otherProgram()));
    }
    std::string startup;
};

// The script names other programs' keys and shortcuts: they all stay and
// the final message lists them; the product's own entries go.
TEST_F(RemoveBesideOthers, OtherProgramsEntriesStayAndAreListed)
{
    writeFile(inFolder("setup.ini"), mixedScript("\\Quorvel"));
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 3u);
    const std::string text = run.boxes[2].text;
    EXPECT_EQ(run.boxes[2].caption, "Quorvel.exe");
    EXPECT_EQ(text.find("Non sono stati rimossi, perché non appartengono a questa installazione:\r\n"), 0u);
    for (const std::string& left :
         {std::string("HKEY_LOCAL_MACHINE\\") + OtherAppPaths, std::string("HKEY_LOCAL_MACHINE\\") + OtherUninstall,
          std::string("HKEY_CLASSES_ROOT\\.qvaltro"), std::string("HKEY_CLASSES_ROOT\\QuorvelAltro.File.qvaltro"),
          groupFolder() + "\\Altro.lnk", shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Altro.lnk"})
        EXPECT_NE(text.find(left + "\r\n"), std::string::npos) << left;
    EXPECT_EQ(text.size() - text.rfind(RestartText), sizeof RestartText - 1);

    expectOthersKept();
    for (const char* key : ClassKeys)
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_FALSE(exists(groupFolder() + "\\Quorvel.lnk"));
    EXPECT_FALSE(exists(inFolder("Quorvel.exe")));
    EXPECT_TRUE(exists(groupFolder()));  // it still holds the other shortcut
}

// Startup is never the product's group: a shortcut there stays even when it
// points into the install folder.
TEST_F(RemoveBesideOthers, TheStartupFolderIsNeverTheGroup)
{
    const std::string name = startup.substr(startup.rfind('\\'));
    writeFile(inFolder("setup.ini"), mixedScript(name));
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    ASSERT_EQ(run.boxes.size(), 3u);
    EXPECT_NE(run.boxes[2].text.find(startup + "\\Quorvel.lnk\r\n"), std::string::npos);
    expectOthersKept();
    EXPECT_TRUE(exists(startup));
    EXPECT_TRUE(exists(groupFolder() + "\\Quorvel.lnk"));
}

// An App Paths value naming the Windows folder (in any spelling) or a drive
// root: the script there is not followed, and the user is told.
TEST_F(RemoveProgram, AnInstallFolderOfTheSystemIsRefusedWithAMessage)
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string dotted = std::string(windows) + "\\..\\" + (std::strrchr(windows, '\\') + 1);
    for (const std::string& folder : {std::string(windows), std::string("C:"), dotted}) {
        SCOPED_TRACE(folder);
        const std::string planted = folder + "\\QuorvelSentinella.txt";
        ASSERT_FALSE(exists(folder + "\\setup.ini"));
        writeFile(folder + "\\setup.ini", "[DELETEFILELIST]\r\n0=QuorvelSentinella.txt\r\n");
        writeFile(planted, "del sistema");
        setValue(HKEY_LOCAL_MACHINE, AppPathsKey, nullptr, folder + "\\Quorvel.exe");
        RemoveRun run = runRemove("/Quorvel", {IDYES, IDOK});
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.boxes.size(), 2u);
        if (run.boxes.size() >= 2) {  // no early return: the planted files must go
            EXPECT_EQ(run.boxes[1].caption, folder);
            EXPECT_EQ(run.boxes[1].text.find("La cartella indicata per il programma"), 0u);
        }
        EXPECT_TRUE(exists(planted));
        DeleteFileA(planted.c_str());
        DeleteFileA((folder + "\\setup.ini").c_str());
    }
}

// A folder typed with a doubled separator reached App Paths: removal works
// as for any other folder, instead of ending in silence.
TEST_F(RemoveProgram, ADoubledSeparatorInAppPathsStillRemoves)
{
    setValue(HKEY_LOCAL_MACHINE, AppPathsKey, nullptr, std::string(Folder) + "\\\\Quorvel.exe");
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 3u);
    expectBox(run.boxes[2], "Quorvel.exe", RestartText);
    expectInstallationGone();
}

// An INF still naming the default folder would have the clean-up delete
// files there: no clean-up is registered and the user is told.
TEST_F(RemoveProgram, AnInfNamingAnotherFolderGetsNoCleanUp)
{
    writeFile(inFolder("Quorvel.inf"), "[DefaultUninstall]\r\nDelFiles=InfFile\r\n"
                                       "[InfFile]\r\nQuorvel.inf,,,1\r\nremove.exe,,,1\r\nSetup.ini,,,1\r\n"
                                       "[DestinationDirs]\r\nInfFile=0,C:\\Quorvel\r\nDefaultDestDir=0,C:\\Quorvel\r\n");
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDOK});
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.boxes.size(), 3u);
    EXPECT_EQ(run.boxes[2].caption, inFolder("Quorvel.inf"));
    EXPECT_EQ(run.boxes[2].text.find("Il file non indica questa cartella di installazione"), 0u);
    EXPECT_EQ(runOnceValue(), "");
    for (const char* name : LastThree)
        EXPECT_TRUE(exists(inFolder(name))) << name;
    EXPECT_FALSE(exists(inFolder("Quorvel.exe")));
}

}  // namespace

namespace {

// On NT the last files and the folder are queued for the restart, and the
// INF is left to RunOnce only where nobody but administrators may change
// the folder: one that everyone may write gets the queued deletions alone.
TEST_F(RemoveProgram, AFolderOthersMayChangeGetsNoInfRun)
{
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD buffer[128];
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size));
    CloseHandle(token);
    char* user = nullptr;
    ASSERT_TRUE(ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &user));
    const std::string everyoneWrites = std::string("D:(A;OICI;FA;;;SY)(A;OICI;FA;;;") + user + ")(A;OICI;FA;;;WD)";
    LocalFree(user);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(everyoneWrites.c_str(), SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    const BOOL set = SetFileSecurityA(Folder, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    ASSERT_TRUE(set);

    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    ASSERT_EQ(run.boxes.size(), 3u);
    expectBox(run.boxes[2], "Quorvel.exe", RestartText);
    EXPECT_EQ(runOnceValue(), "");
    expectDelayedDeletions();
    EXPECT_FALSE(exists(inFolder("Quorvel.exe")));
}

// setup puts the group and the desktop link into the all-users folders on
// NT: they go as the user's own do.
TEST_F(RemoveProgram, ShortcutsForAllUsersGoToo)
{
    const std::string program = inFolder("Quorvel.exe");
    const std::string common = groupFolder(CSIDL_COMMON_PROGRAMS);
    ASSERT_NE(common, groupFolder());
    ASSERT_TRUE(CreateDirectoryA(common.c_str(), nullptr));
    for (const char* name : Links)
        makeLink(program, common + "\\" + name + ".lnk", "");
    makeLink(program, desktopLink(CSIDL_COMMON_DESKTOPDIRECTORY), "");

    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    ASSERT_EQ(run.boxes.size(), 3u);
    expectInstallationGone();
    EXPECT_FALSE(exists(common));
    EXPECT_FALSE(exists(desktopLink(CSIDL_COMMON_DESKTOPDIRECTORY)));
    EXPECT_FALSE(exists(groupFolder()));
}

// A standard user's rights, imposed through this program's imports: writes
// to HKLM and HKEY_CLASSES_ROOT, and changes in the install folder and the
// all-users folders, are refused as Windows refuses them.
std::vector<CaughtMessageBox> shownBoxes;
std::vector<int> boxAnswers;
std::vector<std::string> protectedFolders;
decltype(&RegOpenKeyExA) realOpenKey;
decltype(&RegDeleteKeyA) realDeleteKey;
decltype(&DeleteFileA) realDeleteFile;
decltype(&RemoveDirectoryA) realRemoveDirectory;

int WINAPI answerBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    shownBoxes.push_back({caption ? caption : "", text ? text : ""});
    int answer = (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    if (!boxAnswers.empty()) {
        answer = boxAnswers.front();
        boxAnswers.erase(boxAnswers.begin());
    }
    return answer;
}

bool machineWide(HKEY root)
{
    return root == HKEY_LOCAL_MACHINE || root == HKEY_CLASSES_ROOT;
}

LONG WINAPI openKeyAsUser(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key)
{
    const REGSAM writes = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE | WRITE_DAC | WRITE_OWNER;
    if (machineWide(root) && (access & writes))
        return ERROR_ACCESS_DENIED;
    return realOpenKey(root, path, options, access, key);
}

LONG WINAPI deleteKeyAsUser(HKEY root, LPCSTR path)
{
    return machineWide(root) ? ERROR_ACCESS_DENIED : realDeleteKey(root, path);
}

bool userMayChange(LPCSTR path)
{
    for (const std::string& folder : protectedFolders) {
        if (startsWithNoCase(path, folder)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
    }
    return true;
}

BOOL WINAPI deleteFileAsUser(LPCSTR path)
{
    return userMayChange(path) && realDeleteFile(path);
}

BOOL WINAPI removeDirectoryAsUser(LPCSTR path)
{
    return userMayChange(path) && realRemoveDirectory(path);
}

// The restart's list is kept under HKLM.
BOOL WINAPI moveFileAsUser(LPCSTR, LPCSTR, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// remove reads what it needs, deletes the user's own setting and shortcuts,
// and says that administrator rights are needed and what stayed: nothing
// is called complete and no clean-up is left for the restart.
TEST_F(RemoveProgram, AsAStandardUserNothingIsCalledDone)
{
    const std::string common = groupFolder(CSIDL_COMMON_PROGRAMS);
    ASSERT_TRUE(CreateDirectoryA(common.c_str(), nullptr));
    makeLink(inFolder("Quorvel.exe"), common + "\\Quorvel.lnk", "");
    protectedFolders = {Folder, shellFolder(CSIDL_COMMON_PROGRAMS), shellFolder(CSIDL_COMMON_DESKTOPDIRECTORY)};
    shownBoxes.clear();
    boxAnswers = {IDYES, IDNO};
    const auto realBox = replaceImport("user32.dll", "MessageBoxA", &answerBox);
    realOpenKey = replaceImport("advapi32.dll", "RegOpenKeyExA", &openKeyAsUser);
    realDeleteKey = replaceImport("advapi32.dll", "RegDeleteKeyA", &deleteKeyAsUser);
    realDeleteFile = replaceImport("kernel32.dll", "DeleteFileA", &deleteFileAsUser);
    realRemoveDirectory = replaceImport("kernel32.dll", "RemoveDirectoryA", &removeDirectoryAsUser);
    const auto realMoveFile = replaceImport("kernel32.dll", "MoveFileExA", &moveFileAsUser);
    const int exitCode = runRemoval("/Quorvel");
    replaceImport("user32.dll", "MessageBoxA", realBox);
    replaceImport("advapi32.dll", "RegOpenKeyExA", realOpenKey);
    replaceImport("advapi32.dll", "RegDeleteKeyA", realDeleteKey);
    replaceImport("kernel32.dll", "DeleteFileA", realDeleteFile);
    replaceImport("kernel32.dll", "RemoveDirectoryA", realRemoveDirectory);
    replaceImport("kernel32.dll", "MoveFileExA", realMoveFile);
    ASSERT_TRUE(realBox && realOpenKey && realDeleteKey && realDeleteFile && realRemoveDirectory && realMoveFile);

    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(shownBoxes.size(), 3u);
    const std::string text = shownBoxes[2].text;
    EXPECT_EQ(shownBoxes[2].caption, "Disinstallazione di Quorvel");
    EXPECT_EQ(text.find("Per rimuovere Quorvel servono i diritti di amministratore"), 0u) << text;
    for (const std::string& named : {inFolder("Quorvel.exe"), std::string("HKEY_CLASSES_ROOT\\.qvl")})
        EXPECT_NE(text.find(named + "\r\n"), std::string::npos) << named;
    // The type key, Uninstall, App Paths, the old HKLM setting, the common link.
    EXPECT_NE(text.find("\r\ne altri 5.\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(RestartText), std::string::npos);

    for (const char* name : Deleted)
        EXPECT_TRUE(exists(inFolder(name))) << name;
    for (const char* key : ClassKeys)
        EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, AppPathsKey));
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_TRUE(exists(common + "\\Quorvel.lnk"));
    EXPECT_EQ(runOnceValue(), "");
    EXPECT_TRUE(pendingDeletions().empty());
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, SettingsKey));
    EXPECT_FALSE(exists(desktopLink()));
    EXPECT_FALSE(exists(groupFolder()));
}

}  // namespace

namespace {

// Windows 98 has neither delayed deletions nor permissions: RunOnce with
// the old INF processor takes the last files, as before.
TEST_F(RemoveProgram, OnWindows98RunOnceAloneTakesTheLastFiles)
{
    const char AppDefaults[] = "Software\\Wine\\AppDefaults\\remove.exe";
    setValue(HKEY_CURRENT_USER, AppDefaults, "Version", "win98");
    RemoveRun run = runRemove("/Quorvel", {IDYES, IDNO, IDNO});
    RegDeleteKeyA(HKEY_CURRENT_USER, AppDefaults);
    ASSERT_EQ(run.boxes.size(), 3u);
    expectBox(run.boxes[2], "Quorvel.exe", RestartText);
    EXPECT_EQ(runOnceValue(), "rundll.exe setupx.dll,InstallHinfSection DefaultUninstall 132 "
                              "C:\\QuorvelProva\\Quorvel.inf");
    EXPECT_TRUE(pendingDeletions().empty());
    EXPECT_FALSE(exists(inFolder("Quorvel.exe")));
}

}  // namespace
