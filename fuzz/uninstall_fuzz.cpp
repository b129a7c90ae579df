// The uninstall plan from a command line, an App Paths value and a script of
// any content. Whatever the script says, the plan names nothing outside the
// install folder, the program group, the desktop link and the product's own
// registry keys.
#include "remove/uninstall_plan.h"

#include "common/cp1252.h"
#include "common/ini.h"
#include "fuzz/fuzz_support.h"
#include "setup/install_context.h"

namespace {

const char Desktop[] = "C:\\Documents and Settings\\utente\\Desktop";
const char Programs[] = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi";
const char CommonDesktop[] = "C:\\Documents and Settings\\All Users\\Desktop";
const char CommonPrograms[] = "C:\\Documents and Settings\\All Users\\Menu Avvio\\Programmi";
const char AppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char Uninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool startsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// One plain name below folder: "folder\name" with a safe name.
bool directlyBelow(const std::string& path, const std::string& folder) {
    if (!startsWith(path, folder + "\\")) return false;
    return isSafeFileName(path.substr(folder.size() + 1).c_str());
}

// "\" and plain names below the Programs folder, at least one level down.
bool groupBelow(const std::string& path, const std::string& folder) {
    if (!startsWith(path, folder + "\\") || path.size() == folder.size() + 1) return false;
    std::string rest = path.substr(folder.size() + 1);
    size_t at = 0;
    for (;;) {
        size_t next = rest.find('\\', at);
        if (!isSafeFileName(rest.substr(at, next - at).c_str())) return false;
        if (next == std::string::npos) return true;
        at = next + 1;
    }
}

void checkPlan(const UninstallPlan& plan, const std::string& folder, const char* product) {
    for (const std::string& file : plan.files) {
        FUZZ_CHECK(file.size() < InstallPathSize);
        FUZZ_CHECK(directlyBelow(file, folder));
    }
    FUZZ_CHECK(plan.dataPatterns.size() == plan.dataExtensions.size());
    for (size_t i = 0; i < plan.dataPatterns.size(); ++i) {
        const std::string& extension = plan.dataExtensions[i];
        FUZZ_CHECK(plan.dataPatterns[i] == folder + "\\*" + extension);
        FUZZ_CHECK(plan.dataPatterns[i].size() < InstallPathSize);
        FUZZ_CHECK(extension.size() >= 2 && extension[0] == '.');
        FUZZ_CHECK(isSafeFileName(extension.c_str()));
    }
    for (const KeyDeletion& key : plan.keys) {
        FUZZ_CHECK(!key.path.empty());
        if (key.root == RegistryRoot::LocalMachine) {
            bool own = startsWith(key.path, AppPaths) || startsWith(key.path, Uninstall);
            FUZZ_CHECK(own);
            std::string name = key.path.substr(startsWith(key.path, AppPaths) ? sizeof AppPaths - 1
                                                                               : sizeof Uninstall - 1);
            FUZZ_CHECK(isSafeFileName(name.c_str()));
        } else {
            // An extension key, or a file type's key: never a root-level
            // class such as "exefile" or "*" without the extension after it.
            FUZZ_CHECK(key.path[0] != '\\');
            size_t dot = key.path.find('.');
            FUZZ_CHECK(dot != std::string::npos);
            std::string head = key.path.substr(0, key.path.find('\\'));
            FUZZ_CHECK(isSafeFileName(head.c_str()));
            std::string tail = key.path.substr(head.size());
            FUZZ_CHECK(tail.empty() || tail == "\\Shell\\Open\\Command" || tail == "\\Shell\\Open" ||
                       tail == "\\Shell" || tail == "\\DefaultIcon");
        }
    }
    for (const std::string& link : plan.desktopLinks) {
        FUZZ_CHECK(directlyBelow(link, Desktop) || directlyBelow(link, CommonDesktop));
        FUZZ_CHECK(link.size() < InstallPathSize);
        FUZZ_CHECK(cp1252EqualNoCase(link.substr(link.size() - 4).c_str(), ".lnk"));
    }
    for (const ProgramGroup& group : plan.groups) {
        FUZZ_CHECK(groupBelow(group.folder, Programs) || groupBelow(group.folder, CommonPrograms));
        FUZZ_CHECK(group.folder.size() < InstallPathSize);
        FUZZ_CHECK(!group.links.empty());
        for (const std::string& link : group.links) {
            FUZZ_CHECK(directlyBelow(link, group.folder));
            FUZZ_CHECK(endsWith(link, ".lnk"));
            FUZZ_CHECK(link.size() < InstallPathSize);
        }
    }
    FUZZ_CHECK(!plan.delayedDeletions.empty() && plan.delayedDeletions.size() <= 4 &&
               plan.delayedDeletions.back() == folder);
    for (size_t i = 0; i + 1 < plan.delayedDeletions.size(); ++i) {
        FUZZ_CHECK(directlyBelow(plan.delayedDeletions[i], folder));
    }
    FUZZ_CHECK(plan.runOnceName == product);
    FUZZ_CHECK(endsWith(plan.runOnceCommand, " " + folder + "\\" + product + ".inf"));
}

// Every key present, App Paths and Uninstall entries naming the install
// folder (so that every sound one is planned), and every shortcut present
// and pointing into the install folder.
class OpenMachine : public InstallationView {
public:
    explicit OpenMachine(std::string folder) : folder_(std::move(folder)) {}
    bool keyExists(RegistryRoot, const std::string&) override { return true; }
    std::string keyText(RegistryRoot, const std::string& key, const char* name) override {
        if (name) return folder_ + "\\remove.exe";  // UninstallString
        size_t last = key.rfind('\\');
        return folder_ + "\\" + (last == std::string::npos ? key : key.substr(last + 1));
    }
    bool fileExists(const std::string&) override { return true; }
    std::string linkTarget(const std::string&) override { return folder_ + "\\Quorvel.exe"; }

private:
    std::string folder_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t flags = input.byte();
    ExactString commandLine(input.line());
    ExactString appPath(input.line());
    IniTextProfile script(input.rest());

    // The program's own first steps, into buffers of its sizes.
    ExactBuffer product(ProductSize);
    bool haveProduct = productFromCommandLine(commandLine.c_str(), product.data(), ProductSize);
    FUZZ_CHECK(product.terminatedBy(ProductSize - 1));
    if (haveProduct) {
        FUZZ_CHECK(std::strlen(product.data()) > 0 && isSafeFileName(product.data()));
        appPathsKeyFor(product.data());
    }
    ExactBuffer folder(InstallPathSize);
    bool haveFolder = installFolderFromAppPath(appPath.c_str(), folder.data(), InstallPathSize);
    FUZZ_CHECK(folder.terminatedBy(InstallPathSize - 1));

    UninstallInputs inputs;
    inputs.product = haveProduct ? product.data() : "Quorvel";
    inputs.installFolder = haveFolder ? folder.data() : "C:\\Programmi\\Quorvel";
    inputs.desktopFolder = flags & 1 ? nullptr : Desktop;
    inputs.programsFolder = flags & 2 ? nullptr : (flags & 4 ? Programs : "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\");
    inputs.oldSetupEngine = flags & 8;
    inputs.commonDesktopFolder = flags & 16 ? CommonDesktop : nullptr;
    inputs.commonProgramsFolder = flags & 16 ? CommonPrograms : nullptr;

    UninstallPlan plan;
    OpenMachine machine(inputs.installFolder);
    if (!buildUninstallPlan(script, inputs, machine, &plan)) {
        FUZZ_CHECK(plan.files.empty() && plan.keys.empty() && plan.groups.empty() &&
                   plan.desktopLinks.empty() && plan.delayedDeletions.empty());
        return 0;
    }
    checkPlan(plan, inputs.installFolder, inputs.product);
    if (!inputs.desktopFolder && !inputs.commonDesktopFolder) FUZZ_CHECK(plan.desktopLinks.empty());
    if (!inputs.programsFolder && !inputs.commonProgramsFolder) FUZZ_CHECK(plan.groups.empty());

    for (const std::string& extension : plan.dataExtensions) {
        std::string found = std::string("x") + extension;
        FUZZ_CHECK(isDataFileName(found.c_str(), extension.c_str()));
    }
    return 0;
}
