// The uninstall plan: the shipped script, the command line, the folder, and
// hostile scripts that try to make the uninstaller reach outside its own
// folders and keys.
#include "remove/uninstall_plan.h"

#include "common/ini.h"
#include "setup/install_context.h"
#include "setup/install_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const char Desktop[] = "C:\\Documents and Settings\\utente\\Desktop";
const char Programs[] = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\";

const char Startup[] =
    "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\Esecuzione automatica";
const char Group[] = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\Quorvel";

UninstallInputs inputsFor(const char* folder, bool oldSetupEngine = false) {
    UninstallInputs inputs;
    inputs.product = "Quorvel";
    inputs.installFolder = folder;
    inputs.desktopFolder = Desktop;
    inputs.programsFolder = Programs;
    inputs.startupFolder = Startup;
    inputs.windowsFolder = "C:\\WINDOWS";
    inputs.systemFolder = "C:\\WINDOWS\\system32";
    inputs.oldSetupEngine = oldSetupEngine;
    return inputs;
}

// The registry and the shortcut files, as maps.
class FakeMachine : public InstallationView {
public:
    void setKey(RegistryRoot root, const std::string& key, const char* name, const std::string& value) {
        keys.insert(id(root, key));
        values[id(root, key) + "|" + (name ? name : "")] = value;
    }
    bool keyExists(RegistryRoot root, const std::string& key) override {
        return keys.count(id(root, key)) > 0;
    }
    std::string keyText(RegistryRoot root, const std::string& key, const char* name) override {
        auto found = values.find(id(root, key) + "|" + (name ? name : ""));
        return found == values.end() ? "" : found->second;
    }
    bool fileExists(const std::string& path) override { return links.count(path) > 0; }
    std::string linkTarget(const std::string& link) override { return links[link]; }

    static std::string id(RegistryRoot root, const std::string& key) {
        return (root == RegistryRoot::ClassesRoot ? "HKCR\\" : "HKLM\\") + key;
    }
    std::set<std::string> keys;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> links;  // shortcut file -> target
};

const std::string AppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const std::string Uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// What setup leaves in the registry and the shell for the shipped script.
void installInto(FakeMachine& machine, const std::string& folder, const std::string& shortFolder) {
    const std::string program = folder + "\\Quorvel.exe";
    machine.setKey(RegistryRoot::LocalMachine, AppPaths + "Quorvel.exe", nullptr, program);
    machine.setKey(RegistryRoot::ClassesRoot, ".qvl", nullptr, "Quorvel.File.qvl");
    machine.setKey(RegistryRoot::ClassesRoot, "Quorvel.File.qvl\\Shell\\Open\\Command", nullptr,
                   "\"" + program + "\" %1");
    machine.keys.insert(FakeMachine::id(RegistryRoot::ClassesRoot, "Quorvel.File.qvl"));
    machine.setKey(RegistryRoot::LocalMachine, Uninstall + "Quorvel", "UninstallString",
                   shortFolder + "\\remove.exe /Quorvel");
    for (const char* link : {"Quorvel", "Guida di Quorvel", "Album fotografico", "Bibliografia",
                             "Disinstallazione di Quorvel"}) {
        machine.links[std::string(Group) + "\\" + link + ".lnk"] = program;
    }
    machine.links[std::string(Desktop) + "\\Quorvel.lnk"] = program;
}

// Other programs' keys and shortcuts, which no script may have deleted.
void plantOtherPrograms(FakeMachine& machine) {
    machine.setKey(RegistryRoot::ClassesRoot, ".exe", nullptr, "exefile");
    machine.setKey(RegistryRoot::ClassesRoot, "exefile\\Shell\\Open\\Command", nullptr, "\"%1\" %*");
    machine.setKey(RegistryRoot::ClassesRoot, "Word.Document.8\\Shell\\Open\\Command", nullptr,
                   "\"C:\\Programmi\\Office\\WINWORD.EXE\" /n \"%1\"");
    machine.keys.insert(FakeMachine::id(RegistryRoot::ClassesRoot, "Word.Document.8"));
    machine.setKey(RegistryRoot::LocalMachine, Uninstall + "AltroProgramma", "UninstallString",
                   "C:\\Altro\\remove.exe /Altro");
    machine.setKey(RegistryRoot::LocalMachine, AppPaths + "IEXPLORE.EXE", nullptr,
                   "C:\\Programmi\\Internet Explorer\\IEXPLORE.EXE");
    machine.links[std::string(Startup) + "\\Altro.lnk"] = "C:\\Altro\\altro.exe";
    machine.links[std::string(Desktop) + "\\Altro.lnk"] = "C:\\Altro\\altro.exe";
    machine.links[std::string(Group) + "\\Altro.lnk"] = "C:\\Altro\\altro.exe";
    // A folder whose name starts with the install folder's is another folder.
    machine.setKey(RegistryRoot::LocalMachine, AppPaths + "Prefisso.exe", nullptr,
                   "C:\\Quorvel2\\Prefisso.exe");
    machine.links[std::string(Group) + "\\Prefisso.lnk"] = "C:\\Quorvel2\\Prefisso.exe";
}

std::string shippedScript() {
    std::string text;
    readWholeFile((std::string(QUORVEL_SOURCE_DIR) + "/setup/setup.ini").c_str(), &text);
    return text;
}

TEST(UninstallPlan, ShippedScriptIntoCQuorvel) {
    FakeMachine machine;
    installInto(machine, "C:\\Quorvel", "C:\\QUORVE~1");
    plantOtherPrograms(machine);
    IniTextProfile script(shippedScript());
    UninstallPlan plan;
    UninstallInputs inputs = inputsFor("C:\\Quorvel");
    inputs.shortInstallFolder = "C:\\QUORVE~1";  // as setup writes UninstallString
    ASSERT_TRUE(buildUninstallPlan(script, inputs, machine, &plan));
    EXPECT_TRUE(plan.left.empty());

    EXPECT_EQ(plan.files, (std::vector<std::string>{
                              "C:\\Quorvel\\Quorvel.exe", "C:\\Quorvel\\leggimi.txt",
                              "C:\\Quorvel\\Quorvel.chm", "C:\\Quorvel\\AlbumFotoAmianto.pdf",
                              "C:\\Quorvel\\Setup.log", "C:\\Quorvel\\hh.exe",
                              "C:\\Quorvel\\hhctrl.ocx"}));
    EXPECT_EQ(plan.dataPatterns, std::vector<std::string>{"C:\\Quorvel\\*.qvl"});
    EXPECT_EQ(plan.dataExtensions, std::vector<std::string>{".qvl"});

    std::vector<std::string> classesKeys, machineKeys;
    for (const KeyDeletion& key : plan.keys) {
        (key.root == RegistryRoot::ClassesRoot ? classesKeys : machineKeys).push_back(key.path);
    }
    EXPECT_EQ(classesKeys, (std::vector<std::string>{
                               ".qvl", "Quorvel.File.qvl\\Shell\\Open\\Command",
                               "Quorvel.File.qvl\\Shell\\Open", "Quorvel.File.qvl\\Shell",
                               "Quorvel.File.qvl\\DefaultIcon", "Quorvel.File.qvl"}));
    EXPECT_EQ(machineKeys,
              (std::vector<std::string>{
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel",
                  "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorvel.exe"}));
    // The class keys come first, the Uninstall key before App Paths.
    ASSERT_EQ(plan.keys.size(), 8u);
    EXPECT_EQ(plan.keys[6].root, RegistryRoot::LocalMachine);

    EXPECT_EQ(plan.desktopLinks, std::vector<std::string>{std::string(Desktop) + "\\Quorvel.lnk"});
    std::string group = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\Quorvel";
    ASSERT_EQ(plan.groups.size(), 1u);
    EXPECT_EQ(plan.groups[0].folder, group);
    EXPECT_EQ(plan.groups[0].links,
              (std::vector<std::string>{group + "\\Quorvel.lnk", group + "\\Guida di Quorvel.lnk",
                                        group + "\\Album fotografico.lnk",
                                        group + "\\Bibliografia.lnk",
                                        group + "\\Disinstallazione di Quorvel.lnk"}));
    EXPECT_EQ(plan.runOnceName, "Quorvel");
    EXPECT_EQ(plan.delayedDeletions,
              (std::vector<std::string>{"C:\\Quorvel\\remove.exe", "C:\\Quorvel\\setup.ini",
                                        "C:\\Quorvel\\Quorvel.inf", "C:\\Quorvel"}));
}

// On NT setup puts the group and the desktop link into the all-users
// folders: they are found there as in the user's own, each once.
TEST(UninstallPlan, CommonFoldersAreSearchedToo) {
    const std::string commonPrograms = "C:\\Documents and Settings\\All Users\\Menu Avvio\\Programmi";
    const std::string commonDesktop = "C:\\Documents and Settings\\All Users\\Desktop";
    const std::string commonStartup = commonPrograms + "\\Esecuzione automatica";
    FakeMachine machine;
    machine.links[commonPrograms + "\\Quorvel\\Quorvel.lnk"] = "C:\\Quorvel\\Quorvel.exe";
    machine.links[commonDesktop + "\\Quorvel.lnk"] = "C:\\Quorvel\\Quorvel.exe";
    machine.links[std::string(Group) + "\\Quorvel.lnk"] = "C:\\Quorvel\\Quorvel.exe";
    machine.links[commonStartup + "\\Quorvel.lnk"] = "C:\\Quorvel\\Quorvel.exe";
    const std::string script = "[DESKTOP]\r\nLink=\\Quorvel.lnk\r\n[LINKLIST]\r\n0=Quorvel\r\n[GENERAL]\r\nNomeGruppo=";
    UninstallInputs inputs = inputsFor("C:\\Quorvel");
    inputs.commonDesktopFolder = commonDesktop.c_str();
    inputs.commonProgramsFolder = commonPrograms.c_str();
    inputs.commonStartupFolder = commonStartup.c_str();
    IniTextProfile both(script + "\\Quorvel\r\n");
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(both, inputs, machine, &plan));
    EXPECT_EQ(plan.desktopLinks, std::vector<std::string>{commonDesktop + "\\Quorvel.lnk"});
    ASSERT_EQ(plan.groups.size(), 2u);
    EXPECT_EQ(plan.groups[0].folder, Group);
    EXPECT_EQ(plan.groups[1].folder, commonPrograms + "\\Quorvel");
    EXPECT_EQ(plan.groups[1].links, std::vector<std::string>{commonPrograms + "\\Quorvel\\Quorvel.lnk"});

    IniTextProfile startup(script + "\\Esecuzione automatica\r\n");  // never a group
    ASSERT_TRUE(buildUninstallPlan(startup, inputs, machine, &plan));
    EXPECT_TRUE(plan.groups.empty());
    EXPECT_EQ(plan.left, std::vector<std::string>{commonStartup + "\\Quorvel.lnk"});

    inputs.commonDesktopFolder = Desktop;  // a system without profiles
    inputs.commonProgramsFolder = Programs;
    ASSERT_TRUE(buildUninstallPlan(both, inputs, machine, &plan));
    EXPECT_EQ(plan.groups.size(), 1u);
}

// A self-relative security descriptor: owner and DACL, as GetFileSecurityA
// returns them.
std::vector<unsigned char> sidBytes(const std::string& text) {
    std::vector<unsigned long long> parts;
    for (size_t at = 2; at < text.size();) {  // after "S-"
        size_t end = text.find('-', at);
        if (end == std::string::npos) end = text.size();
        parts.push_back(std::stoull(text.substr(at, end - at)));
        at = end + 1;
    }
    std::vector<unsigned char> sid = {1, static_cast<unsigned char>(parts.size() - 2), 0, 0, 0, 0, 0,
                                      static_cast<unsigned char>(parts[1])};
    for (size_t i = 2; i < parts.size(); ++i) {
        for (int b = 0; b < 4; ++b) sid.push_back(static_cast<unsigned char>(parts[i] >> (8 * b)));
    }
    return sid;
}

struct Ace {
    unsigned char type, flags;
    unsigned long mask;
    const char* sid;
};

std::vector<unsigned char> descriptor(const char* owner, const std::vector<Ace>& aces, bool dacl = true) {
    auto put16 = [](std::vector<unsigned char>& out, size_t at, size_t value) {
        out[at] = value & 0xff;
        out[at + 1] = (value >> 8) & 0xff;
    };
    std::vector<unsigned char> out(20, 0);
    out[0] = 1;
    put16(out, 2, 0x8000 | (dacl ? 0x0004 : 0));
    std::vector<unsigned char> ownerSid = sidBytes(owner);
    out[4] = 20;
    out.insert(out.end(), ownerSid.begin(), ownerSid.end());
    if (!dacl) return out;
    size_t acl = out.size();
    put16(out, 16, acl);
    out.resize(acl + 8, 0);
    out[acl] = 2;
    put16(out, acl + 4, aces.size());
    for (const Ace& ace : aces) {
        std::vector<unsigned char> sid = sidBytes(ace.sid);
        size_t at = out.size();
        out.resize(at + 8, 0);
        out[at] = ace.type;
        out[at + 1] = ace.flags;
        put16(out, at + 2, 8 + sid.size());
        for (int b = 0; b < 4; ++b) out[at + 4 + b] = static_cast<unsigned char>(ace.mask >> (8 * b));
        out.insert(out.end(), sid.begin(), sid.end());
    }
    put16(out, acl + 2, out.size() - acl);
    return out;
}

TEST(RemoveCleanUp, OnlyAFolderOfAdministratorsRunsTheInf) {
    const char* Admins = "S-1-5-32-544";
    const char* System = "S-1-5-18";
    const char* User = "S-1-5-21-1-2-3-1000";
    const Ace adminsFull = {0, 3, 0x1f01ff, Admins}, systemFull = {0, 3, 0x1f01ff, System},
              usersRead = {0, 3, 0x1200a9, "S-1-5-32-545"};
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool protectedFolder;
    } cases[] = {
        {"as setup protects it", descriptor(Admins, {adminsFull, systemFull, usersRead}), true},
        {"authenticated users may modify", descriptor(Admins, {adminsFull, {0, 3, 0x1301bf, "S-1-5-11"}}), false},
        {"users may add files", descriptor(Admins, {adminsFull, {0, 0, 0x2, "S-1-5-32-545"}}), false},
        {"everyone generic write", descriptor(System, {{0, 0, 0x40000000, "S-1-1-0"}}), false},
        {"owned by another account", descriptor("S-1-5-21-1-2-3-1001", {adminsFull}), false},
        {"owned by the running account", descriptor(User, {adminsFull, {0, 3, 0x1f01ff, User}}), true},
        {"creator owner, inherit only", descriptor(Admins, {adminsFull, {0, 0x0b, 0x10000000, "S-1-3-0"}}), true},
        {"a denial is passed over", descriptor(Admins, {{1, 0, 0x1f01ff, "S-1-1-0"}, adminsFull}), true},
        {"an object ACE", descriptor(Admins, {{5, 0, 0x1, "S-1-1-0"}}), false},
        {"no DACL", descriptor(Admins, {}, false), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(onlyAdministratorsMayWrite(c.bytes.data(), c.bytes.size(), User), c.protectedFolder);
        for (size_t cut = 0; c.protectedFolder && cut < c.bytes.size(); ++cut) {
            EXPECT_FALSE(onlyAdministratorsMayWrite(c.bytes.data(), cut, User)) << cut;
        }
    }
    EXPECT_FALSE(onlyAdministratorsMayWrite(nullptr, 0, User));
    std::vector<unsigned char> user = sidBytes(User);
    EXPECT_EQ(sidText(user.data(), user.size()), User);
    EXPECT_EQ(sidText(user.data(), user.size() - 1), "");
}

TEST(RemoveCleanUp, RefusedStepsAreToldNotCalledDone) {
    RemovalOutcome outcome;
    EXPECT_EQ(accessDeniedReport(outcome, "Quorvel"), "");
    outcome.filesDeleted = 2;
    outcome.keysDeleted = 0;
    outcome.linksDeleted = 1;
    for (int i = 0; i < 14; ++i) outcome.denied.push_back("C:\\Quorvel\\f" + std::to_string(i));
    const std::string text = accessDeniedReport(outcome, "Quorvel");
    EXPECT_EQ(text.find("Per rimuovere Quorvel servono i diritti di amministratore"), 0u);
    EXPECT_NE(text.find("Rimossi: file 2, chiavi del Registro 0, collegamenti 1."), std::string::npos);
    EXPECT_NE(text.find("Non sono stati rimossi:\r\nC:\\Quorvel\\f0\r\n"), std::string::npos);
    EXPECT_NE(text.find("C:\\Quorvel\\f11\r\ne altri 2.\r\n"), std::string::npos);
    EXPECT_EQ(text.find("f12"), std::string::npos);
    EXPECT_NE(text.find("Quorvel.inf restano nella cartella."), std::string::npos);
}

TEST(UninstallPlan, RunOnceCommandFollowsTheVersionFlag) {
    FakeMachine machine;
    IniTextProfile script(shippedScript());
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel", false), machine, &plan));
    EXPECT_EQ(plan.runOnceCommand,
              "rundll32.exe setupapi.dll,InstallHinfSection DefaultUninstall 132 "
              "C:\\Quorvel\\Quorvel.inf");
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("D:\\Programmi\\Quorvel", true), machine, &plan));
    EXPECT_EQ(plan.runOnceCommand,
              "rundll.exe setupx.dll,InstallHinfSection DefaultUninstall 132 "
              "D:\\Programmi\\Quorvel\\Quorvel.inf");
}

TEST(UninstallPlan, MissingSpecialFoldersSkipTheirShortcuts) {
    FakeMachine machine;
    IniTextProfile script(shippedScript());
    UninstallInputs inputs = inputsFor("C:\\Quorvel");
    inputs.desktopFolder = nullptr;
    inputs.programsFolder = nullptr;
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputs, machine, &plan));
    EXPECT_TRUE(plan.desktopLinks.empty());
    EXPECT_TRUE(plan.groups.empty());
    EXPECT_EQ(plan.files.size(), 7u);
}

TEST(UninstallPlan, NoFolderNoPlan) {
    FakeMachine machine;
    IniTextProfile script(shippedScript());
    const char* folders[] = {"", "Quorvel", "\\Quorvel", "C:\\Quorvel\\", "\\\\\\x",
                             "C:Quorvel", "C:", "c:\\windows", "C:\\WINDOWS\\SYSTEM32",
                             "\\\\server\\share"};
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        UninstallPlan plan;
        plan.files.push_back("stale");
        EXPECT_FALSE(buildUninstallPlan(script, inputsFor(folder), machine, &plan));
        EXPECT_TRUE(plan.files.empty());
        EXPECT_TRUE(plan.runOnceCommand.empty());
    }
    UninstallPlan plan;
    EXPECT_TRUE(buildUninstallPlan(script, inputsFor("C:\\WINDOWS\\Quorvel"), machine, &plan));
    EXPECT_TRUE(buildUninstallPlan(script, inputsFor("\\\\server\\share\\Quorvel"), machine, &plan));
}

// Empty values and names that leave their folder or key are left out; the
// sound entries around them stay.
TEST(UninstallPlan, HostileEntriesAreSkipped) {
    FakeMachine machine;
    IniTextProfile script(
        "[GENERAL]\r\nNomeGruppo=\\..\\..\\Windows\r\nAppPath=\r\n"
        "[DESKTOP]\r\nLink=\\..\\boot.ini\r\n"
        "[UNINSTALL]\r\nKey=Quorvel\\..\r\n"
        "[DELETEFILELIST]\r\n0=..\\..\\Windows\\win.ini\r\n1=C:\\autoexec.bat\r\n2=\r\n"
        "3=sub/x\r\n4=ok.txt\r\n5=a\x01" "b\r\n6=*.*\r\n"
        "[EXTENSIONS]\r\n0=\r\n1=*\r\n2=.\r\n3=qvl\r\n4=.q\\..\\x\r\n5=.qvl\r\n6=.dat\r\n"
        "[.qvl]\r\nFileType=\r\n[.dat]\r\nFileType=Tipo\\..\r\n"
        "[LINKLIST]\r\n0=..\\x\r\n1=buono\r\n");
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel"), machine, &plan));
    EXPECT_EQ(plan.files, std::vector<std::string>{"C:\\Quorvel\\ok.txt"});
    EXPECT_EQ(plan.dataPatterns,
              (std::vector<std::string>{"C:\\Quorvel\\*.qvl", "C:\\Quorvel\\*.dat"}));
    EXPECT_TRUE(plan.keys.empty());  // the two sound extension keys do not exist
    EXPECT_TRUE(plan.desktopLinks.empty());
    EXPECT_TRUE(plan.groups.empty());
}

// Shortcuts outside a group of the product's own are only reported, even
// when they point into the install folder; a plain group name without a
// shortcut of ours in it (another program's empty group, the system's
// "Strumenti di amministrazione") is no group of ours.
TEST(UninstallPlan, WithoutAGroupTheProgramsFolderStays) {
    FakeMachine machine;
    const std::string inPrograms =
        "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\Quorvel.lnk";
    machine.links[inPrograms] = "C:\\Quorvel\\Quorvel.exe";
    machine.links[std::string(Startup) + "\\Quorvel.lnk"] = "C:\\Quorvel\\Quorvel.exe";
    machine.links[std::string(Desktop) + "\\Quorvel.exe"] = "C:\\Quorvel\\Quorvel.exe";
    const std::string otherGroup = std::string(Programs) + "Strumenti di amministrazione";
    machine.links[otherGroup + "\\Altro.lnk"] = "C:\\Altro\\altro.exe";
    struct Case {
        const char* group;
        std::vector<std::string> left;
    } cases[] = {{"", {inPrograms}},
                 {"\\Esecuzione automatica", {std::string(Startup) + "\\Quorvel.lnk"}},
                 {"\\Strumenti di amministrazione", {otherGroup + "\\Altro.lnk"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        IniTextProfile script(std::string("[GENERAL]\r\nNomeGruppo=") + c.group +
                              "\r\n[LINKLIST]\r\n0=Quorvel\r\n1=Altro\r\n[DESKTOP]\r\nLink=\\Quorvel.exe\r\n");
        UninstallPlan plan;
        ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel"), machine, &plan));
        EXPECT_TRUE(plan.groups.empty());
        EXPECT_EQ(plan.left, c.left);
        EXPECT_TRUE(plan.desktopLinks.empty());  // only shortcuts are taken from the desktop
    }
}

// The script names other programs' keys and shortcuts: all are kept and
// listed; keys that do not exist are not tried. An extension naming a type
// key that is gone proves nothing and stays.
TEST(UninstallPlan, OtherProgramsEntriesAreLeftAndListed) {
    FakeMachine machine;
    plantOtherPrograms(machine);
    machine.links[std::string(Group) + "\\Quorvel.lnk"] = "C:\\Quorvel\\Quorvel.exe";
    machine.setKey(RegistryRoot::ClassesRoot, ".qvl", nullptr, "Quorvel.File.qvl");
    IniTextProfile script(
        "[GENERAL]\r\nNomeGruppo=\\Quorvel\r\nAppPath=IEXPLORE.EXE\r\n"
        "[DESKTOP]\r\nLink=\\Altro.lnk\r\n[UNINSTALL]\r\nKey=AltroProgramma\r\n"
        "[LINKLIST]\r\n0=Altro\r\n1=Prefisso\r\n2=Quorvel\r\n"
        "[EXTENSIONS]\r\n0=.exe\r\n1=.8\r\n2=.qvl\r\n"
        "[.qvl]\r\nFileType=Quorvel.File\r\nShellOpen=Quorvel.exe\r\n"
        "[.exe]\r\nFileType=exefile\r\nShellOpen=Quorvel.exe\r\n"
        "[.8]\r\nFileType=Word.Document\r\nShellOpen=WINWORD.EXE\r\n");
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel"), machine, &plan));
    EXPECT_TRUE(plan.keys.empty());
    ASSERT_EQ(plan.groups.size(), 1u);
    EXPECT_EQ(plan.groups[0].links, std::vector<std::string>{std::string(Group) + "\\Quorvel.lnk"});
    EXPECT_TRUE(plan.desktopLinks.empty());
    std::vector<std::string> left = plan.left;
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{
                        std::string(Desktop) + "\\Altro.lnk", std::string(Group) + "\\Altro.lnk",
                        std::string(Group) + "\\Prefisso.lnk", "HKEY_CLASSES_ROOT\\.exe",
                        "HKEY_CLASSES_ROOT\\.qvl",
                        "HKEY_CLASSES_ROOT\\Word.Document.8",
                        "HKEY_LOCAL_MACHINE\\" + AppPaths + "IEXPLORE.EXE",
                        "HKEY_LOCAL_MACHINE\\" + Uninstall + "AltroProgramma"}));
}

// The rules setup and remove share: one folder form, refused destinations,
// and the values that show a key or the INF to be this installation's.
TEST(InstallRules, FoldersAndOwnership) {
    const char* const normal[][2] = {
        {"C:\\Quorvel\\\\", "C:\\Quorvel"}, {"C:\\\\Quorvel", "C:\\Quorvel"}, {"C:\\", "C:"},
        {"C:/Quorvel/", "C:\\Quorvel"}, {"\\\\server\\\\share\\", "\\\\server\\share"}};
    for (const auto& c : normal) EXPECT_EQ(normaliseFolder(c[0]), c[1]) << c[0];

    // Setup takes only a drive; remove also a share, from App Paths.
    const struct {
        const char* text;
        PathRoot root;
    } roots[] = {{"C:\\", PathRoot::Drive}, {"d:\\a b\\c", PathRoot::Drive}, {"C:", PathRoot::None},
                 {"C:a", PathRoot::None}, {"", PathRoot::None}, {"\\\\server\\share", PathRoot::Share},
                 {"\\\\\\x", PathRoot::None}, {"\\\\", PathRoot::None}, {"1:\\x", PathRoot::None},
                 {"\xe0:\\x", PathRoot::None}};
    for (const auto& c : roots) EXPECT_EQ(pathRoot(c.text), c.root) << c.text;

    const char* Windows = "C:\\WINDOWS";
    const char* System = "C:\\WINDOWS\\system32";
    struct Case {
        const char* folder;
        bool existed;
        bool refused;
    } cases[] = {{"C:\\Quorvel", true, false},         {"C:\\", false, true},
                 {"D:", false, true},                   {"\\\\srv\\share", false, true},
                 {"c:\\windows\\", false, true},      {"C:\\WINDOWS\\SYSTEM32", false, true},
                 {"C:\\WINDOWS\\Fonts", true, true},   {"C:\\WINDOWS\\Quorvel", false, false},
                 {"C:\\WINDOWSX", true, false},         {"\\\\srv\\share\\Quorvel", true, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(isForbiddenInstallFolder(c.folder, Windows, System, c.existed), c.refused) << c.folder;
    }

    InstallFolderNames folder{"C:\\Programmi\\Quorvel", "C:\\PROGRA~1\\QUORVE~1"};
    EXPECT_TRUE(appPathIsOurs("c:\\programmi\\quorvel\\Quorvel.exe", folder, "Quorvel.exe"));
    EXPECT_TRUE(appPathIsOurs("C:\\Programmi\\Quorvel\\\\Quorvel.exe", folder, "Quorvel.exe"));
    EXPECT_FALSE(appPathIsOurs("C:\\Programmi\\Quorvel\\Altro.exe", folder, "Quorvel.exe"));
    EXPECT_FALSE(appPathIsOurs("C:\\Programmi\\Quorvel2\\Quorvel.exe", folder, "Quorvel.exe"));
    EXPECT_TRUE(openCommandIsOurs("\"C:\\Programmi\\Quorvel\\Quorvel.exe\" %1", folder, "Quorvel.exe"));
    EXPECT_FALSE(openCommandIsOurs("\"C:\\Programmi\\Quorvel\\Quorvel.exe\"x %1", folder, "Quorvel.exe"));
    EXPECT_FALSE(openCommandIsOurs("\"%1\" %*", folder, "Quorvel.exe"));
    EXPECT_TRUE(uninstallStringIsOurs("C:\\PROGRA~1\\QUORVE~1\\remove.exe /Quorvel", folder));
    EXPECT_TRUE(uninstallStringIsOurs("C:\\Programmi\\Quorvel\\remove.exe /Quorvel", folder));
    EXPECT_FALSE(uninstallStringIsOurs("C:\\PROGRA~1\\QUORVE~1\\remove.exex", folder));
    EXPECT_FALSE(uninstallStringIsOurs("C:\\Altro\\remove.exe /Quorvel", folder));

    IniTextProfile written("[DestinationDirs]\r\nInfFile=0,C:\\PROGRA~1\\QUORVE~1\r\n"
                           "DefaultDestDir=0,C:\\PROGRA~1\\QUORVE~1\r\n");
    EXPECT_TRUE(infNamesFolder(written, folder));
    IniTextProfile shipped("[DestinationDirs]\r\nInfFile=0,C:\\Quorvel\r\n"
                           "DefaultDestDir=0,C:\\Quorvel\r\n");
    EXPECT_FALSE(infNamesFolder(shipped, folder));  // a rewrite that did not happen
    IniTextProfile half("[DestinationDirs]\r\nInfFile=0,C:\\PROGRA~1\\QUORVE~1\r\n");
    EXPECT_FALSE(infNamesFolder(half, folder));
}

TEST(RemoveCommandLine, ProductAfterTheFirstSlash) {
    struct Case {
        const char* commandLine;
        bool accepted;
        const char* product;
    } cases[] = {
        {"/Quorvel", true, "Quorvel"},
        {"x /Quorvel", true, "Quorvel"},
        {"/Quor vel", true, "Quor vel"},
        {"", false, ""},
        {"Quorvel", false, ""},
        {"/", false, ""},
        {"/a/b", false, ""},
        {"/..\\..\\x", false, ""},
        {"/CON", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        char product[ProductSize];
        EXPECT_EQ(productFromCommandLine(c.commandLine, product, sizeof product), c.accepted);
        EXPECT_STREQ(product, c.product);
    }
    char product[ProductSize];
    std::string longest = "/" + std::string(127, 'q');
    EXPECT_TRUE(productFromCommandLine(longest.c_str(), product, sizeof product));
    std::string tooLong = "/" + std::string(128, 'q');
    EXPECT_FALSE(productFromCommandLine(tooLong.c_str(), product, sizeof product));
    EXPECT_STREQ(product, "");
    EXPECT_EQ(appPathsKeyFor("Quorvel"),
              "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorvel.exe");
}

TEST(RemoveInstallFolder, CutAtTheLastBackslash) {
    struct Case {
        const char* appPath;
        bool accepted;
        const char* folder;
    } cases[] = {
        {"C:\\Quorvel\\Quorvel.exe", true, "C:\\Quorvel"},
        {"C:\\Programmi\\Quorvel\\Quorvel.exe", true, "C:\\Programmi\\Quorvel"},
        {"C:\\Quorvel.exe", true, "C:"},
        {"\\\\server\\share\\Quorvel.exe", true, "\\\\server\\share"},
        {"Quorvel.exe", false, ""},
        {"", false, ""},
        {"\\Quorvel.exe", false, ""},
        {"relativo\\Quorvel.exe", false, ""},
        {"C:Quorvel\\Quorvel.exe", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.appPath);
        char folder[260];
        EXPECT_EQ(installFolderFromAppPath(c.appPath, folder, sizeof folder), c.accepted);
        EXPECT_STREQ(folder, c.folder);
    }
    char small[8];
    EXPECT_FALSE(installFolderFromAppPath("C:\\Quorvel\\Quorvel.exe", small, sizeof small));
}

TEST(RemoveDataFiles, OnlyNamesEndingWithTheExtension) {
    EXPECT_TRUE(isDataFileName("Esempio1.qvl", ".qvl"));
    EXPECT_TRUE(isDataFileName("MIO.QVL", ".qvl"));
    EXPECT_FALSE(isDataFileName("copia.qvlold", ".qvl"));  // matched through its 8.3 name
    EXPECT_FALSE(isDataFileName("leggimi.txt", ".qvl"));
    EXPECT_FALSE(isDataFileName("x.qvl", ""));
    EXPECT_FALSE(isDataFileName("x.qvl", "qvl"));
}

// Property: whatever the script holds, every planned path stays inside the
// install folder, the group folder or the desktop, and no planned key is a
// parent of the keys the installer writes.
std::string hostileValue(std::mt19937& random) {
    static const char* const pieces[] = {
        "", "Quorvel", ".qvl", "\\", "/", ":", "..", ".", "*", "?", "C:", "\\\\srv\\s", "\x01",
        "\t", " ", "CON", "Quorvel.exe", "\\Quorvel", "\\x.lnk", "a", "È", ";", "=", "[x]",
        "\\..", "Shell", ".lnk", "\"", "\r\n", "\x7f",
        // names of the other programs' keys and shortcuts planted below
        ".exe", "exefile", "Word.Document", ".8", "AltroProgramma", "IEXPLORE.EXE", "Altro",
        "\\Esecuzione automatica", "\\Altro.lnk", "Prefisso", "Prefisso.exe"};
    std::string value;
    int count = std::uniform_int_distribution<int>(0, 4)(random);
    for (int i = 0; i < count; ++i) {
        value += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(random)];
    }
    if (std::uniform_int_distribution<int>(0, 20)(random) == 0) value += std::string(300, 'x');
    return value;
}

// The text after prefix is one plain name: no separator, drive or "..".
bool plainName(const std::string& text, const std::string& prefix) {
    if (text.compare(0, prefix.size(), prefix) != 0) return false;
    std::string tail = text.substr(prefix.size());
    return !tail.empty() && tail.find_first_of("\\/:") == std::string::npos &&
           tail.find("..") == std::string::npos;
}

// Registry names have no ".." and no drives: only "\" separates keys.
bool plainKeyName(const std::string& key, const std::string& prefix) {
    return key.compare(0, prefix.size(), prefix) == 0 && key.size() > prefix.size() &&
           key.find('\\', prefix.size()) == std::string::npos;
}

bool plainTail(const std::string& path, const std::string& prefix) {
    return plainName(path, prefix) && path.size() < 260;
}

TEST(UninstallPlanProperty, NothingOutsideItsFoldersAndKeys) {
    std::mt19937 random(20240611);
    FakeMachine machine;
    plantOtherPrograms(machine);
    const FakeMachine sentinels = machine;
    const std::string folder = "C:\\Quorvel";
    const std::string desktop = Desktop;
    const std::string programs = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi";
    const std::string machinePrefixes[] = {
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
        "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\"};
    const char* const classTails[] = {"\\Shell\\Open\\Command", "\\Shell\\Open", "\\Shell",
                                      "\\DefaultIcon"};

    size_t planned = 0;  // the generator must also produce usable entries
    for (int round = 0; round < 10000; ++round) {
        std::string text;
        if (round == 5000) installInto(machine, folder, folder);
        auto line = [&](const std::string& key, const std::string& value) {
            text += key + "=" + value + "\r\n";
        };
        std::vector<std::string> extensions;
        text += "[GENERAL]\r\n";
        line("NomeGruppo", hostileValue(random));
        line("AppPath", hostileValue(random));
        text += "[DESKTOP]\r\n";
        line("Link", hostileValue(random));
        text += "[UNINSTALL]\r\n";
        line("Key", hostileValue(random));
        for (const char* list : {"DELETEFILELIST", "LINKLIST", "EXTENSIONS"}) {
            text += std::string("[") + list + "]\r\n";
            for (int i = 0; i < 4; ++i) {
                std::string value = hostileValue(random);
                if (std::string(list) == "EXTENSIONS") extensions.push_back(value);
                line(std::to_string(i), value);
            }
        }
        for (const std::string& extension : extensions) {
            text += "[" + extension + "]\r\n";
            line("FileType", hostileValue(random));
            line("ShellOpen", hostileValue(random));
        }

        IniTextProfile script(text);
        UninstallPlan plan;
        ASSERT_TRUE(buildUninstallPlan(script, inputsFor(folder.c_str()), machine, &plan));
        SCOPED_TRACE(text);
        planned += plan.files.size() + plan.dataPatterns.size() + plan.keys.size() +
                   plan.desktopLinks.size() + plan.groups.size();
        for (const ProgramGroup& group : plan.groups) planned += group.links.size();
        for (const std::string& file : plan.files) {
            EXPECT_TRUE(plainTail(file, folder + "\\")) << file;
        }
        ASSERT_EQ(plan.dataPatterns.size(), plan.dataExtensions.size());
        for (size_t i = 0; i < plan.dataPatterns.size(); ++i) {
            const std::string& pattern = plan.dataPatterns[i];
            EXPECT_TRUE(plainTail(pattern, folder + "\\*.")) << pattern;
            EXPECT_EQ(pattern.find_first_of("?*", folder.size() + 2), std::string::npos);
            EXPECT_EQ(pattern, folder + "\\*" + plan.dataExtensions[i]);
        }
        for (const std::string& link : plan.desktopLinks) {
            EXPECT_TRUE(plainTail(link, desktop + "\\")) << link;
            EXPECT_EQ(sentinels.links.count(link), 0u) << link;
        }
        for (const ProgramGroup& group : plan.groups) {
            EXPECT_EQ(group.folder.compare(0, programs.size() + 1, programs + "\\"), 0);
            EXPECT_EQ(group.folder.find(".."), std::string::npos) << group.folder;
            EXPECT_EQ(group.folder.find("\\\\"), std::string::npos) << group.folder;
            EXPECT_NE(group.folder, Startup);
            EXPECT_FALSE(group.links.empty());
            for (const std::string& link : group.links) {
                EXPECT_EQ(sentinels.links.count(link), 0u) << link;
                EXPECT_TRUE(plainTail(link, group.folder + "\\")) << link;
            }
        }
        for (const KeyDeletion& key : plan.keys) {
            const std::string id = FakeMachine::id(key.root, key.path);
            for (const std::string& other : sentinels.keys) {
                EXPECT_FALSE(other == id || other.compare(0, id.size() + 1, id + "\\") == 0)
                    << other << " under " << key.path;
            }
            if (key.root == RegistryRoot::LocalMachine) {
                bool underOwnKey = false;
                for (const std::string& prefix : machinePrefixes) {
                    underOwnKey = underOwnKey || plainKeyName(key.path, prefix);
                }
                EXPECT_TRUE(underOwnKey) << key.path;
                continue;
            }
            // A class key: one plain name, or a plain name with one of the
            // file type's own subkeys.
            std::string name = key.path;
            for (const char* tail : classTails) {
                size_t length = std::strlen(tail);
                if (name.size() > length && name.compare(name.size() - length, length, tail) == 0) {
                    name.resize(name.size() - length);
                    break;
                }
            }
            EXPECT_TRUE(plainKeyName(name, "")) << key.path;
        }
    }
    EXPECT_GT(planned, 10000u);
}

}  // namespace
