// The uninstall plan. Every name taken from the script is checked before it
// becomes a path or a key: the script is a plain file in the install folder
// and anything may have been written into it.
#include "remove/uninstall_plan.h"

#include "common/bounded_text.h"
#include "common/cp1252.h"
#include "setup/install_context.h"
#include "setup/install_rules.h"

#include <cstring>

namespace {

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

// A key the plan may delete: one that is missing (its deletion fails and
// is reported) or one shown to be this installation's; an existing key of
// someone else's is kept and listed.
void planKey(UninstallPlan* plan, InstallationView& view, const KeyDeletion& key, bool ours) {
    if (ours || !view.keyExists(key.root, key.path)) {
        plan->keys.push_back(key);
    } else {
        plan->left.push_back(keyDisplayName(key));
    }
}

// A shortcut is deleted only when it points into the install folder; a
// missing one needs nothing.
void planLink(InstallationView& view, const InstallFolderNames& folder, const std::string& path,
              std::vector<std::string>* planned, std::vector<std::string>* left) {
    if (!view.fileExists(path)) return;
    std::string target = view.linkTarget(path);
    if (!target.empty() && folder.holds(target.c_str())) {
        planned->push_back(path);
    } else {
        left->push_back(path);
    }
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

std::string appPathsKeyFor(const char* product) {
    return std::string(AppPathsKey) + "\\" + product + ".exe";
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
    return copyBounded(folder, size, appPath, length);
}

bool isDataFileName(const char* foundName, const char* extension) {
    return isSafeExtension(extension) && endsWithNoCase(foundName, extension);
}

std::string keyDisplayName(const KeyDeletion& key) {
    return std::string(key.root == RegistryRoot::ClassesRoot ? "HKEY_CLASSES_ROOT\\"
                                                             : "HKEY_LOCAL_MACHINE\\") +
           key.path;
}

bool buildUninstallPlan(Profile& script, const UninstallInputs& inputs, InstallationView& view,
                        UninstallPlan* plan) {
    *plan = UninstallPlan();
    char checked[InstallPathSize];
    std::string folder = inputs.installFolder ? inputs.installFolder : "";
    bool folderOk = installFolderFromAppPath((folder + "\\x").c_str(), checked, sizeof checked) &&
                    folder == checked && folder.back() != '\\' &&
                    !isForbiddenInstallFolder(folder.c_str(), inputs.windowsFolder,
                                              inputs.systemFolder, false);
    bool productOk = inputs.product && isSafeFileName(inputs.product) &&
                     std::strlen(inputs.product) < ProductSize;
    if (!folderOk || !productOk) {
        return false;
    }
    InstallFolderNames names;
    names.longForm = folder;
    if (inputs.shortInstallFolder) names.shortForm = inputs.shortInstallFolder;

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
        std::string fileType = readValue(context, extension.c_str(), "FileType", 260);
        std::string program = readValue(context, extension.c_str(), "ShellOpen", 260);
        std::string typeName = fileType + extension;
        bool typeSafe = isSafeFileName(fileType.c_str());
        bool typeOurs = typeSafe && isSafeFileName(program.c_str()) &&
                        (!view.keyExists(RegistryRoot::ClassesRoot, typeName) ||
                         openCommandIsOurs(view.keyText(RegistryRoot::ClassesRoot,
                                                        typeName + fileTypeKeys[0], nullptr),
                                           names, program));
        std::string extensionType = view.keyText(RegistryRoot::ClassesRoot, extension, nullptr);
        planKey(plan, view, {RegistryRoot::ClassesRoot, extension},
                typeOurs && cp1252EqualNoCase(extensionType.c_str(), typeName.c_str()));
        if (!typeSafe) continue;
        if (!typeOurs) {
            planKey(plan, view, {RegistryRoot::ClassesRoot, typeName}, false);
            continue;
        }
        for (const char* tail : fileTypeKeys) {
            plan->keys.push_back({RegistryRoot::ClassesRoot, typeName + tail});
        }
    }
    std::string uninstallName = readValue(context, "UNINSTALL", "Key", ScriptLongValue);
    if (isSafeFileName(uninstallName.c_str())) {
        KeyDeletion key = {RegistryRoot::LocalMachine, std::string(UninstallKey) + "\\" + uninstallName};
        planKey(plan, view, key,
                uninstallStringIsOurs(view.keyText(key.root, key.path, "UninstallString"), names));
    }
    std::string appPath = readValue(context, "GENERAL", "AppPath", ScriptLongValue);
    if (isSafeFileName(appPath.c_str())) {
        KeyDeletion key = {RegistryRoot::LocalMachine, std::string(AppPathsKey) + "\\" + appPath};
        planKey(plan, view, key, appPathIsOurs(view.keyText(key.root, key.path, nullptr), names, appPath));
    }

    std::vector<std::string> links;
    if (inputs.desktopFolder) {
        std::string link = readValue(context, "DESKTOP", "Link", ScriptLongValue);
        std::string path = withoutTrailingBackslash(inputs.desktopFolder) + link;
        if (link.size() > 1 && link[0] == '\\' && isSafeFileName(link.c_str() + 1) &&
            endsWithNoCase(link, ".lnk") && fitsPath(path)) {
            planLink(view, names, path, &links, &plan->left);
            if (!links.empty()) plan->desktopLink = links[0];
        }
    }

    if (inputs.programsFolder) {
        std::string group = readValue(context, "GENERAL", "NomeGruppo", ScriptLongValue);
        std::string groupFolder = groupFolderFor(inputs.programsFolder, group);
        // Only a folder of the product's own: never the Programs folder
        // itself nor the one whose shortcuts start with Windows.
        bool own = isOwnGroupName(group) && fitsPath(groupFolder) &&
                   !(inputs.startupFolder && sameFolder(groupFolder.c_str(), inputs.startupFolder));
        // Elsewhere the script's shortcuts are only reported.
        bool named = own || group.empty() || (group[0] == '\\' && group.find("..") == std::string::npos);
        if (own) plan->groupFolder = groupFolder;
        for (const std::string& name : readScriptList(context, "LINKLIST", 128)) {
            std::string path = groupFolder + "\\" + name + ".lnk";
            if (!named || !isSafeFileName(name.c_str()) || !fitsPath(path)) continue;
            if (own) {
                planLink(view, names, path, &plan->groupLinks, &plan->left);
            } else if (view.fileExists(path)) {
                plan->left.push_back(path);
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
