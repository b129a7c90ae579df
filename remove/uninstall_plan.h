// What the uninstaller removes, decided without touching anything: from the
// script left by setup, the install folder, the special folders, the version
// flag and a read-only look at the registry and the shortcut files comes the
// ordered list of deletions. A key or shortcut the script names is planned
// only when it points at this installation; the rest is listed as left.
// The program only asks its questions and carries the plan out.
#pragma once

#include "common/profile.h"
#include "setup/install_rules.h"

#include <cstddef>
#include <string>
#include <vector>

// "Software\Microsoft\Windows\CurrentVersion\App Paths\%s.exe" for a product.
std::string appPathsKeyFor(const char* product);

// The install folder from the App Paths value (the application's full path):
// the value cut at its last "\". False when the value is not an absolute
// path (pathRoot) or the folder does not fit.
bool installFolderFromAppPath(const char* appPath, char* folder, unsigned size);

// A name found by the data-file pattern really ends with the extension. The
// platform's pattern also matches through short 8.3 names ("x.qvlold" is
// "X~1.QVL"), which are not data files.
bool isDataFileName(const char* foundName, const char* extension);

enum class RegistryRoot { ClassesRoot, LocalMachine };

struct KeyDeletion {
    RegistryRoot root;
    std::string path;  // also the caption of the failure message
};

// What the plan may read of the machine: registry values and shortcut
// targets, so that it deletes only what it can show to be this
// installation's.
class InstallationView {
public:
    virtual ~InstallationView() = default;
    virtual bool keyExists(RegistryRoot root, const std::string& key) = 0;
    // A string value (nullptr: the unnamed one); empty when missing or not text.
    virtual std::string keyText(RegistryRoot root, const std::string& key, const char* name) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // The path a shortcut file points at; empty when it cannot be read.
    virtual std::string linkTarget(const std::string& linkFile) = 0;
};

struct UninstallInputs {
    const char* product = "";
    const char* installFolder = "";
    const char* shortInstallFolder = nullptr;  // its 8.3 form, when known
    const char* windowsFolder = nullptr;       // refused as install folders
    const char* systemFolder = nullptr;
    const char* startupFolder = nullptr;       // never a program group
    const char* desktopFolder = nullptr;   // nullptr: the folder was not found
    const char* programsFolder = nullptr;  // nullptr: the folder was not found
    // The all-users folders where setup puts the shortcuts on NT; nullptr
    // where they do not exist (Windows 9x).
    const char* commonDesktopFolder = nullptr;
    const char* commonProgramsFolder = nullptr;
    const char* commonStartupFolder = nullptr;
    bool oldSetupEngine = false;           // windowsVersionLabel's flag
};

// A program group of the product's own with the shortcuts planned in it.
// Its folder is removed only when the run deleted one of them: an empty
// folder of that name may be another program's or the system's.
struct ProgramGroup {
    std::string folder;
    std::vector<std::string> links;
};

struct UninstallPlan {
    std::vector<std::string> files;           // DELETEFILELIST, in file order
    std::vector<std::string> dataExtensions;  // for isDataFileName, one per pattern
    std::vector<std::string> dataPatterns;    // "%s\*%s", asked for first
    std::vector<KeyDeletion> keys;            // in deletion order
    std::vector<std::string> desktopLinks;    // the user's desktop first, then the common one
    std::vector<ProgramGroup> groups;         // likewise
    std::string runOnceName;
    std::string runOnceCommand;
    // For MOVEFILE_DELAY_UNTIL_REBOOT on NT: the three files the INF deletes,
    // then the folder (removed at the restart only when empty).
    std::vector<std::string> delayedDeletions;
    std::vector<std::string> left;            // named by the script, not ours: kept
};

// Builds the plan. Script entries that are empty or would reach outside the
// install folder, the group folder, the desktop or the keys setup writes are
// left out. Keys are planned only when they exist and their values name the
// install folder: App Paths whose path is the application there, a file type
// whose open command starts a program there (and the extension naming that
// existing type), an Uninstall entry whose UninstallString starts remove.exe
// there. Shortcuts are planned when they exist, lie in the product's own
// group (in the user's or the common Programs folder) or are the script's
// desktop link (on either desktop), and point into the install folder.
// Existing keys and shortcuts that fail the test go to left. False, with an empty plan, when the install
// folder is not an absolute folder without a trailing "\", is a drive root,
// the Windows or the system folder, or the product is not a plain name.
bool buildUninstallPlan(Profile& script, const UninstallInputs& inputs, InstallationView& view,
                        UninstallPlan* plan);

// "HKEY_CLASSES_ROOT\.exe", "HKEY_LOCAL_MACHINE\Software\..." for the list of
// what was left.
std::string keyDisplayName(const KeyDeletion& key);

// A folder or file that only administrators (and the system) may change,
// read from its self-relative security descriptor (GetFileSecurityA's
// OWNER and DACL): the owner and every entry that grants a right to write,
// delete or change the permissions are Administrators, SYSTEM,
// TrustedInstaller or the account running the removal (runningUser, as
// "S-1-5-21-..."; it writes RunOnce only with administrator rights).
// Anything unreadable counts as not protected. The INF run at an
// administrator's next logon must lie in such a folder.
bool onlyAdministratorsMayWrite(const unsigned char* descriptor, size_t size,
                                const std::string& runningUser);

// A binary SID as "S-1-5-32-544"; empty when it is not one.
std::string sidText(const unsigned char* sid, size_t size);

// What the run did, for the message that tells the user when a step was
// refused for lack of rights.
struct RemovalOutcome {
    unsigned filesDeleted = 0;
    unsigned keysDeleted = 0;
    unsigned linksDeleted = 0;
    std::vector<std::string> denied;  // files, keys, shortcuts, steps refused
};

// The message shown instead of the restart offer when anything was refused
// with ERROR_ACCESS_DENIED: that administrator rights are needed, what was
// removed and what was not; empty when nothing was refused.
std::string accessDeniedReport(const RemovalOutcome& outcome, const char* product);
