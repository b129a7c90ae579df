// remove.exe: undoes an installation made by setup. It has no window of its
// own; it asks its questions in message boxes and carries out the uninstall
// plan, then leaves the last three files to the INF processor at the next
// start of Windows through the RunOnce key.
#include <windows.h>
#include <shlobj.h>

#include "common/bounded_text.h"
#include "common/win/windows_profile.h"
#include "remove/uninstall_plan.h"
#include "setup/install_context.h"
#include "setup/install_rules.h"
#include "setup/windows_version.h"

#include <cstdio>
#include <cstring>

namespace {

const unsigned MaxListedLeft = 12;  // lines of the final message, beyond them a count

bool askYes(const char* text, const char* caption, UINT type)
{
    return MessageBoxA(nullptr, text, caption, type) == IDYES;
}

void showError(const char* text, const char* caption)
{
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
}

// The install folder from the product's App Paths entry and the script in
// it. False after the message: every later step names the folder, and an
// empty one would reach the root of the current drive.
bool findInstallFolder(const char* product, char* folder, char* scriptPath)
{
    const std::string key = appPathsKeyFor(product);
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) {
        showError("Impossibile aprire la chiave", key.c_str());
        return false;
    }
    // A longer value fails the read (ERROR_MORE_DATA) instead of being cut
    // into another folder's name.
    char value[InstallPathSize + 1];
    DWORD type = 0;
    DWORD bytes = InstallPathSize;
    const LONG result = RegQueryValueExA(handle, nullptr, nullptr, &type,
                                         reinterpret_cast<BYTE*>(value), &bytes);
    RegCloseKey(handle);
    value[result == ERROR_SUCCESS ? bytes : 0] = '\0';
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    if (result != ERROR_SUCCESS || !text ||
        !installFolderFromAppPath(value, folder, InstallPathSize)) {
        showError("Impossibile recuperare il percorso", key.c_str());
        return false;
    }
    // A folder typed as "C:\Quorvel\\" by an older setup still names the
    // same folder.
    const std::string normal = normaliseFolder(folder);
    copyBounded(folder, InstallPathSize, normal.c_str());
    if (!joinPath(folder, "setup.ini", scriptPath, InstallPathSize)) {
        showError("Impossibile recuperare il percorso", key.c_str());
        return false;
    }
    return true;
}

HKEY rootOf(RegistryRoot root)
{
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

// The registry and the shortcut files as the plan reads them.
class MachineView : public InstallationView {
public:
    bool keyExists(RegistryRoot root, const std::string& path) override
    {
        HKEY key;
        if (RegOpenKeyExA(rootOf(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::string keyText(RegistryRoot root, const std::string& path, const char* name) override
    {
        HKEY key;
        if (RegOpenKeyExA(rootOf(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::string();
        char value[1024];
        DWORD type = 0;
        DWORD bytes = sizeof value - 1;
        const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::string();
        value[bytes] = '\0';
        return value;
    }

    bool fileExists(const std::string& path) override
    {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The stored target, read back through the shell's link object without
    // resolving it: the program it names may already be deleted.
    std::string linkTarget(const std::string& linkFile) override
    {
        std::string target;
        IShellLinkA* link = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link))))
            return target;
        IPersistFile* file = nullptr;
        WCHAR wide[MAX_PATH];
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            char path[MAX_PATH] = "";
            if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH) &&
                SUCCEEDED(file->Load(wide, STGM_READ)) && link->GetPath(path, MAX_PATH, nullptr, 0) == S_OK)
                target = path;
            file->Release();
        }
        link->Release();
        return target;
    }
};

bool specialFolderPath(int folderId, char* path)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderId, &items)))
        return false;
    const BOOL converted = SHGetPathFromIDListA(items, path);
    IMalloc* allocator;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(items);
        allocator->Release();
    }
    return converted != FALSE;
}

// windowsVersionLabel's flag: Windows 95 and 98 (or an unknown version) have
// only the old INF processor, rundll.exe setupx.dll.
bool oldSetupEngine()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    char label[WindowsVersionLabelSize];
    if (!GetVersionExA(&info))
        return windowsVersionLabel(nullptr, label, sizeof label);
    const WindowsVersion version = {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId,
                                    info.szCSDVersion};
    return windowsVersionLabel(&version, label, sizeof label);
}

// Every non-directory entry matching the pattern whose long name really
// ends with the extension: the pattern alone also matches through 8.3 names.
void deleteDataFiles(const char* folder, const std::string& pattern, const std::string& extension)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        char path[InstallPathSize];
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            isDataFileName(found.cFileName, extension.c_str()) &&
            joinPath(folder, found.cFileName, path, sizeof path))
            DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void deleteKeys(const UninstallPlan& plan)
{
    for (const KeyDeletion& key : plan.keys) {
        if (RegDeleteKeyA(rootOf(key.root), key.path.c_str()) != ERROR_SUCCESS)
            showError("Impossibile cancellare la chiave", key.path.c_str());
    }
}

// What the script named but the plan kept, one line each, for the final
// message; empty when nothing was kept.
std::string leftText(const std::vector<std::string>& left)
{
    if (left.empty())
        return std::string();
    std::string text = "Non sono stati rimossi, perché non appartengono a questa installazione:\r\n";
    for (size_t i = 0; i < left.size() && i < MaxListedLeft; ++i)
        text += left[i].substr(0, 200) + "\r\n";
    if (left.size() > MaxListedLeft) {
        char more[48];
        std::snprintf(more, sizeof more, "e altri %u.\r\n", static_cast<unsigned>(left.size() - MaxListedLeft));
        text += more;
    }
    return text + "\r\n";
}

std::string systemFolder(UINT (WINAPI* query)(LPSTR, UINT))
{
    char path[MAX_PATH] = "";
    const UINT length = query(path, sizeof path);
    return length > 0 && length < sizeof path ? path : "";
}

// The application keeps its layout setting in HKLM\Software\<product>,
// which no script names. The key goes too, but only while it holds that
// value alone: Windows 9x would delete a key with subkeys whole.
void deleteSettingsKey(const char* product)
{
    char path[ProductSize + 16];
    std::snprintf(path, sizeof path, "Software\\%s", product);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 1;
    DWORD values = 2;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    const bool onlyLayout =
        subkeys == 0 && (values == 0 || (values == 1 && RegQueryValueExA(key, "Layout", nullptr, nullptr, nullptr,
                                                                          nullptr) == ERROR_SUCCESS));
    RegCloseKey(key);
    if (onlyLayout)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
}

void deleteShortcuts(const UninstallPlan& plan, bool desktopFound, bool programsFound)
{
    if (!desktopFound)
        showError("Impossibile trovare il folder Desktop", "");
    else if (!plan.desktopLink.empty())
        DeleteFileA(plan.desktopLink.c_str());

    if (!programsFound) {
        showError("Impossibile trovare il folder nel menu Start", "Programmi");
        return;
    }
    for (const std::string& link : plan.groupLinks)
        DeleteFileA(link.c_str());
    // A group that still holds files of the user's stays.
    if (!plan.groupFolder.empty())
        RemoveDirectoryA(plan.groupFolder.c_str());
}

// On the NT family a process may shut the system down only with the
// shutdown privilege enabled; Windows 9x has no tokens and needs none.
void requestRestart()
{
    HANDLE token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    ExitWindowsEx(EWX_REBOOT, 0);
}

int runRemoval(const char* commandLine)
{
    char product[ProductSize];
    if (!productFromCommandLine(commandLine, product, sizeof product))
        return -1;

    char caption[ProductSize + 32];
    std::snprintf(caption, sizeof caption, "Disinstallazione di %s", product);
    if (!askYes("Siete sicuri di voler rimuovere questo programma dal vostro computer?", caption,
                MB_YESNO | MB_ICONSTOP))
        return 0;
    char executable[ProductSize + 4];
    std::snprintf(executable, sizeof executable, "%s.exe", product);

    char folder[InstallPathSize];
    char scriptPath[InstallPathSize];
    if (!findInstallFolder(product, folder, scriptPath))
        return 0;

    WindowsProfile script(scriptPath);
    char desktop[MAX_PATH];
    char programs[MAX_PATH];
    char startup[MAX_PATH];
    char shortFolder[InstallPathSize];
    char longFolder[InstallPathSize];
    const DWORD shortLength = GetShortPathNameA(folder, shortFolder, sizeof shortFolder);
    const DWORD longLength = GetLongPathNameA(folder, longFolder, sizeof longFolder);
    const std::string windows = systemFolder(GetWindowsDirectoryA);
    const std::string system = systemFolder(GetSystemDirectoryA);
    UninstallInputs inputs;
    inputs.product = product;
    inputs.installFolder = folder;
    inputs.shortInstallFolder = shortLength > 0 && shortLength < sizeof shortFolder ? shortFolder : nullptr;
    inputs.windowsFolder = windows.c_str();
    inputs.systemFolder = system.c_str();
    inputs.desktopFolder = specialFolderPath(CSIDL_DESKTOP, desktop) ? desktop : nullptr;
    inputs.programsFolder = specialFolderPath(CSIDL_PROGRAMS, programs) ? programs : nullptr;
    inputs.startupFolder = specialFolderPath(CSIDL_STARTUP, startup) ? startup : nullptr;
    inputs.oldSetupEngine = oldSetupEngine();
    const bool longForbidden = longLength > 0 && longLength < sizeof longFolder &&
                               isForbiddenInstallFolder(longFolder, inputs.windowsFolder, inputs.systemFolder, false);
    // The shell link object reads the shortcuts back for the plan.
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    MachineView view;
    UninstallPlan plan;
    const bool planned = !longForbidden && buildUninstallPlan(script, inputs, view, &plan);
    if (com)
        CoUninitialize();
    if (!planned) {
        showError("La cartella indicata per il programma è la radice di un'unità, la cartella di "
                  "Windows o quella di sistema: non è stato rimosso nulla.",
                  folder);
        return 0;
    }

    for (const std::string& file : plan.files)
        DeleteFileA(file.c_str());

    if (askYes("Cancellare anche i file con i dati contenuti nella cartella?", folder, MB_YESNO)) {
        for (size_t i = 0; i < plan.dataPatterns.size(); ++i)
            deleteDataFiles(folder, plan.dataPatterns[i], plan.dataExtensions[i]);
    }

    deleteKeys(plan);
    deleteSettingsKey(product);
    deleteShortcuts(plan, inputs.desktopFolder != nullptr, inputs.programsFolder != nullptr);

    const std::string left = leftText(plan.left);
    // The clean-up deletes its three files from the folder the INF names:
    // only this folder may be named there.
    char infName[ProductSize + 4];
    char infPath[InstallPathSize] = "";
    std::snprintf(infName, sizeof infName, "%s.inf", product);
    InstallFolderNames names;
    names.longForm = folder;
    names.shortForm = inputs.shortInstallFolder ? inputs.shortInstallFolder : "";
    WindowsProfile inf(joinPath(folder, infName, infPath, sizeof infPath) ? infPath : "");
    if (!infPath[0] || !infNamesFolder(inf, names)) {
        char text[ProductSize + 160];
        std::snprintf(text, sizeof text,
                      "Il file non indica questa cartella di installazione: %s, remove.exe e setup.ini "
                      "restano nella cartella e vanno cancellati a mano.",
                      infName);
        showError(text, infPath[0] ? infPath : folder);
        if (!left.empty())
            MessageBoxA(nullptr, left.c_str(), executable, MB_OK | MB_ICONWARNING);
        return 0;
    }

    HKEY runOnce;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_WRITE, &runOnce) != ERROR_SUCCESS) {
        if (!left.empty())
            MessageBoxA(nullptr, left.c_str(), executable, MB_OK | MB_ICONWARNING);
        return 0;
    }
    RegSetValueExA(runOnce, plan.runOnceName.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(plan.runOnceCommand.c_str()),
                   static_cast<DWORD>(plan.runOnceCommand.size() + 1));
    RegCloseKey(runOnce);

    const std::string restart = left + "La disinstallazione sarà completata al prossimo riavvio di Windows. "
                                       "Riavviare Windows adesso?";
    if (askYes(restart.c_str(), executable, MB_YESNO))
        requestRestart();
    return 0;
}

// The arguments: the command line without the program's name, as WinMain
// would receive them.
const char* argumentsOf(const char* commandLine)
{
    const char* at = commandLine;
    if (*at == '"') {
        ++at;
        while (*at && *at != '"')
            ++at;
        if (*at == '"')
            ++at;
    } else {
        while (static_cast<unsigned char>(*at) > ' ')
            ++at;
    }
    while (*at && static_cast<unsigned char>(*at) <= ' ')
        ++at;
    return at;
}

}  // namespace

// The program starts here, without the C runtime's start-up code (which
// would be a third of its size): it has no static objects to construct, and
// the system's C library initialises itself.
extern "C" void WINAPI removeEntry()
{
    ExitProcess(static_cast<UINT>(runRemoval(argumentsOf(GetCommandLineA()))));
}
