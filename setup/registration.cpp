// Steps 2 and 6: the App Paths entry, the file types of the script's
// extensions, the Uninstall entry and the INF file adapted to the folder.
#include "setup/setup_program.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/ini.h"

namespace {

const unsigned ShortTextSize = 128;
const unsigned DescriptionSize = 1024;

bool setText(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// An empty name would open the parent key itself and the values meant for
// the subkey would land there.
bool createKey(HKEY parent, const char* name, REGSAM access, HKEY* key)
{
    if (!name[0])
        return false;
    return RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key,
                           nullptr) == ERROR_SUCCESS;
}

void report(const char* label, const char* text)
{
    setProgressText(text);
    stepProgress();
    logEntry(installContext, label, text);
}

bool createShellOpenCommand(HKEY typeKey, const char* folder, const char* extension)
{
    HKEY key;
    for (const char* name : {"Shell", "Shell\\Open"}) {
        if (!createKey(typeKey, name, KEY_ALL_ACCESS, &key))
            return false;
        RegCloseKey(key);
    }
    if (!createKey(typeKey, "Shell\\Open\\Command", KEY_ALL_ACCESS, &key))
        return false;
    const std::string program = scriptText(extension, "ShellOpen", ShortTextSize);
    const bool set = setText(key, nullptr, "\"" + std::string(folder) + "\\" + program + "\" %1");
    RegCloseKey(key);
    return set;
}

bool registerExtension(HWND owner, const char* folder, const std::string& extension)
{
    const char* ext = extension.c_str();
    HKEY extKey;
    if (!createKey(HKEY_CLASSES_ROOT, ext, KEY_ALL_ACCESS, &extKey)) {
        showInstallError(owner, "Impossibile creare la chiave per l'estensione", ext);
        return false;
    }
    const std::string typeName = scriptText(ext, "FileType", ShortTextSize) + extension;
    const bool typeSet = setText(extKey, nullptr, typeName);
    RegCloseKey(extKey);
    report(LogCreatedKey, typeName.c_str());
    if (!typeSet) {
        showInstallError(owner, "Impossibile inserire l'identificatore dell'estensione", typeName.c_str());
        return false;
    }

    HKEY typeKey;
    if (!createKey(HKEY_CLASSES_ROOT, typeName.c_str(), KEY_ALL_ACCESS, &typeKey)) {
        showInstallError(owner, "Impossibile creare la chiave per l'identificativo", typeName.c_str());
        return false;
    }
    const std::string description = scriptText(ext, "Desc", ShortTextSize);
    if (!setText(typeKey, nullptr, description)) {
        RegCloseKey(typeKey);
        showInstallError(owner, "Impossibile inserire la descrizione dell'identificativo",
                         description.c_str());
        return false;
    }

    HKEY iconKey;
    if (!createKey(typeKey, "DefaultIcon", KEY_ALL_ACCESS, &iconKey)) {
        showInstallError(owner, "Impossibile inserire la descrizione dell'icona", description.c_str());
    } else {
        const std::string icon = scriptText(ext, "Icon", ShortTextSize);
        setText(iconKey, nullptr, "\"" + std::string(folder) + "\\" + icon + "\",0");
        RegCloseKey(iconKey);
    }

    const bool commandSet = createShellOpenCommand(typeKey, folder, ext);
    RegCloseKey(typeKey);
    report(LogCreatedKey, "Shell\\Open\\Command");
    if (!commandSet) {
        showInstallError(owner, "Impossibile inserire il comando di apertura", "Open");
        return false;
    }
    return true;
}

// The product as the uninstaller sees it: the text after the first "/" of
// its command line, which names its RunOnce value.
std::string productOf(const std::string& exeRemove)
{
    const size_t slash = exeRemove.find('/');
    return slash == std::string::npos ? std::string() : exeRemove.substr(slash + 1);
}

// A reinstallation before the restart that completes an uninstallation:
// the pending clean-up would delete the new remove.exe and Setup.ini.
void dropPendingCleanUp(const std::string& product)
{
    HKEY runOnce;
    if (product.empty() ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_SET_VALUE, &runOnce) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(runOnce, product.c_str());
    RegCloseKey(runOnce);
}

std::string shortFolder(const char* folder)
{
    char shortPath[InstallPathSize];
    const DWORD length = GetShortPathNameA(folder, shortPath, sizeof shortPath);
    // Without a short form (no such folder, or no room) the long one is
    // still a usable path.
    std::string result = length > 0 && length < sizeof shortPath ? shortPath : folder;
    if (!result.empty() && result.back() == '\\')
        result.pop_back();
    return result;
}

}  // namespace

bool registerAppPathAndFileTypes(HWND owner, const char* folder)
{
    if (isCancelled(installContext))
        return false;
    HKEY appPaths;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, AppPathsKey, 0, KEY_ALL_ACCESS, &appPaths) != ERROR_SUCCESS) {
        showInstallError(owner, "Impossibile aprire la chiave", AppPathsKey);
        return false;
    }
    report(LogOpenedKey, AppPathsKey);

    const std::string appPath = scriptText("GENERAL", "AppPath", InstallPathSize);
    HKEY appKey;
    if (!createKey(appPaths, appPath.c_str(), KEY_ALL_ACCESS, &appKey)) {
        RegCloseKey(appPaths);
        showInstallError(owner, "Impossibile creare la chiave in AppPath", appPath.c_str());
        return false;
    }
    const std::string program = std::string(folder) + "\\" + appPath;
    const bool set = setText(appKey, nullptr, program);
    RegCloseKey(appKey);
    RegCloseKey(appPaths);
    report(LogCreatedKey, program.c_str());
    if (!set) {
        showInstallError(owner, "Impossibile inserire il percorso nella chiave", program.c_str());
        return false;
    }

    for (const std::string& extension : readScriptList(installContext, "EXTENSIONS", ShortTextSize)) {
        if (isCancelled(installContext))
            return false;
        if (!registerExtension(owner, folder, extension))
            return false;
    }
    return true;
}

bool registerUninstall(const char* folder)
{
    if (isCancelled(installContext))
        return false;
    HKEY uninstall;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_WRITE, &uninstall) != ERROR_SUCCESS)
        return false;

    const std::string name = scriptText("UNINSTALL", "Key", InstallPathSize);
    HKEY entry;
    const bool created = createKey(uninstall, name.c_str(), KEY_WRITE, &entry);
    const std::string shortPath = shortFolder(folder);
    const std::string exeRemove = scriptText("UNINSTALL", "ExeRemove", InstallPathSize);
    bool set = false;
    if (created) {
        setText(entry, "DisplayName", scriptText("UNINSTALL", "Desc", DescriptionSize));
        set = setText(entry, "UninstallString", shortPath + "\\" + exeRemove);
        RegCloseKey(entry);
    }
    report(LogCreatedKey, "UninstallString");
    RegCloseKey(uninstall);
    if (!set)
        return false;
    dropPendingCleanUp(productOf(exeRemove));

    const std::string inf = scriptText("GENERAL", "Inf", InstallPathSize);
    const std::string infPath = std::string(folder) + "\\" + inf;
    // The profile rules of the platform, with every other line kept byte for
    // byte: Wine's own WritePrivateProfileStringA rewrites the whole file.
    const std::string destination = "0," + shortPath;
    IniFileProfile infFile(infPath.c_str());
    infFile.writeString("DestinationDirs", "InfFile", destination.c_str());
    infFile.writeString("DestinationDirs", "DefaultDestDir", destination.c_str());
    // Read back: an INF still naming another folder would have the clean-up
    // delete that folder's files at the next start.
    InstallFolderNames names;
    names.longForm = folder;
    names.shortForm = shortPath;
    IniFileProfile written(infPath.c_str());
    if (!infNamesFolder(written, names)) {
        showInstallError(GetWindow(static_cast<HWND>(installContext.progressDialog), GW_OWNER),
                         "Impossibile modificare il file", infPath.c_str());
        return false;
    }
    report(LogModifiedFile, infPath.c_str());
    return true;
}
