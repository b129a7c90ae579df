// Version table of the installer and the uninstaller.
#include "setup/windows_version.h"

#include <cstdio>
#include <cstring>

namespace {

// The service pack's second character marks the later editions of 95 and 98
// ("OSR2" is " C", 98 SE is " A"); a text shorter than that marks nothing.
bool editionMark(const char* servicePack, char mark) {
    return servicePack && servicePack[0] != '\0' && servicePack[1] == mark;
}

}  // namespace

bool windowsVersionLabel(const WindowsVersion* version, char* label, unsigned size) {
    if (size > 0) label[0] = '\0';
    if (!version) return true;

    const char* text = "";
    const char* edition = "";
    bool oldSetupEngine = false;
    unsigned long major = version->majorVersion, minor = version->minorVersion;
    if (version->platformId == 1) {
        if (major == 4 && minor == 0) {
            text = "Windows 95 ";
            if (editionMark(version->servicePack, 'C')) edition = "OSR2 ";
            oldSetupEngine = true;
        } else if (major == 4 && minor == 10) {
            text = "Windows 98 ";
            if (editionMark(version->servicePack, 'A')) edition = "SE ";
            oldSetupEngine = true;
        } else if (major == 4 && minor == 90) {
            text = "Windows Me ";
        } else {
            text = "Windows versione successiva a Me ";
        }
    } else if (version->platformId == 2) {
        if (major <= 4) text = "Windows NT ";
        else if (major == 5 && minor == 0) text = "Windows 2000 ";
        else if (major == 5 && minor == 1) text = "Windows XP ";
        else text = "Windows versione successiva ad XP ";
    }
    if (size > 0) std::snprintf(label, size, "%s%s", text, edition);
    return oldSetupEngine;
}
