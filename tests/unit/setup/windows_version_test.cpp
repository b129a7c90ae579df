// Every row of the Windows-version table, with the uninstaller's flag, and
// what the installer does by family and version.
#include "setup/windows_version.h"
#include "setup/install_policy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(WindowsVersionLabel, EveryRow) {
    struct Case {
        unsigned long platform, major, minor;
        const char* servicePack;
        const char* label;
        bool oldSetupEngine;
    } cases[] = {
        {1, 4, 0, "", "Windows 95 ", true},
        {1, 4, 0, " C", "Windows 95 OSR2 ", true},
        {1, 4, 0, " B", "Windows 95 ", true},
        {1, 4, 0, "C", "Windows 95 ", true},
        {1, 4, 10, "", "Windows 98 ", true},
        {1, 4, 10, " A ", "Windows 98 SE ", true},
        {1, 4, 10, " C", "Windows 98 ", true},
        {1, 4, 90, " A", "Windows Me ", false},
        {1, 4, 91, "", "Windows versione successiva a Me ", false},
        {1, 5, 0, "", "Windows versione successiva a Me ", false},
        {2, 3, 51, "", "Windows NT ", false},
        {2, 4, 0, "Service Pack 6", "Windows NT ", false},
        {2, 5, 0, "", "Windows 2000 ", false},
        {2, 5, 1, "Service Pack 3", "Windows XP ", false},
        {2, 5, 2, "", "Windows versione successiva ad XP ", false},
        {2, 6, 1, "", "Windows versione successiva ad XP ", false},
        {2, 10, 0, "", "Windows versione successiva ad XP ", false},
        {0, 3, 10, "", "", false},
        {3, 4, 0, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WindowsVersion version = {c.major, c.minor, c.platform, c.servicePack};
        char label[WindowsVersionLabelSize];
        std::memset(label, 'Z', sizeof label);
        EXPECT_EQ(windowsVersionLabel(&version, label, sizeof label), c.oldSetupEngine);
        EXPECT_STREQ(label, c.label);
    }
}

TEST(WindowsVersionLabel, UnknownVersionAndSmallBuffers) {
    char label[8] = "xxxxxxx";
    EXPECT_TRUE(windowsVersionLabel(nullptr, label, sizeof label));
    EXPECT_STREQ(label, "");

    WindowsVersion xp = {5, 1, 2, nullptr};
    EXPECT_FALSE(windowsVersionLabel(&xp, label, sizeof label));
    EXPECT_STREQ(label, "Windows");
    EXPECT_FALSE(windowsVersionLabel(&xp, nullptr, 0));
}


// What changes with the family and version: 9x and an unknown version keep
// everything as it was; NT quotes the long path and protects a folder of
// its own; from Vista on Program Files and the all-users folders.
TEST(InstallPolicy, ByVersionAndWhatItGives) {
    struct Case {
        unsigned long platform, major, minor;
        bool known;
        const char* proposed;
        const char* outsideProtected;  // "C:\Quorvel": own ACL?
        const char* uninstall;
        bool common;
    } cases[] = {
        {1, 4, 10, true, "C:\\Quorvel", "no", "C:\\PROGRA~1\\QUORVEL\\remove.exe /Quorvel", false},
        {0, 0, 0, false, "C:\\Quorvel", "no", "C:\\PROGRA~1\\QUORVEL\\remove.exe /Quorvel", false},
        {2, 5, 1, true, "C:\\Quorvel", "yes",
         "\"C:\\Program Files (x86)\\Quorvel\\remove.exe\" /Quorvel", false},
        {2, 6, 0, true, "C:\\Program Files (x86)\\Quorvel", "yes",
         "\"C:\\Program Files (x86)\\Quorvel\\remove.exe\" /Quorvel", true},
        {2, 10, 0, true, "C:\\Program Files (x86)\\Quorvel", "yes",
         "\"C:\\Program Files (x86)\\Quorvel\\remove.exe\" /Quorvel", true},
    };
    const char* programFiles = "C:\\Program Files (x86)\\";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.major);
        WindowsVersion version = {c.major, c.minor, c.platform, ""};
        const InstallPolicy policy = installPolicyFor(c.known ? &version : nullptr);
        EXPECT_EQ(proposedInstallFolder(policy, programFiles), c.proposed);
        EXPECT_EQ(needsOwnProtection(policy, "C:\\Quorvel", programFiles) ? "yes" : "no",
                  std::string(c.outsideProtected));
        EXPECT_FALSE(needsOwnProtection(policy, "c:\\program files (x86)\\Quorvel", programFiles));
        EXPECT_FALSE(needsOwnProtection(policy, "C:\\Program Files (x86)", programFiles));
        EXPECT_EQ(needsOwnProtection(policy, "C:\\Program Files (x86) altro\\Quorvel", programFiles),
                  policy.protectFolder);
        EXPECT_EQ(needsOwnProtection(policy, "C:\\Program Files (x86)\\..\\Quorvel", programFiles),
                  policy.protectFolder);
        EXPECT_EQ(needsOwnProtection(policy, "C:\\Quorvel", ""), policy.protectFolder);
        EXPECT_EQ(uninstallCommand(policy, "C:\\Program Files (x86)\\Quorvel", "C:\\PROGRA~1\\QUORVEL",
                                   "remove.exe /Quorvel"),
                  c.uninstall);
        EXPECT_EQ(policy.commonShellFolders, c.common);
        // Without a Program Files folder from the shell, the old default.
        EXPECT_EQ(proposedInstallFolder(policy, ""), "C:\\Quorvel");
        EXPECT_EQ(proposedInstallFolder(policy, "C:\\"), "C:\\Quorvel");
    }
}

TEST(InstallPolicy, UninstallValuesAndTheAccessDeniedBox) {
    EXPECT_EQ(installDateText(2026, 12, 8), "20261208");
    EXPECT_EQ(installDateText(1999, 1, 31), "19990131");
    EXPECT_EQ(estimatedSizeKb(0), 0ul);
    EXPECT_EQ(estimatedSizeKb(1), 1ul);
    EXPECT_EQ(estimatedSizeKb(2048), 2ul);
    EXPECT_EQ(estimatedSizeKb(2049), 3ul);
    EXPECT_EQ(estimatedSizeKb(1ull << 50), 0xFFFFFFFFul);
    WindowsVersion xp = {5, 1, 2, ""};
    EXPECT_EQ(uninstallCommand(installPolicyFor(&xp), "C:\\Quorvel", "C:\\Quorvel", "remove.exe"),
              "\"C:\\Quorvel\\remove.exe\"");

    const char* lead = "Accesso negato: per installare Quorvel servono i diritti di amministratore.";
    const char* again = "Avviare di nuovo l'installazione come amministratore";
    struct Case {
        InstallStage stage;
        const char* done;
        const char* stopped;
        const char* notDone;
    } cases[] = {
        {InstallStage::Folder, nullptr, nullptr, nullptr},
        {InstallStage::Files, "Già fatto: nulla.", "Interrotto: copia dei file nella cartella.",
         "Non fatto: registrazione del programma e del tipo di file; collegamenti nel menu Start e "
         "sul desktop; esempi di calcolo; voce per la disinstallazione nell'elenco dei programmi."},
        {InstallStage::Registration, "Già fatto: copia dei file nella cartella.",
         "Interrotto: registrazione del programma e del tipo di file.", "Non fatto: collegamenti"},
        {InstallStage::Uninstall,
         "Già fatto: copia dei file nella cartella; registrazione del programma e del tipo di file; "
         "collegamenti nel menu Start e sul desktop; esempi di calcolo.",
         "Interrotto: voce per la disinstallazione", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stage));
        const std::string text = accessDeniedText(c.stage);
        EXPECT_EQ(text.find(lead), 0u) << text;
        EXPECT_NE(text.find(again), std::string::npos) << text;
        EXPECT_EQ(text.find("Non è stato installato nulla.") != std::string::npos, c.done == nullptr);
        for (const char* part : {c.done, c.stopped, c.notDone}) {
            if (part) {
                EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
            }
        }
        EXPECT_EQ(text.find("Non fatto:") != std::string::npos, c.notDone != nullptr) << text;
    }
}

}  // namespace
