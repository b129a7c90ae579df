// The names and rules that setup and remove share: the registry keys, the
// install-folder rule, the program-group formula and the tests by which the
// uninstaller knows that a key, a shortcut or the INF belongs to this
// installation. Portable.
#pragma once

#include "common/profile.h"

#include <string>

// Under HKEY_LOCAL_MACHINE, without a trailing "\".
extern const char AppPathsKey[];
extern const char UninstallKey[];
extern const char RunOnceKey[];
// The uninstaller's file in the install folder, named by UninstallString.
extern const char RemoveProgram[];

// A folder as typed or stored, in the one form both programs use: "/" read
// as "\", doubled separators made single (the "\\" that opens a network
// path stays) and trailing ones dropped ("C:\" becomes "C:").
std::string normaliseFolder(const char* text);

// Case-insensitive, after normalising both.
bool sameFolder(const char* a, const char* b);

// The path lies in the folder or below it, with no ".." to climb out.
bool isInsideFolder(const char* path, const char* folder);

// A drive root ("C:") or a share ("\\server\share").
bool isDriveRoot(const char* folder);

// The long and the short (8.3) form of the install folder: setup writes the
// long form into App Paths, the file type and the shortcuts, and the short
// one into UninstallString and the INF.
struct InstallFolderNames {
    std::string longForm;
    std::string shortForm;  // empty: the same as the long one
    bool names(const char* folder) const;
    bool holds(const char* path) const;  // isInsideFolder for either form
};

// Setup refuses the Windows folder, the system folder, a drive root, and a
// folder below the first two that already existed (it may create its own
// there). remove refuses the same, knowing nothing of what existed.
bool isForbiddenInstallFolder(const char* folder, const char* windowsFolder,
                              const char* systemFolder, bool existedBefore);

// The program group: the Programs folder without one trailing "\" followed
// by NomeGruppo ("\Quorvel").
std::string groupFolderFor(const char* programsFolder, const std::string& nomeGruppo);
// A group the product can call its own: one plain folder in Programs.
bool isOwnGroupName(const std::string& nomeGruppo);

// The App Paths value of key name appName: "<install folder>\<appName>".
bool appPathIsOurs(const std::string& value, const InstallFolderNames& folder,
                   const std::string& appName);
// An open command that starts "<install folder>\<program>", quoted or not.
bool openCommandIsOurs(const std::string& command, const InstallFolderNames& folder,
                       const std::string& program);
// UninstallString "<install folder>\remove.exe" with or without arguments.
bool uninstallStringIsOurs(const std::string& value, const InstallFolderNames& folder);

// The INF's DestinationDirs InfFile and DefaultDestDir both name the folder
// ("0,<folder>"): only then may its DelFiles run at the next start.
bool infNamesFolder(Profile& inf, const InstallFolderNames& folder);
