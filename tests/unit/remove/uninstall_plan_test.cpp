// The uninstall plan: the shipped script, the command line, the folder, and
// hostile scripts that try to make the uninstaller reach outside its own
// folders and keys.
#include "remove/uninstall_plan.h"

#include "common/ini.h"
#include "setup/install_context.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

const char Desktop[] = "C:\\Documents and Settings\\utente\\Desktop";
const char Programs[] = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\";

UninstallInputs inputsFor(const char* folder, bool oldSetupEngine = false) {
    UninstallInputs inputs;
    inputs.product = "Quorvel";
    inputs.installFolder = folder;
    inputs.desktopFolder = Desktop;
    inputs.programsFolder = Programs;
    inputs.oldSetupEngine = oldSetupEngine;
    return inputs;
}

std::string shippedScript() {
    std::string text;
    readWholeFile((std::string(QUORVEL_SOURCE_DIR) + "/setup/setup.ini").c_str(), &text);
    return text;
}

TEST(UninstallPlan, ShippedScriptIntoCQuorvel) {
    IniTextProfile script(shippedScript());
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel"), &plan));

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

    EXPECT_EQ(plan.desktopLink, std::string(Desktop) + "\\Quorvel.lnk");
    std::string group = "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi\\Quorvel";
    EXPECT_EQ(plan.groupFolder, group);
    EXPECT_EQ(plan.groupLinks,
              (std::vector<std::string>{group + "\\Quorvel.lnk", group + "\\Guida di Quorvel.lnk",
                                        group + "\\Album fotografico.lnk",
                                        group + "\\Bibliografia.lnk",
                                        group + "\\Disinstallazione di Quorvel.lnk"}));
    EXPECT_EQ(plan.runOnceName, "Quorvel");
}

TEST(UninstallPlan, RunOnceCommandFollowsTheVersionFlag) {
    IniTextProfile script(shippedScript());
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel", false), &plan));
    EXPECT_EQ(plan.runOnceCommand,
              "rundll32.exe setupapi.dll,InstallHinfSection DefaultUninstall 132 "
              "C:\\Quorvel\\Quorvel.inf");
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("D:\\Programmi\\Quorvel", true), &plan));
    EXPECT_EQ(plan.runOnceCommand,
              "rundll.exe setupx.dll,InstallHinfSection DefaultUninstall 132 "
              "D:\\Programmi\\Quorvel\\Quorvel.inf");
}

TEST(UninstallPlan, MissingSpecialFoldersSkipTheirShortcuts) {
    IniTextProfile script(shippedScript());
    UninstallInputs inputs = inputsFor("C:\\Quorvel");
    inputs.desktopFolder = nullptr;
    inputs.programsFolder = nullptr;
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputs, &plan));
    EXPECT_TRUE(plan.desktopLink.empty());
    EXPECT_TRUE(plan.groupLinks.empty());
    EXPECT_TRUE(plan.groupFolder.empty());
    EXPECT_EQ(plan.files.size(), 7u);
}

TEST(UninstallPlan, NoFolderNoPlan) {
    IniTextProfile script(shippedScript());
    const char* folders[] = {"", "Quorvel", "\\Quorvel", "C:\\Quorvel\\", "\\\\\\x",
                             "C:Quorvel"};
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        UninstallPlan plan;
        plan.files.push_back("stale");
        EXPECT_FALSE(buildUninstallPlan(script, inputsFor(folder), &plan));
        EXPECT_TRUE(plan.files.empty());
        EXPECT_TRUE(plan.runOnceCommand.empty());
    }
    UninstallPlan plan;
    EXPECT_TRUE(buildUninstallPlan(script, inputsFor("C:"), &plan));  // a drive root install
    EXPECT_EQ(plan.files[0], "C:\\Quorvel.exe");
    EXPECT_TRUE(buildUninstallPlan(script, inputsFor("\\\\server\\share\\Quorvel"), &plan));
}

// Empty values and names that leave their folder or key are left out; the
// sound entries around them stay.
TEST(UninstallPlan, HostileEntriesAreSkipped) {
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
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel"), &plan));
    EXPECT_EQ(plan.files, std::vector<std::string>{"C:\\Quorvel\\ok.txt"});
    EXPECT_EQ(plan.dataPatterns,
              (std::vector<std::string>{"C:\\Quorvel\\*.qvl", "C:\\Quorvel\\*.dat"}));
    ASSERT_EQ(plan.keys.size(), 2u);  // only the two extension keys themselves
    EXPECT_EQ(plan.keys[0].path, ".qvl");
    EXPECT_EQ(plan.keys[1].path, ".dat");
    EXPECT_TRUE(plan.desktopLink.empty());
    EXPECT_TRUE(plan.groupLinks.empty());
    EXPECT_TRUE(plan.groupFolder.empty());
}

TEST(UninstallPlan, WithoutAGroupTheProgramsFolderStays) {
    IniTextProfile script("[GENERAL]\r\nNomeGruppo=\r\n[LINKLIST]\r\n0=Quorvel\r\n"
                          "[DESKTOP]\r\nLink=\\Quorvel.exe\r\n");
    UninstallPlan plan;
    ASSERT_TRUE(buildUninstallPlan(script, inputsFor("C:\\Quorvel"), &plan));
    EXPECT_EQ(plan.groupLinks, std::vector<std::string>{
                                   "C:\\Documents and Settings\\utente\\Menu Avvio\\Programmi"
                                   "\\Quorvel.lnk"});
    EXPECT_TRUE(plan.groupFolder.empty());
    EXPECT_TRUE(plan.desktopLink.empty());  // only shortcuts are taken from the desktop
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
        "\\..", "Shell", ".lnk", "\"", "\r\n", "\x7f"};
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
        }

        IniTextProfile script(text);
        UninstallPlan plan;
        ASSERT_TRUE(buildUninstallPlan(script, inputsFor(folder.c_str()), &plan));
        SCOPED_TRACE(text);
        planned += plan.files.size() + plan.dataPatterns.size() + plan.groupLinks.size() +
                   plan.keys.size() + !plan.desktopLink.empty() + !plan.groupFolder.empty();
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
        if (!plan.desktopLink.empty()) {
            EXPECT_TRUE(plainTail(plan.desktopLink, desktop + "\\")) << plan.desktopLink;
        }
        if (!plan.groupFolder.empty()) {
            EXPECT_EQ(plan.groupFolder.compare(0, programs.size() + 1, programs + "\\"), 0);
            EXPECT_EQ(plan.groupFolder.find(".."), std::string::npos) << plan.groupFolder;
            EXPECT_EQ(plan.groupFolder.find("\\\\"), std::string::npos) << plan.groupFolder;
        }
        for (const std::string& link : plan.groupLinks) {
            std::string group = plan.groupFolder.empty() ? programs : plan.groupFolder;
            EXPECT_TRUE(plainTail(link, group + "\\")) << link;
        }
        for (const KeyDeletion& key : plan.keys) {
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
