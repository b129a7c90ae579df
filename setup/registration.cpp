// Steps 2 and 6: the App Paths entry, the file types of the script's
// extensions, the Uninstall entry and the INF file adapted to the folder.
#include "setup/setup_program.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/ini.h"

namespace {

const unsigned ShortTextSize = 128;
const unsigned DescriptionSize = 1024;

// The result of the last registry call: a step that fails says whether
// Windows refused it.
LONG lastResult = ERROR_SUCCESS;

bool succeeded(LONG result)
{
    lastResult = result;
    return result == ERROR_SUCCESS;
}

bool refused()
{
    return lastResult == ERROR_ACCESS_DENIED;
}

bool setText(HKEY key, const char* name, const std::string& value)
{
    return succeeded(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)));
}

bool setNumber(HKEY key, const char* name, DWORD value)
{
    return succeeded(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                    sizeof value));
}

// An empty name would open the parent key itself and the values meant for
// the subkey would land there.
bool createKey(HKEY parent, const char* name, REGSAM access, HKEY* key)
{
    lastResult = ERROR_SUCCESS;
    if (!name[0])
        return false;
    return succeeded(RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key,
                                     nullptr));
}

// The box of the step: administrator rights when Windows refused, the
// step's own text otherwise.
void showStepError(HWND owner, const char* text, const char* caption, InstallStage stage)
{
    if (refused())
        showAccessDenied(owner, stage, caption);
    else
        showInstallError(owner, text, caption);
}

void report(const char* label, const char* text)
{
    setProgressText(text);
    stepProgress();
    logEntry(installContext, label, text);
}

// The keys after DefaultIcon, each parent first, down to the command.
bool createShellOpenCommand(HKEY typeKey, const char* folder, const char* extension)
{
    HKEY key = nullptr;
    for (unsigned i = 1; i < FileTypeKeyCount; ++i) {
        if (i > 1)
            RegCloseKey(key);
        if (!createKey(typeKey, FileTypeKeys[i], KEY_ALL_ACCESS, &key))
            return false;
    }
    const std::string program = scriptText(extension, "ShellOpen", ShortTextSize);
    const bool set = setText(key, nullptr, "\"" + std::string(folder) + "\\" + program + "\" %1");
    RegCloseKey(key);
    return set;
}

bool registerExtension(HWND owner, HKEY classes, const char* folder, const std::string& extension)
{
    const InstallStage stage = InstallStage::Registration;
    const char* ext = extension.c_str();
    HKEY extKey;
    if (!createKey(classes, ext, KEY_ALL_ACCESS, &extKey)) {
        showStepError(owner, "Impossibile creare la chiave per l'estensione", ext, stage);
        return false;
    }
    const std::string typeName = scriptText(ext, "FileType", ShortTextSize) + extension;
    const bool typeSet = setText(extKey, nullptr, typeName);
    RegCloseKey(extKey);
    report(LogCreatedKey, typeName.c_str());
    if (!typeSet) {
        showStepError(owner, "Impossibile inserire l'identificatore dell'estensione", typeName.c_str(), stage);
        return false;
    }

    HKEY typeKey;
    if (!createKey(classes, typeName.c_str(), KEY_ALL_ACCESS, &typeKey)) {
        showStepError(owner, "Impossibile creare la chiave per l'identificativo", typeName.c_str(), stage);
        return false;
    }
    const std::string description = scriptText(ext, "Desc", ShortTextSize);
    if (!setText(typeKey, nullptr, description)) {
        RegCloseKey(typeKey);
        showStepError(owner, "Impossibile inserire la descrizione dell'identificativo", description.c_str(),
                      stage);
        return false;
    }

    HKEY iconKey;
    if (!createKey(typeKey, FileTypeKeys[0], KEY_ALL_ACCESS, &iconKey)) {
        showInstallError(owner, "Impossibile inserire la descrizione dell'icona", description.c_str());
    } else {
        const std::string icon = scriptText(ext, "Icon", ShortTextSize);
        setText(iconKey, nullptr, "\"" + std::string(folder) + "\\" + icon + "\",0");
        RegCloseKey(iconKey);
    }

    const bool commandSet = createShellOpenCommand(typeKey, folder, ext);
    RegCloseKey(typeKey);
    report(LogCreatedKey, FileTypeKeys[FileTypeKeyCount - 1]);
    if (!commandSet) {
        showStepError(owner, "Impossibile inserire il comando di apertura", "Open", stage);
        return false;
    }
    return true;
}

// A reinstallation before the restart that completes an uninstallation:
// the pending clean-up, named by the product on the uninstaller's command
// line, would delete the new remove.exe and Setup.ini.
void dropPendingCleanUp(const std::string& exeRemove)
{
    char product[ProductSize];
    HKEY runOnce;
    if (!productFromCommandLine(exeRemove.c_str(), product, sizeof product) ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKey, 0, KEY_SET_VALUE, &runOnce) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(runOnce, product);
    RegCloseKey(runOnce);
}

// The bytes of what the script installs: its files and the script itself.
unsigned long long installedBytes(const char* folder)
{
    std::vector<std::string> names = readScriptList(installContext, "INSTALLFILELIST", InstallPathSize);
    names.push_back(ScriptFile);
    unsigned long long total = 0;
    for (const std::string& name : names) {
        char path[InstallPathSize];
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (isSafeFileName(name.c_str()) && joinPath(folder, name.c_str(), path, sizeof path) &&
            GetFileAttributesExA(path, GetFileExInfoStandard, &data))
            total += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return total;
}

// What the software list shows besides the name; none of them decides
// whether the entry was made.
void describeEntry(HKEY entry, const char* folder)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    setText(entry, "DisplayIcon", std::string(folder) + "\\" + scriptText("GENERAL", "AppPath", InstallPathSize));
    setText(entry, "Publisher", ProductPublisher);
    setText(entry, "DisplayVersion", ProductDisplayVersion);
    setText(entry, "InstallLocation", folder);
    setText(entry, "InstallDate", installDateText(now.wYear, now.wMonth, now.wDay));
    setNumber(entry, "EstimatedSize", estimatedSizeKb(installedBytes(folder)));
    setNumber(entry, "NoModify", 1);
    setNumber(entry, "NoRepair", 1);
}

HWND stepOwner()
{
    return GetWindow(static_cast<HWND>(installContext.progressDialog), GW_OWNER);
}

}  // namespace

bool registerAppPathAndFileTypes(HWND owner, const char* folder)
{
    if (isCancelled(installContext))
        return false;
    const InstallStage stage = InstallStage::Registration;
    HKEY appPaths;
    if (!succeeded(RegOpenKeyExA(HKEY_LOCAL_MACHINE, AppPathsKey, 0, KEY_ALL_ACCESS, &appPaths))) {
        showStepError(owner, "Impossibile aprire la chiave", AppPathsKey, stage);
        return false;
    }
    report(LogOpenedKey, AppPathsKey);

    const std::string appPath = scriptText("GENERAL", "AppPath", InstallPathSize);
    HKEY appKey;
    if (!createKey(appPaths, appPath.c_str(), KEY_ALL_ACCESS, &appKey)) {
        RegCloseKey(appPaths);
        showStepError(owner, "Impossibile creare la chiave in AppPath", appPath.c_str(), stage);
        return false;
    }
    const std::string program = std::string(folder) + "\\" + appPath;
    const bool set = setText(appKey, nullptr, program);
    RegCloseKey(appKey);
    RegCloseKey(appPaths);
    report(LogCreatedKey, program.c_str());
    if (!set) {
        showStepError(owner, "Impossibile inserire il percorso nella chiave", program.c_str(), stage);
        return false;
    }

    const std::vector<std::string> extensions = readScriptList(installContext, "EXTENSIONS", ShortTextSize);
    if (extensions.empty())
        return true;
    HKEY classes;
    if (!succeeded(RegOpenKeyExA(HKEY_LOCAL_MACHINE, MachineClassesKey, 0, KEY_CREATE_SUB_KEY, &classes))) {
        showStepError(owner, "Impossibile aprire la chiave", MachineClassesKey, stage);
        return false;
    }
    bool registered = true;
    for (const std::string& extension : extensions) {
        registered = !isCancelled(installContext) && registerExtension(owner, classes, folder, extension);
        if (!registered)
            break;
    }
    RegCloseKey(classes);
    // Explorer keeps the icons and commands of file types until told.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return registered;
}

bool registerUninstall(const char* folder)
{
    if (isCancelled(installContext))
        return false;
    HKEY uninstall;
    if (!succeeded(RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_WRITE, &uninstall))) {
        if (refused())
            showAccessDenied(stepOwner(), InstallStage::Uninstall, UninstallKey);
        return false;
    }

    const std::string name = scriptText("UNINSTALL", "Key", InstallPathSize);
    HKEY entry;
    const bool created = createKey(uninstall, name.c_str(), KEY_WRITE, &entry);
    const InstallFolderNames names = installFolderNames(folder);
    const std::string& shortPath = names.shortForm;
    const std::string exeRemove = scriptText("UNINSTALL", "ExeRemove", InstallPathSize);
    bool set = false;
    if (created) {
        setText(entry, "DisplayName", scriptText("UNINSTALL", "Desc", DescriptionSize));
        // NT runs the quoted long path on volumes without short names too;
        // 9x keeps the 8.3 form it has always had.
        set = setText(entry, "UninstallString",
                      uninstallCommand(currentInstallPolicy(), folder, shortPath, exeRemove));
        const LONG result = lastResult;
        if (set)
            describeEntry(entry, folder);
        lastResult = result;
        RegCloseKey(entry);
    }
    report(LogCreatedKey, "UninstallString");
    RegCloseKey(uninstall);
    if (!set) {
        if (refused())
            showAccessDenied(stepOwner(), InstallStage::Uninstall, (std::string(UninstallKey) + "\\" + name).c_str());
        return false;
    }
    dropPendingCleanUp(exeRemove);

    // The clean-up after an uninstallation runs this INF as an administrator
    // (RunOnce), so no other account may be able to change it. It stays in
    // the install folder, where remove.exe looks for it: on NT that folder is
    // either under Program Files or was given its own ACL by the folder
    // dialog, and the INF was written anew into it (step 1), so only
    // administrators can write it. Windows 9x has no accounts to guard.
    const std::string inf = scriptText("GENERAL", "Inf", InstallPathSize);
    const std::string infPath = std::string(folder) + "\\" + inf;
    // The profile rules of the platform, with every other line kept byte for
    // byte: Wine's own WritePrivateProfileStringA rewrites the whole file.
    const std::string destination = "0," + shortPath;
    IniFileProfile infFile(infPath.c_str());
    infFile.writeString("DestinationDirs", "InfFile", destination.c_str());
    infFile.writeString("DestinationDirs", "DefaultDestDir", destination.c_str());
    // Read back as remove reads it: an INF still naming another folder would
    // have the clean-up delete that folder's files at the next start.
    if (!infFileNamesFolder(infPath.c_str(), names)) {
        showInstallError(stepOwner(), "Impossibile modificare il file", infPath.c_str());
        return false;
    }
    report(LogModifiedFile, infPath.c_str());
    return true;
}
