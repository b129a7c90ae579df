// remove.exe: undoes an installation made by setup. It has no window of its
// own; it asks its questions in message boxes and carries out the uninstall
// plan, then leaves the last three files to the next start of Windows: on NT
// to the delayed deletions, and to the INF processor through the RunOnce key
// where the folder is one that only administrators may change.
#include "common/win/windows_profile.h"
#include "remove/removal.h"
#include "remove/uninstall_plan.h"
#include "setup/install_rules_win32.h"

#include <cstdio>
#include <cstring>

namespace {

const unsigned MaxListedLeft = 12;  // lines of the final message, beyond them a count
const char AppPathsDeniedText[] =
    "Per leggere la chiave servono i diritti di amministratore: avviare la disinstallazione come "
    "amministratore. Non è stato rimosso nulla.";

bool askYes(const char* text, const char* caption, UINT type)
{
    return MessageBoxA(nullptr, text, caption, type) == IDYES;
}

void showError(const char* text, const char* caption)
{
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
}

// The install folder from the product's App Paths entry and the script in
// it, in the form setup gave them ("C:\Quorvel\\" from an older setup is
// "C:\Quorvel"). False after the message: every later step names the
// folder, and an empty one would reach the root of the current drive.
bool findInstallFolder(const char* product, InstallContext& context)
{
    const std::string key = appPathsKeyFor(product);
    HKEY handle;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle);
    if (opened != ERROR_SUCCESS) {
        showError(opened == ERROR_ACCESS_DENIED ? AppPathsDeniedText : "Impossibile aprire la chiave",
                  key.c_str());
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
    char folder[InstallPathSize];
    if (result != ERROR_SUCCESS || !text || !installFolderFromAppPath(value, folder, InstallPathSize) ||
        !setInstallFolder(context, folder)) {
        showError("Impossibile recuperare il percorso", key.c_str());
        return false;
    }
    return true;
}

// File types are read and deleted where setup writes them.
std::string machinePath(RegistryRoot root, const std::string& path)
{
    return root == RegistryRoot::ClassesRoot ? std::string(MachineClassesKey) + "\\" + path : path;
}

// The registry and the shortcut files as the plan reads them.
class MachineView : public InstallationView {
public:
    bool keyExists(RegistryRoot root, const std::string& path) override
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, machinePath(root, path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::string keyText(RegistryRoot root, const std::string& path, const char* name) override
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, machinePath(root, path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
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
        IShellLinkA* link;
        IPersistFile* file;
        if (FAILED(openShellLink(&link, &file)))
            return target;
        WCHAR wide[MAX_PATH];
        char path[MAX_PATH] = "";
        if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH) &&
            SUCCEEDED(file->Load(wide, STGM_READ)) &&
            link->GetPath(path, MAX_PATH, nullptr, 0) == S_OK)
            target = path;
        file->Release();
        link->Release();
        return target;
    }
};

// A file that cannot be deleted because it is in use stays silently; one
// refused for lack of rights is listed.
void deleteFile(const char* path, unsigned* deleted, RemovalOutcome* outcome)
{
    if (DeleteFileA(path))
        ++*deleted;
    else if (GetLastError() == ERROR_ACCESS_DENIED)
        outcome->denied.push_back(path);
}

// Every non-directory entry matching the pattern whose long name really
// ends with the extension: the pattern alone also matches through 8.3 names.
void deleteDataFiles(const char* folder, const std::string& pattern, const std::string& extension,
                     RemovalOutcome* outcome)
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
            deleteFile(path, &outcome->filesDeleted, outcome);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// A key already gone is no failure; one refused for lack of rights is
// listed in the final message instead of a box each.
void deleteKeys(const UninstallPlan& plan, RemovalOutcome* outcome)
{
    for (const KeyDeletion& key : plan.keys) {
        const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, machinePath(key.root, key.path).c_str());
        if (result == ERROR_SUCCESS)
            ++outcome->keysDeleted;
        else if (result == ERROR_ACCESS_DENIED)
            outcome->denied.push_back(keyDisplayName(key));
        else if (result != ERROR_FILE_NOT_FOUND)
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

// The application's layout setting: the value "Layout" under
// Software\<product>, now in the user's HKCU, formerly in HKLM (and, where
// Windows virtualised that write, in the user's VirtualStore). No script
// names it. The key goes too once empty: Windows 9x would delete a key with
// subkeys whole.
void deleteSettings(const char* product, RemovalOutcome* outcome)
{
    const struct {
        HKEY root;
        const char* format;
        const char* shown;
    } places[] = {
        {HKEY_CURRENT_USER, "Software\\%s", "HKEY_CURRENT_USER\\Software\\%s"},
        {HKEY_LOCAL_MACHINE, "Software\\%s", "HKEY_LOCAL_MACHINE\\Software\\%s"},
        {HKEY_CURRENT_USER, "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\%s", nullptr},
        {HKEY_CURRENT_USER, "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\%s", nullptr},
    };
    for (const auto& place : places) {
        char path[ProductSize + 80];
        std::snprintf(path, sizeof path, place.format, product);
        HKEY key;
        if (RegOpenKeyExA(place.root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        const bool hasLayout = RegQueryValueExA(key, "Layout", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        DWORD subkeys = 1;
        DWORD values = 1;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
        LONG result;
        if (subkeys > 0 || values > (hasLayout ? 1u : 0u)) {
            // Other values of the user's stay, and so does the key.
            if (!hasLayout)
                continue;
            result = RegOpenKeyExA(place.root, path, 0, KEY_SET_VALUE, &key);
            if (result == ERROR_SUCCESS) {
                result = RegDeleteValueA(key, "Layout");
                RegCloseKey(key);
            }
        } else {
            result = RegDeleteKeyA(place.root, path);
        }
        if (result == ERROR_ACCESS_DENIED && place.shown) {
            char shown[ProductSize + 80];
            std::snprintf(shown, sizeof shown, place.shown, product);
            outcome->denied.push_back(shown);
        }
    }
}

void deleteShortcuts(const UninstallPlan& plan, bool desktopFound, bool programsFound, RemovalOutcome* outcome)
{
    if (!desktopFound)
        showNoLinkFolder(nullptr, LinkPlace::Desktop);
    for (const std::string& link : plan.desktopLinks)
        deleteFile(link.c_str(), &outcome->linksDeleted, outcome);

    if (!programsFound)
        showNoLinkFolder(nullptr, LinkPlace::Programs);
    for (const ProgramGroup& group : plan.groups) {
        const unsigned before = outcome->linksDeleted;
        for (const std::string& link : group.links)
            deleteFile(link.c_str(), &outcome->linksDeleted, outcome);
        // Only a folder this run has shown to be the group; one that still
        // holds files of the user's stays.
        if (outcome->linksDeleted > before)
            RemoveDirectoryA(group.folder.c_str());
    }
}

// The folder and the INF run at the next administrator's logon may be
// changed only by administrators: otherwise another account could put its
// own commands into that INF.
bool onlyAdministratorsMayChange(const char* path)
{
    typedef BOOL(WINAPI * GetSecurity)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
    typedef BOOL(WINAPI * GetTokenInfo)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    // Looked up: Windows 9x, which has no permissions, never gets here, but
    // must still load the program.
    const HMODULE advapi = GetModuleHandleA("advapi32.dll");
    const GetSecurity getSecurity =
        advapi ? reinterpret_cast<GetSecurity>(reinterpret_cast<void*>(GetProcAddress(advapi, "GetFileSecurityA"))) : nullptr;
    const GetTokenInfo getTokenInfo =
        advapi ? reinterpret_cast<GetTokenInfo>(reinterpret_cast<void*>(GetProcAddress(advapi, "GetTokenInformation"))) : nullptr;
    if (!getSecurity || !getTokenInfo)
        return false;
    std::string user;
    HANDLE token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD buffer[128];
        DWORD size = 0;
        if (getTokenInfo(token, TokenUser, buffer, sizeof buffer, &size)) {
            const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
            const size_t available = sizeof buffer - (static_cast<BYTE*>(sid) - reinterpret_cast<BYTE*>(buffer));
            user = sidText(static_cast<const unsigned char*>(sid), available);
        }
        CloseHandle(token);
    }
    DWORD descriptor[1024];
    DWORD size = 0;
    if (!getSecurity(path, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor,
                     &size))
        return false;
    return onlyAdministratorsMayWrite(reinterpret_cast<const unsigned char*>(descriptor),
                                      size && size < sizeof descriptor ? size : sizeof descriptor, user);
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

}  // namespace

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

    InstallContext context;
    if (!findInstallFolder(product, context))
        return 0;
    const char* folder = context.installFolder;
    WindowsProfile script(context.scriptPath);
    const InstallFolderNames names = installFolderNames(folder);
    char windows[InstallPathSize];
    char system[InstallPathSize];
    readSystemFolders(windows, system);
    OSVERSIONINFOA info;
    WindowsVersion version;
    const WindowsVersion* running = readWindowsVersion(info, version);
    char label[WindowsVersionLabelSize];
    UninstallInputs inputs;
    inputs.product = product;
    inputs.installFolder = folder;
    inputs.shortInstallFolder = names.shortForm.c_str();
    inputs.windowsFolder = windows;
    inputs.systemFolder = system;
    // The user's folders, then those where setup puts the shortcuts for all
    // users on NT.
    char linkFolders[6][InstallPathSize];
    const char** places[] = {&inputs.desktopFolder,       &inputs.programsFolder,       &inputs.startupFolder,
                             &inputs.commonDesktopFolder, &inputs.commonProgramsFolder, &inputs.commonStartupFolder};
    for (int i = 0; i < 6; ++i) {
        const bool found = linkPlaceFolder(nullptr, static_cast<LinkPlace>(i % 3), i >= 3, linkFolders[i]);
        *places[i] = found ? linkFolders[i] : nullptr;
    }
    // Windows 95 and 98 (or an unknown version) have only the old INF
    // processor, rundll.exe setupx.dll.
    inputs.oldSetupEngine = windowsVersionLabel(running, label, sizeof label);
    // The shell link object reads the shortcuts back for the plan.
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    MachineView view;
    UninstallPlan plan;
    const bool planned = !isRefusedDestination(folder, false) && buildUninstallPlan(script, inputs, view, &plan);
    if (com)
        CoUninitialize();
    if (!planned) {
        showError("La cartella indicata per il programma è la radice di un'unità, la cartella di "
                  "Windows o quella di sistema: non è stato rimosso nulla.",
                  folder);
        return 0;
    }

    RemovalOutcome outcome;
    for (const std::string& file : plan.files)
        deleteFile(file.c_str(), &outcome.filesDeleted, &outcome);

    if (askYes("Cancellare anche i file con i dati contenuti nella cartella?", folder, MB_YESNO)) {
        for (size_t i = 0; i < plan.dataPatterns.size(); ++i)
            deleteDataFiles(folder, plan.dataPatterns[i], plan.dataExtensions[i], &outcome);
    }

    deleteKeys(plan, &outcome);
    deleteSettings(product, &outcome);
    deleteShortcuts(plan, inputs.desktopFolder != nullptr, inputs.programsFolder != nullptr, &outcome);

    const std::string left = leftText(plan.left);
    // Refused steps: the last three files stay so that the removal can be
    // run again as administrator, and nothing is called complete.
    if (!outcome.denied.empty()) {
        MessageBoxA(nullptr, (accessDeniedReport(outcome, product) + (left.empty() ? "" : "\r\n\r\n" + left)).c_str(),
                    caption, MB_OK | MB_ICONERROR);
        return 0;
    }
    // The clean-up deletes its three files from the folder the INF names:
    // only this folder may be named there.
    char infName[ProductSize + 4];
    char infPath[InstallPathSize] = "";
    std::snprintf(infName, sizeof infName, "%s.inf", product);
    if (!joinPath(folder, infName, infPath, sizeof infPath) || !infFileNamesFolder(infPath, names)) {
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

    // On NT the system deletes the last files and the folder at the restart,
    // before anyone logs on: RunOnce waits for an administrator's logon,
    // which a standard user's PC may never see.
    const bool nt = running && running->platformId == VER_PLATFORM_WIN32_NT;
    bool delayed = false;
    if (nt) {
        delayed = true;
        for (const std::string& path : plan.delayedDeletions) {
            if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
                continue;
            delayed = false;
            if (GetLastError() == ERROR_ACCESS_DENIED)
                outcome.denied.push_back(path);
        }
    }
    bool registered = false;
    if (!nt || (onlyAdministratorsMayChange(folder) && onlyAdministratorsMayChange(infPath))) {
        HKEY runOnce;
        const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_WRITE, &runOnce);
        if (opened == ERROR_SUCCESS) {
            registered = RegSetValueExA(runOnce, plan.runOnceName.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(plan.runOnceCommand.c_str()),
                                        static_cast<DWORD>(plan.runOnceCommand.size() + 1)) == ERROR_SUCCESS;
            RegCloseKey(runOnce);
        } else if (opened == ERROR_ACCESS_DENIED && !delayed) {
            outcome.denied.push_back(std::string("HKEY_LOCAL_MACHINE\\") + RunOnceKey);
        }
    }
    if (!outcome.denied.empty()) {
        MessageBoxA(nullptr, (accessDeniedReport(outcome, product) + (left.empty() ? "" : "\r\n\r\n" + left)).c_str(),
                    caption, MB_OK | MB_ICONERROR);
        return 0;
    }
    if (!registered && !delayed) {
        if (!left.empty())
            MessageBoxA(nullptr, left.c_str(), executable, MB_OK | MB_ICONWARNING);
        return 0;
    }

    const std::string restart = left + "La disinstallazione sarà completata al prossimo riavvio di Windows. "
                                       "Riavviare Windows adesso?";
    if (askYes(restart.c_str(), executable, MB_YESNO))
        requestRestart();
    return 0;
}

namespace {

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
