// remove.exe: undoes an installation made by setup. It has no window of its
// own; it asks its questions in message boxes and carries out the uninstall
// plan, then leaves the last three files to the INF processor at the next
// start of Windows through the RunOnce key.
#include <windows.h>
#include <shlobj.h>

#include "common/win/windows_profile.h"
#include "remove/uninstall_plan.h"
#include "setup/install_context.h"
#include "setup/windows_version.h"

#include <cstdio>

namespace {

const char RunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

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
        !installFolderFromAppPath(value, folder, InstallPathSize) ||
        !joinPath(folder, "setup.ini", scriptPath, InstallPathSize)) {
        showError("Impossibile recuperare il percorso", key.c_str());
        return false;
    }
    return true;
}

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
        const HKEY root = key.root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
        if (RegDeleteKeyA(root, key.path.c_str()) != ERROR_SUCCESS)
            showError("Impossibile cancellare la chiave", key.path.c_str());
    }
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
    UninstallInputs inputs;
    inputs.product = product;
    inputs.installFolder = folder;
    inputs.desktopFolder = specialFolderPath(CSIDL_DESKTOP, desktop) ? desktop : nullptr;
    inputs.programsFolder = specialFolderPath(CSIDL_PROGRAMS, programs) ? programs : nullptr;
    inputs.oldSetupEngine = oldSetupEngine();
    UninstallPlan plan;
    if (!buildUninstallPlan(script, inputs, &plan))
        return 0;

    for (const std::string& file : plan.files)
        DeleteFileA(file.c_str());

    if (askYes("Cancellare anche i file con i dati contenuti nella cartella?", folder, MB_YESNO)) {
        for (size_t i = 0; i < plan.dataPatterns.size(); ++i)
            deleteDataFiles(folder, plan.dataPatterns[i], plan.dataExtensions[i]);
    }

    deleteKeys(plan);
    deleteSettingsKey(product);
    deleteShortcuts(plan, inputs.desktopFolder != nullptr, inputs.programsFolder != nullptr);

    HKEY runOnce;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_WRITE, &runOnce) != ERROR_SUCCESS)
        return 0;
    RegSetValueExA(runOnce, plan.runOnceName.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(plan.runOnceCommand.c_str()),
                   static_cast<DWORD>(plan.runOnceCommand.size() + 1));
    RegCloseKey(runOnce);

    if (askYes("La disinstallazione sarà completata al prossimo riavvio di Windows. "
               "Riavviare Windows adesso?",
               executable, MB_YESNO))
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
