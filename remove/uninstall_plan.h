// What the uninstaller removes, decided without touching anything: from the
// script left by setup, the install folder, the special folders and the
// version flag comes the ordered list of deletions. The program only asks
// its questions and carries the plan out.
#pragma once

#include "common/profile.h"

#include <string>
#include <vector>

constexpr unsigned ProductSize = 128;  // product texts of at most 127 characters

// The product named by the command line: the text after its first "/". False
// (the program ends with -1) when there is no "/", or the text is empty,
// longer than size - 1 characters, or not a plain file name: it names the
// App Paths key, the INF file and the RunOnce value.
bool productFromCommandLine(const char* commandLine, char* product, unsigned size);

// "Software\Microsoft\Windows\CurrentVersion\App Paths\%s.exe" for a product.
std::string appPathsKeyFor(const char* product);

// The install folder from the App Paths value (the application's full path):
// the value cut at its last "\". False when the result is not an absolute
// folder ("C:", "C:\..." or "\\server\share...") or does not fit.
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

struct UninstallInputs {
    const char* product = "";
    const char* installFolder = "";
    const char* desktopFolder = nullptr;   // nullptr: the folder was not found
    const char* programsFolder = nullptr;  // nullptr: the folder was not found
    bool oldSetupEngine = false;           // windowsVersionLabel's flag
};

struct UninstallPlan {
    std::vector<std::string> files;           // DELETEFILELIST, in file order
    std::vector<std::string> dataExtensions;  // for isDataFileName, one per pattern
    std::vector<std::string> dataPatterns;    // "%s\*%s", asked for first
    std::vector<KeyDeletion> keys;            // in deletion order
    std::string desktopLink;                  // empty: nothing to delete
    std::vector<std::string> groupLinks;
    std::string groupFolder;                  // empty: no folder to remove
    std::string runOnceName;
    std::string runOnceCommand;
};

// Builds the plan. Script entries that are empty or would reach outside the
// install folder, the group folder, the desktop or the product's own keys
// are left out. False, with an empty plan, when the install folder is not an
// absolute folder or the product is not a plain name.
bool buildUninstallPlan(Profile& script, const UninstallInputs& inputs, UninstallPlan* plan);
