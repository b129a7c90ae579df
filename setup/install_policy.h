// What the installer does differently on the Windows NT family and from
// Windows Vista on, and the values and texts it derives there: the proposed
// folder, the folder's protection, the Uninstall entry's extra values and
// the box that says administrator rights are missing. Windows 95/98/Me keep
// what they always had. Portable.
#pragma once

#include "setup/windows_version.h"

#include <string>

struct InstallPolicy {
    bool programFilesFolder = false;     // NT 6.0 and later: propose <Program Files>\Quorvel
    bool protectFolder = false;          // NT: a folder outside Program Files gets its own ACL
    bool commonShellFolders = false;     // NT 6.0 and later: the all-users Start menu and desktop
    bool quotedUninstallString = false;  // NT: the quoted long path (9x keeps the 8.3 form)
};

// Null (the version could not be read) gives the 9x behaviour.
InstallPolicy installPolicyFor(const WindowsVersion* version);

// The folder the folder dialog proposes: "C:\Quorvel", or on NT 6.0 and
// later "<programFiles>\Quorvel" when the shell named that folder.
extern const char ClassicInstallFolder[];
std::string proposedInstallFolder(const InstallPolicy& policy, const char* programFiles);

// A folder outside Program Files inherits what its parent grants (on a
// drive root: "Modify" for every authenticated user), so on NT setup gives
// it an ACL of its own. Unknown Program Files: always.
bool needsOwnProtection(const InstallPolicy& policy, const char* folder, const char* programFiles);

// Administrators and SYSTEM full control, Users read and execute, inherited
// by files and subfolders, not inherited from the parent.
extern const char ProtectedFolderSddl[];

// UninstallString: on NT "\"<folder>\<program>\" <arguments>" with the long
// folder; on 9x "<short folder>\<ExeRemove>" as it always was.
std::string uninstallCommand(const InstallPolicy& policy, const std::string& longFolder,
                             const std::string& shortFolder, const std::string& exeRemove);

// The Uninstall entry's InstallDate: "yyyymmdd".
std::string installDateText(int year, int month, int day);
// EstimatedSize in KB, rounded up.
unsigned long estimatedSizeKb(unsigned long long bytes);

// As the programs' version blocks give them.
extern const char ProductPublisher[];       // "Progetto Quorvel"
extern const char ProductDisplayVersion[];  // "2.02"

// The parts of an installation, in the order the run does them.
enum class InstallStage {
    Folder,        // the folder, the log and the script: nothing installed yet
    Files,
    Registration,  // App Paths and the file types
    Shortcuts,     // Start-menu group and links, desktop link
    Examples,
    Uninstall,     // the entry of the software list
};

// Windows refused access: administrator rights are needed; what is done
// and what is not. The caption is the path or key that was refused.
std::string accessDeniedText(InstallStage stage);
