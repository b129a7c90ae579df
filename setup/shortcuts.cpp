// Steps 3 and 4: the Start-menu group folder, one shortcut in it for each
// LINKLIST entry, and the desktop shortcut, made through the shell's link
// object.
#include "setup/setup_program.h"

#include <cstring>
#include <string>

namespace {

const unsigned LinkNameSize = 128;
const unsigned DesktopTextSize = 65535;

bool programsFolder(HWND owner, char (&path)[InstallPathSize])
{
    if (linkFolder(owner, LinkPlace::Programs, path))
        return true;
    showNoLinkFolder(owner, LinkPlace::Programs);
    return false;
}

std::string groupFolder(const char* programs)
{
    return inShellFolder(programs, scriptText("GENERAL", "NomeGruppo", InstallPathSize));
}

// A shortcut that could not be written is logged and reported as such, and
// stops the step: the uninstaller would find nothing of it either.
bool makeLink(HWND owner, const std::string& target, const std::string& linkFile,
              const std::string& description, const std::string& arguments, const char* folder)
{
    const HRESULT result = createShellLink(target.c_str(), linkFile.c_str(), description.c_str(),
                                           arguments.c_str(), folder);
    if (SUCCEEDED(result))
        return true;
    logEntry(installContext, LogFailedLink, linkFile.c_str());
    if (result == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))
        showAccessDenied(owner, InstallStage::Shortcuts, linkFile.c_str());
    else
        showInstallError(owner, "Impossibile creare il collegamento", linkFile.c_str());
    return false;
}

bool createGroupLink(HWND owner, const char* folder, const std::string& group, const std::string& name)
{
    const char* section = name.c_str();
    const std::string exe = scriptText(section, "Exe", InstallPathSize);
    const std::string target =
        readScriptInt(installContext, section, "NoPath") ? exe : std::string(folder) + "\\" + exe;
    std::string arguments = scriptText(section, "Args", InstallPathSize);
    if (!arguments.empty()) {
        const std::string file = scriptText(section, "File", InstallPathSize);
        if (!file.empty())
            arguments += " " + std::string(folder) + "\\" + file;
    }
    if (!makeLink(owner, target, groupLinkFile(group, name), name, arguments, folder))
        return false;
    setProgressText(target.c_str());
    stepProgress();
    logEntry(installContext, LogCreatedLink, target.c_str());
    return true;
}

}  // namespace

// An elevated setup runs as the administrator who gave the credentials: in
// that account's own folders the user who installed would find no links.
bool linkFolder(HWND owner, LinkPlace place, char (&path)[InstallPathSize])
{
    return (currentInstallPolicy().commonShellFolders && linkPlaceFolder(owner, place, true, path)) ||
           linkPlaceFolder(owner, place, false, path);
}

bool createProgramGroup(HWND owner, const char* /*folder*/)
{
    char programs[InstallPathSize];
    if (!programsFolder(owner, programs))
        return false;
    const std::string group = groupFolder(programs);
    if (!SetCurrentDirectoryA(group.c_str()) && !CreateDirectoryA(group.c_str(), nullptr)) {
        if (lastErrorIsAccessDenied())
            showAccessDenied(owner, InstallStage::Shortcuts, group.c_str());
        else
            showInstallError(owner, "Impossibile creare la directory", group.c_str());
        return false;
    }
    return true;
}

bool createShortcuts(HWND owner, const char* folder)
{
    char programs[InstallPathSize];
    if (!programsFolder(owner, programs))
        return false;
    const std::string group = groupFolder(programs);

    // S_FALSE says that COM was already initialised on this thread (the
    // folder browser may have done it): the links work all the same.
    if (FAILED(CoInitialize(nullptr))) {
        showInstallError(owner, "Impossibile inizializzare COM", "Creazione collegamenti");
        return false;
    }
    for (const std::string& name : readScriptList(installContext, "LINKLIST", LinkNameSize)) {
        if (!createGroupLink(owner, folder, group, name)) {
            CoUninitialize();
            return false;
        }
    }

    char desktop[InstallPathSize];
    if (!linkFolder(owner, LinkPlace::Desktop, desktop)) {
        showNoLinkFolder(owner, LinkPlace::Desktop);
        CoUninitialize();
        return false;
    }
    const std::string linkFile = inShellFolder(desktop, scriptText("DESKTOP", "Link", DesktopTextSize));
    const std::string target =
        std::string(folder) + "\\" + scriptText("DESKTOP", "Exe", DesktopTextSize);
    if (!makeLink(owner, target, linkFile, scriptText("DESKTOP", "DisplayName", DesktopTextSize), "", folder)) {
        CoUninitialize();
        return false;
    }
    setProgressText(linkFile.c_str());
    stepProgress();
    logEntry(installContext, LogCreatedDesktopLink, target.c_str());

    CoUninitialize();
    return true;
}

HRESULT createShellLink(const char* target, const char* linkFile, const char* description,
                        const char* arguments, const char* workingFolder)
{
    IShellLinkA* link;
    IPersistFile* file;
    HRESULT result = openShellLink(&link, &file);
    if (FAILED(result))
        return result;
    link->SetPath(target);
    link->SetDescription(description);
    link->SetArguments(arguments);
    // Started from the link, a program would otherwise work in System32.
    if (workingFolder)
        link->SetWorkingDirectory(workingFolder);
    WCHAR wide[InstallPathSize];
    // E_INVALIDARG: a path longer than any file can have.
    result = MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wide, InstallPathSize) ? file->Save(wide, TRUE)
                                                                                  : E_INVALIDARG;
    file->Release();
    link->Release();
    return result;
}
