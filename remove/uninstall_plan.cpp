// The uninstall plan. Every name taken from the script is checked before it
// becomes a path or a key: the script is a plain file in the install folder
// and anything may have been written into it.
#include "remove/uninstall_plan.h"

#include "common/cp1252.h"
#include "setup/install_context.h"

#include <cstring>

namespace {

const char AppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const unsigned ScriptLongValue = 65535;

std::string readValue(const InstallContext& context, const char* section, const char* key,
                      unsigned size) {
    std::vector<char> buffer(size);
    readScriptString(context, section, key, "", buffer.data(), size);
    return buffer.data();
}

bool endsWithNoCase(const std::string& text, const char* tail) {
    size_t length = std::strlen(tail);
    if (text.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (cp1252Lower(text[text.size() - length + i]) != cp1252Lower(tail[i])) return false;
    }
    return true;
}

std::string withoutTrailingBackslash(const char* folder) {
    std::string text = folder;
    if (!text.empty() && text.back() == '\\') text.pop_back();
    return text;
}

bool fitsPath(const std::string& path) {
    return path.size() < InstallPathSize;
}

// An extension with its leading dot and a plain name after it.
bool isSafeExtension(const std::string& extension) {
    return extension.size() >= 2 && extension[0] == '.' && isSafeFileName(extension.c_str());
}

// A group below the Programs folder: "\" and plain names separated by "\".
bool isSafeGroup(const std::string& group) {
    if (group.empty() || group[0] != '\\') return false;
    size_t at = 1;
    for (;;) {
        size_t next = group.find('\\', at);
        std::string part = group.substr(at, next == std::string::npos ? std::string::npos : next - at);
        if (!isSafeFileName(part.c_str())) return false;
        if (next == std::string::npos) return true;
        at = next + 1;
    }
}

}  // namespace

bool productFromCommandLine(const char* commandLine, char* product, unsigned size) {
    if (size > 0) product[0] = '\0';
    const char* slash = commandLine ? std::strchr(commandLine, '/') : nullptr;
    if (!slash || size == 0) return false;
    const char* text = slash + 1;
    size_t length = std::strlen(text);
    if (length == 0 || length > size - 1 || !isSafeFileName(text)) return false;
    std::memcpy(product, text, length + 1);
    return true;
}

std::string appPathsKeyFor(const char* product) {
    return std::string(AppPathsKey) + product + ".exe";
}

bool installFolderFromAppPath(const char* appPath, char* folder, unsigned size) {
    if (size > 0) folder[0] = '\0';
    const char* lastSlash = std::strrchr(appPath, '\\');
    if (!lastSlash) return false;
    size_t length = static_cast<size_t>(lastSlash - appPath);
    char letter = cp1252Lower(appPath[0]);
    bool drive = length >= 2 && letter >= 'a' && letter <= 'z' && appPath[1] == ':' &&
                 (length == 2 || appPath[2] == '\\');
    bool unc = length > 2 && appPath[0] == '\\' && appPath[1] == '\\' && appPath[2] != '\\';
    if ((!drive && !unc) || length >= size) return false;
    std::memcpy(folder, appPath, length);
    folder[length] = '\0';
    return true;
}

bool isDataFileName(const char* foundName, const char* extension) {
    return isSafeExtension(extension) && endsWithNoCase(foundName, extension);
}

bool buildUninstallPlan(Profile& script, const UninstallInputs& inputs, UninstallPlan* plan) {
    *plan = UninstallPlan();
    char checked[InstallPathSize];
    std::string folder = inputs.installFolder ? inputs.installFolder : "";
    bool folderOk = installFolderFromAppPath((folder + "\\x").c_str(), checked, sizeof checked) &&
                    folder == checked && folder.back() != '\\';
    bool productOk = inputs.product && isSafeFileName(inputs.product) &&
                     std::strlen(inputs.product) < ProductSize;
    if (!folderOk || !productOk) {
        return false;
    }

    InstallContext context;
    context.script = &script;

    for (const std::string& name : readScriptList(context, "DELETEFILELIST", 260)) {
        std::string path = folder + "\\" + name;
        if (isSafeFileName(name.c_str()) && fitsPath(path)) plan->files.push_back(path);
    }

    for (const std::string& extension : readScriptList(context, "EXTENSIONS", 260)) {
        std::string pattern = folder + "\\*" + extension;
        if (isSafeExtension(extension) && fitsPath(pattern)) {
            plan->dataExtensions.push_back(extension);
            plan->dataPatterns.push_back(pattern);
        }
    }

    // Deepest key first, the file-type key last, so that each deletion finds
    // a key without subkeys.
    static const char* const fileTypeKeys[] = {"\\Shell\\Open\\Command", "\\Shell\\Open",
                                               "\\Shell", "\\DefaultIcon", ""};
    for (const std::string& extension : readScriptList(context, "EXTENSIONS", 128)) {
        if (!isSafeExtension(extension)) continue;
        plan->keys.push_back({RegistryRoot::ClassesRoot, extension});
        std::string fileType = readValue(context, extension.c_str(), "FileType", 260);
        if (!isSafeFileName(fileType.c_str())) continue;
        for (const char* tail : fileTypeKeys) {
            plan->keys.push_back({RegistryRoot::ClassesRoot, fileType + extension + tail});
        }
    }
    std::string uninstallName = readValue(context, "UNINSTALL", "Key", ScriptLongValue);
    if (isSafeFileName(uninstallName.c_str())) {
        plan->keys.push_back({RegistryRoot::LocalMachine, UninstallKey + uninstallName});
    }
    std::string appPath = readValue(context, "GENERAL", "AppPath", ScriptLongValue);
    if (isSafeFileName(appPath.c_str())) {
        plan->keys.push_back({RegistryRoot::LocalMachine, AppPathsKey + appPath});
    }

    if (inputs.desktopFolder) {
        std::string link = readValue(context, "DESKTOP", "Link", ScriptLongValue);
        std::string path = withoutTrailingBackslash(inputs.desktopFolder) + link;
        if (link.size() > 1 && link[0] == '\\' && isSafeFileName(link.c_str() + 1) &&
            endsWithNoCase(link, ".lnk") && fitsPath(path)) {
            plan->desktopLink = path;
        }
    }

    if (inputs.programsFolder) {
        std::string programs = withoutTrailingBackslash(inputs.programsFolder);
        std::string group = readValue(context, "GENERAL", "NomeGruppo", ScriptLongValue);
        // Without a group the shortcuts sit in the Programs folder itself,
        // which must never be removed.
        bool usable = group.empty() || isSafeGroup(group);
        std::string groupFolder = programs + group;
        if (usable && fitsPath(groupFolder)) {
            if (!group.empty()) plan->groupFolder = groupFolder;
            for (const std::string& name : readScriptList(context, "LINKLIST", 128)) {
                std::string path = groupFolder + "\\" + name + ".lnk";
                if (isSafeFileName(name.c_str()) && fitsPath(path)) plan->groupLinks.push_back(path);
            }
        }
    }

    plan->runOnceName = inputs.product;
    plan->runOnceCommand = std::string(inputs.oldSetupEngine
                                           ? "rundll.exe setupx.dll,InstallHinfSection"
                                           : "rundll32.exe setupapi.dll,InstallHinfSection") +
                           " DefaultUninstall 132 " + folder + "\\" + inputs.product + ".inf";
    return true;
}
