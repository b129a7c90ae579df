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

bool fitsPath(const std::string& path) {
    return path.size() < InstallPathSize;
}

// An extension with its leading dot and a plain name after it.
bool isSafeExtension(const std::string& extension) {
    return extension.size() >= 2 && extension[0] == '.' && isSafeFileName(extension.c_str());
}

// A key the plan may delete: one shown to be this installation's. An
// existing key of someone else's is kept and listed; a missing one needs
// nothing.
void planKey(UninstallPlan* plan, InstallationView& view, const KeyDeletion& key, bool ours) {
    if (!view.keyExists(key.root, key.path)) return;
    if (ours) {
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

std::string appPathsKeyFor(const char* product) {
    return std::string(AppPathsKey) + "\\" + product + ".exe";
}

bool installFolderFromAppPath(const char* appPath, char* folder, unsigned size) {
    if (size > 0) folder[0] = '\0';
    const char* lastSlash = std::strrchr(appPath, '\\');
    if (!lastSlash || pathRoot(appPath) == PathRoot::None) return false;
    // "\\server" alone would cut to "\".
    size_t length = static_cast<size_t>(lastSlash - appPath);
    if (length < 2 || length >= size) return false;
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
    std::string folder = inputs.installFolder ? inputs.installFolder : "";
    bool folderOk = pathRoot((folder + "\\").c_str()) != PathRoot::None && folder.back() != '\\' &&
                    fitsPath(folder) &&
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

    for (const std::string& extension : readScriptList(context, "EXTENSIONS", 128)) {
        if (!isSafeExtension(extension)) continue;
        std::string fileType = readValue(context, extension.c_str(), "FileType", 260);
        std::string program = readValue(context, extension.c_str(), "ShellOpen", 260);
        std::string typeName = fileType + extension;
        bool typeSafe = isSafeFileName(fileType.c_str());
        // A type key that is gone proves nothing: the extension naming it
        // may be another program's now.
        bool typeOurs = typeSafe && isSafeFileName(program.c_str()) &&
                        view.keyExists(RegistryRoot::ClassesRoot, typeName) &&
                        openCommandIsOurs(view.keyText(RegistryRoot::ClassesRoot,
                                                       typeName + "\\" + FileTypeKeys[FileTypeKeyCount - 1],
                                                       nullptr),
                                          names, program);
        std::string extensionType = view.keyText(RegistryRoot::ClassesRoot, extension, nullptr);
        planKey(plan, view, {RegistryRoot::ClassesRoot, extension},
                typeOurs && cp1252EqualNoCase(extensionType.c_str(), typeName.c_str()));
        if (!typeSafe) continue;
        if (!typeOurs) {
            planKey(plan, view, {RegistryRoot::ClassesRoot, typeName}, false);
            continue;
        }
        // Deepest key first, so that each deletion finds a key without subkeys.
        for (unsigned i = FileTypeKeyCount; i-- > 0;) {
            plan->keys.push_back({RegistryRoot::ClassesRoot, typeName + "\\" + FileTypeKeys[i]});
        }
        plan->keys.push_back({RegistryRoot::ClassesRoot, typeName});
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

    // The user's folders first, then the common ones setup uses on NT; a
    // common folder that is the user's one (no profiles) is not read twice.
    struct Place {
        const char* desktop;
        const char* programs;
    } places[] = {{inputs.desktopFolder, inputs.programsFolder},
                  {inputs.commonDesktopFolder, inputs.commonProgramsFolder}};
    if (places[1].desktop && inputs.desktopFolder && sameFolder(places[1].desktop, inputs.desktopFolder))
        places[1].desktop = nullptr;
    if (places[1].programs && inputs.programsFolder && sameFolder(places[1].programs, inputs.programsFolder))
        places[1].programs = nullptr;

    std::string link = readValue(context, "DESKTOP", "Link", ScriptLongValue);
    std::string group = readValue(context, "GENERAL", "NomeGruppo", ScriptLongValue);
    std::vector<std::string> groupNames = readScriptList(context, "LINKLIST", 128);
    for (const Place& place : places) {
        if (place.desktop) {
            std::string path = inShellFolder(place.desktop, link);
            if (link.size() > 1 && link[0] == '\\' && isSafeFileName(link.c_str() + 1) &&
                endsWithNoCase(link, ".lnk") && fitsPath(path)) {
                planLink(view, names, path, &plan->desktopLinks, &plan->left);
            }
        }
        if (!place.programs) continue;
        std::string groupFolder = inShellFolder(place.programs, group);
        // Only a folder of the product's own: never the Programs folder
        // itself nor one whose shortcuts start with Windows.
        bool startup = false;
        for (const char* startupFolder : {inputs.startupFolder, inputs.commonStartupFolder}) {
            startup = startup || (startupFolder && sameFolder(groupFolder.c_str(), startupFolder));
        }
        bool own = isOwnGroupName(group) && fitsPath(groupFolder) && !startup;
        // Elsewhere the script's shortcuts are only reported.
        bool named = own || group.empty() || (group[0] == '\\' && group.find("..") == std::string::npos);
        ProgramGroup planned;
        for (const std::string& name : groupNames) {
            std::string path = groupLinkFile(groupFolder, name);
            if (!named || !isSafeFileName(name.c_str()) || !fitsPath(path)) continue;
            if (own) {
                planLink(view, names, path, &planned.links, &plan->left);
            } else if (view.fileExists(path)) {
                plan->left.push_back(path);
            }
        }
        // A group without a shortcut of ours in it is not shown to be ours.
        if (!planned.links.empty()) {
            planned.folder = groupFolder;
            plan->groups.push_back(planned);
        }
    }

    plan->runOnceName = inputs.product;
    plan->runOnceCommand = std::string(inputs.oldSetupEngine
                                           ? "rundll.exe setupx.dll,InstallHinfSection"
                                           : "rundll32.exe setupapi.dll,InstallHinfSection") +
                           " DefaultUninstall 132 " + folder + "\\" + inputs.product + ".inf";
    // Files before the folder: the folder goes at the restart only if empty.
    for (const std::string& name : {std::string(RemoveProgram), std::string(ScriptFile),
                                    std::string(inputs.product) + ".inf"}) {
        std::string path = folder + "\\" + name;
        if (fitsPath(path)) plan->delayedDeletions.push_back(path);
    }
    plan->delayedDeletions.push_back(folder);
    return true;
}

namespace {

// Little-endian fields of a self-relative descriptor, bounds checked.
struct Bytes {
    const unsigned char* data;
    size_t size;
    bool has(size_t offset, size_t length) const {
        return offset <= size && length <= size - offset;
    }
    unsigned word(size_t offset) const { return data[offset] | (data[offset + 1] << 8); }
    unsigned long dword(size_t offset) const {
        return static_cast<unsigned long>(word(offset)) | (static_cast<unsigned long>(word(offset + 2)) << 16);
    }
};

// One decimal writer for every number here: remove.exe is kept small.
std::string decimal(unsigned long value) {
    char digits[24];
    char* at = digits + sizeof digits;
    *--at = '\0';
    do {
        *--at = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    return at;
}

// The SID at offset as "S-1-5-32-544"; empty when it does not fit.
std::string sidAt(const Bytes& bytes, size_t offset, size_t end) {
    if (!bytes.has(offset, 8) || offset + 8 > end) return std::string();
    unsigned count = bytes.data[offset + 1];
    if (bytes.data[offset] != 1 || count > 15 || offset + 8 + 4 * count > end) return std::string();
    // Authorities beyond 32 bits name no account this check trusts.
    if (bytes.data[offset + 2] || bytes.data[offset + 3]) return std::string();
    unsigned long authority = 0;  // big-endian, unlike the rest
    for (int i = 4; i < 8; ++i) authority = authority << 8 | bytes.data[offset + i];
    std::string text = "S-1-" + decimal(authority);
    for (unsigned i = 0; i < count; ++i) text += "-" + decimal(bytes.dword(offset + 8 + 4 * i));
    return text;
}

bool isAdministrative(const std::string& sid, const std::string& runningUser) {
    return (!sid.empty() && sid == runningUser) || sid == "S-1-5-32-544" || sid == "S-1-5-18" ||
           sid == "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
}

}  // namespace

std::string sidText(const unsigned char* sid, size_t size) {
    return sid ? sidAt(Bytes{sid, size}, 0, size) : std::string();
}

bool onlyAdministratorsMayWrite(const unsigned char* descriptor, size_t size,
                                const std::string& runningUser) {
    const Bytes bytes = {descriptor, size};
    const unsigned DaclPresent = 0x0004, SelfRelative = 0x8000;
    if (!descriptor || !bytes.has(0, 20) || descriptor[0] != 1) return false;
    unsigned control = bytes.word(2);
    if (!(control & SelfRelative) || !(control & DaclPresent)) return false;  // no DACL: all may
    size_t owner = bytes.dword(4);
    if (owner == 0 || !isAdministrative(sidAt(bytes, owner, size), runningUser)) return false;
    size_t acl = bytes.dword(16);
    if (acl == 0 || !bytes.has(acl, 8)) return false;  // a NULL DACL grants everyone everything
    size_t aclEnd = acl + bytes.word(acl + 2);
    if (aclEnd > size) return false;
    // Write data, append or add a folder, delete a child, delete, change
    // the permissions or the owner, generic write or all.
    const unsigned long WriteRights = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000;
    const unsigned InheritOnly = 0x08;
    size_t at = acl + 8;
    for (unsigned i = 0, count = bytes.word(acl + 4); i < count; ++i) {
        if (at + 8 > aclEnd) return false;
        unsigned type = descriptor[at];
        unsigned flags = descriptor[at + 1];
        size_t aceSize = bytes.word(at + 2);
        if (aceSize < 8 || at + aceSize > aclEnd) return false;
        if (type == 0) {  // access allowed
            bool writes = (bytes.dword(at + 4) & WriteRights) != 0;
            if (writes && !(flags & InheritOnly) && !isAdministrative(sidAt(bytes, at + 8, at + aceSize), runningUser))
                return false;
        } else if (type != 1) {  // only a denial may be passed over unread
            return false;
        }
        at += aceSize;
    }
    return true;
}

std::string accessDeniedReport(const RemovalOutcome& outcome, const char* product) {
    if (outcome.denied.empty()) return std::string();
    std::string text = std::string("Per rimuovere ") + product +
                       " servono i diritti di amministratore: Windows ha negato l'accesso. "
                       "Avviare di nuovo la disinstallazione come amministratore (pulsante destro del "
                       "mouse, \"Esegui come amministratore\").\r\n\r\n";
    text += "Rimossi: file " + decimal(outcome.filesDeleted) + ", chiavi del Registro " +
            decimal(outcome.keysDeleted) + ", collegamenti " + decimal(outcome.linksDeleted) +
            ".\r\n\r\nNon sono stati rimossi:\r\n";
    const size_t shown = 12;
    for (size_t i = 0; i < outcome.denied.size() && i < shown; ++i) {
        text += outcome.denied[i].substr(0, 200) + "\r\n";
    }
    if (outcome.denied.size() > shown) {
        text += "e altri " + decimal(outcome.denied.size() - shown) + ".\r\n";
    }
    text += "\r\nLa pulizia al prossimo riavvio non è stata programmata: remove.exe, setup.ini e " +
            std::string(product) + ".inf restano nella cartella.";
    return text;
}
