// The names and rules that setup and remove share: the registry keys, the
// folder rules, the places of the group and the links, and the tests by
// which the uninstaller knows that a key, a shortcut or the INF belongs to
// this installation. Portable; their Windows half is install_rules_win32.h.
#pragma once

#include "common/profile.h"

#include <string>

// Under HKEY_LOCAL_MACHINE, without a trailing "\".
extern const char AppPathsKey[];
extern const char UninstallKey[];
extern const char RunOnceKey[];
// The machine's file types: through HKEY_CLASSES_ROOT an NT program would
// reach a user's own key of the same name first.
extern const char MachineClassesKey[];
// The keys under a file type, each parent before its subkeys: setup creates
// them in this order, remove deletes them in the reverse one and then the
// type key itself. The last holds the open command.
constexpr unsigned FileTypeKeyCount = 4;
extern const char* const FileTypeKeys[FileTypeKeyCount];
// The uninstaller's file in the install folder, named by UninstallString.
extern const char RemoveProgram[];

constexpr unsigned ProductSize = 128;  // product texts of at most 127 characters

// The product named by the uninstaller's command line: the text after its
// first "/". False when there is no "/", or the text is empty, longer than
// size - 1 characters, or not a plain file name: it names the App Paths key,
// the INF file and the RunOnce value (which setup drops on reinstalling).
bool productFromCommandLine(const char* commandLine, char* product, unsigned size);

// How an absolute path starts: a drive ("C:\...") or a share ("\\server...").
// None for a relative path, "C:" alone, "C:x" or "\x".
enum class PathRoot { None, Drive, Share };
PathRoot pathRoot(const char* path);

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

// A place in a shell folder: the folder without one trailing "\" followed
// by the script's entry, which starts with "\" (the program group's
// NomeGruppo, the desktop link's Link).
std::string inShellFolder(const char* shellFolder, const std::string& entry);
// The group's shortcut of a LINKLIST name: "<group>\<name>.lnk".
std::string groupLinkFile(const std::string& groupFolder, const std::string& name);
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
