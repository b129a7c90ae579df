// The installer's rules by Windows family and version, and the texts it
// shows when Windows refuses access.
#include "setup/install_policy.h"

#include "setup/install_rules.h"

#include <cstdio>

const char ClassicInstallFolder[] = "C:\\Quorvel";
const char ProtectedFolderSddl[] = "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
const char ProductPublisher[] = "Progetto Quorvel";
const char ProductDisplayVersion[] = "2.02";

namespace {

const char* const StageNames[] = {
    "",  // the folder stage installs nothing
    "copia dei file nella cartella",
    "registrazione del programma e del tipo di file",
    "collegamenti nel menu Start e sul desktop",
    "esempi di calcolo",
    "voce per la disinstallazione nell'elenco dei programmi",
};
const int LastStage = static_cast<int>(InstallStage::Uninstall);

std::string stageList(int from, int to) {
    std::string list;
    for (int stage = from; stage <= to; ++stage) {
        if (!list.empty()) list += "; ";
        list += StageNames[stage];
    }
    return list;
}

}  // namespace

InstallPolicy installPolicyFor(const WindowsVersion* version) {
    InstallPolicy policy;
    if (!version || version->platformId != 2) return policy;
    const bool vista = version->majorVersion >= 6;
    policy.programFilesFolder = vista;
    policy.protectFolder = true;
    policy.commonShellFolders = vista;
    policy.quotedUninstallString = true;
    return policy;
}

std::string proposedInstallFolder(const InstallPolicy& policy, const char* programFiles) {
    if (!policy.programFilesFolder || !programFiles || normaliseFolder(programFiles).size() < 3)
        return ClassicInstallFolder;
    return normaliseFolder(programFiles) + "\\Quorvel";
}

bool needsOwnProtection(const InstallPolicy& policy, const char* folder, const char* programFiles) {
    if (!policy.protectFolder) return false;
    return !programFiles || !*programFiles || !isInsideFolder(folder, programFiles);
}

std::string uninstallCommand(const InstallPolicy& policy, const std::string& longFolder,
                             const std::string& shortFolder, const std::string& exeRemove) {
    if (!policy.quotedUninstallString) return shortFolder + "\\" + exeRemove;
    const size_t blank = exeRemove.find(' ');
    const std::string program = exeRemove.substr(0, blank);
    std::string command = "\"" + longFolder + "\\" + program + "\"";
    if (blank != std::string::npos) command += exeRemove.substr(blank);
    return command;
}

std::string installDateText(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year % 10000, month % 100, day % 100);
    return text;
}

unsigned long estimatedSizeKb(unsigned long long bytes) {
    const unsigned long long kb = (bytes + 1023) / 1024;
    return kb > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<unsigned long>(kb);
}

std::string accessDeniedText(InstallStage stage) {
    std::string text = "Accesso negato: per installare Quorvel servono i diritti di amministratore.\r\n\r\n";
    const int at = static_cast<int>(stage);
    if (stage == InstallStage::Folder) {
        text += "Non è stato installato nulla.";
    } else {
        const int firstStage = static_cast<int>(InstallStage::Files);
        text += "Già fatto: " + (at > firstStage ? stageList(firstStage, at - 1) : std::string("nulla")) + ".\r\n";
        text += "Interrotto: " + std::string(StageNames[at]) + ".\r\n";
        if (at < LastStage) text += "Non fatto: " + stageList(at + 1, LastStage) + ".\r\n";
        text += "\r\nQuorvel non è installato correttamente.";
    }
    text += " Avviare di nuovo l'installazione come amministratore (tasto destro del mouse su "
            "setup.exe, \"Esegui come amministratore\") e scegliere la stessa cartella.";
    return text;
}
