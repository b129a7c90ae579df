// Shared install names and the ownership tests of the uninstaller.
#include "setup/install_rules.h"

#include "common/bounded_text.h"
#include "common/cp1252.h"
#include "setup/install_context.h"

#include <cstring>

const char AppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char RunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char MachineClassesKey[] = "Software\\Classes";
const char* const FileTypeKeys[FileTypeKeyCount] = {"DefaultIcon", "Shell", "Shell\\Open", "Shell\\Open\\Command"};
const char RemoveProgram[] = "remove.exe";

namespace {

bool startsWithNoCase(const std::string& text, const std::string& head) {
    if (text.size() < head.size()) return false;
    for (size_t i = 0; i < head.size(); ++i) {
        if (cp1252Lower(text[i]) != cp1252Lower(head[i])) return false;
    }
    return true;
}

// "<folder>\<name>" in either form of the folder.
bool isProgramIn(const std::string& path, const InstallFolderNames& folder, const char* name) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    return cp1252EqualNoCase(path.c_str() + slash + 1, name) &&
           folder.names(path.substr(0, slash).c_str());
}

// A command that starts the program: quoted, or unquoted and followed by
// the end or a blank (a folder with blanks is written unquoted too).
bool commandStarts(const std::string& command, const InstallFolderNames& folder, const char* name) {
    if (!command.empty() && command[0] == '"') {
        size_t end = command.find('"', 1);
        if (end == std::string::npos || (end + 1 < command.size() && command[end + 1] != ' '))
            return false;
        return isProgramIn(command.substr(1, end - 1), folder, name);
    }
    std::string text = normaliseFolder(command.c_str());
    for (const std::string* form : {&folder.longForm, &folder.shortForm}) {
        if (form->empty()) continue;
        std::string head = normaliseFolder(form->c_str()) + "\\" + name;
        if (startsWithNoCase(text, head) && (text.size() == head.size() || text[head.size()] == ' '))
            return true;
    }
    return false;
}

}  // namespace

bool productFromCommandLine(const char* commandLine, char* product, unsigned size) {
    if (size > 0) product[0] = '\0';
    const char* slash = commandLine ? std::strchr(commandLine, '/') : nullptr;
    if (!slash || size == 0) return false;
    const char* text = slash + 1;
    if (!*text || !isSafeFileName(text)) return false;
    if (copyBounded(product, size, text)) return true;
    product[0] = '\0';
    return false;
}

PathRoot pathRoot(const char* path) {
    const unsigned char drive = static_cast<unsigned char>(path[0]);
    if (((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) && path[1] == ':' &&
        path[2] == '\\')
        return PathRoot::Drive;
    if (path[0] == '\\' && path[1] == '\\' && path[2] && path[2] != '\\') return PathRoot::Share;
    return PathRoot::None;
}

std::string normaliseFolder(const char* text) {
    std::string result;
    for (const char* p = text; *p; ++p) {
        char c = *p == '/' ? '\\' : *p;
        bool networkLead = result.size() == 1 && result[0] == '\\' && p == text + 1;
        if (c == '\\' && !result.empty() && result.back() == '\\' && !networkLead) continue;
        result += c;
    }
    while (result.size() > 1 && result.back() == '\\' && result != "\\\\") result.pop_back();
    return result;
}

bool sameFolder(const char* a, const char* b) {
    return cp1252EqualNoCase(normaliseFolder(a).c_str(), normaliseFolder(b).c_str());
}

bool isInsideFolder(const char* path, const char* folder) {
    std::string head = normaliseFolder(folder);
    std::string text = normaliseFolder(path);
    if (head.empty() || std::strstr(path, "..")) return false;
    return cp1252EqualNoCase(text.c_str(), head.c_str()) ||
           (text.size() > head.size() + 1 && startsWithNoCase(text, head + "\\"));
}

bool isDriveRoot(const char* folder) {
    std::string text = normaliseFolder(folder);
    if (text.size() == 2 && text[1] == ':') return true;
    if (text.size() < 3 || text.compare(0, 2, "\\\\") != 0) return false;
    size_t server = text.find('\\', 2);
    return server == std::string::npos || text.find('\\', server + 1) == std::string::npos;
}

bool InstallFolderNames::names(const char* folder) const {
    return sameFolder(folder, longForm.c_str()) ||
           (!shortForm.empty() && sameFolder(folder, shortForm.c_str()));
}

bool InstallFolderNames::holds(const char* path) const {
    return isInsideFolder(path, longForm.c_str()) ||
           (!shortForm.empty() && isInsideFolder(path, shortForm.c_str()));
}

bool isForbiddenInstallFolder(const char* folder, const char* windowsFolder,
                              const char* systemFolder, bool existedBefore) {
    if (normaliseFolder(folder).empty() || isDriveRoot(folder)) return true;
    for (const char* system : {windowsFolder, systemFolder}) {
        if (!system || !*system) continue;
        if (sameFolder(folder, system)) return true;
        if (existedBefore && isInsideFolder(folder, system)) return true;
    }
    return false;
}

std::string inShellFolder(const char* shellFolder, const std::string& entry) {
    std::string folder = shellFolder;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + entry;
}

std::string groupLinkFile(const std::string& groupFolder, const std::string& name) {
    return groupFolder + "\\" + name + ".lnk";
}

bool isOwnGroupName(const std::string& nomeGruppo) {
    return nomeGruppo.size() > 1 && nomeGruppo[0] == '\\' && isSafeFileName(nomeGruppo.c_str() + 1);
}

bool appPathIsOurs(const std::string& value, const InstallFolderNames& folder,
                   const std::string& appName) {
    return isProgramIn(value, folder, appName.c_str());
}

bool openCommandIsOurs(const std::string& command, const InstallFolderNames& folder,
                       const std::string& program) {
    return commandStarts(command, folder, program.c_str());
}

bool uninstallStringIsOurs(const std::string& value, const InstallFolderNames& folder) {
    return commandStarts(value, folder, RemoveProgram);
}

bool infNamesFolder(Profile& inf, const InstallFolderNames& folder) {
    for (const char* key : {"InfFile", "DefaultDestDir"}) {
        char value[300];
        inf.readString("DestinationDirs", key, "", value, sizeof value);
        if (std::strncmp(value, "0,", 2) != 0 || !folder.names(value + 2)) return false;
    }
    return true;
}
