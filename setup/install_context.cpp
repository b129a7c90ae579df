// Script reading and log writing of the installer, shared with the
// uninstaller through the same script rules.
#include "setup/install_context.h"

#include "common/bounded_text.h"
#include "common/cp1252.h"
#include "setup/install_rules.h"

#include <cstdio>
#include <cstring>

const char ScriptFile[] = "setup.ini";
const char LogCopiedFile[] = "\r\nCopiato il file: ";
const char LogCreatedFolder[] = "\r\nCreata la cartella: ";
const char LogOpenedKey[] = "\r\nAperta la chiave: ";
const char LogCreatedKey[] = "\r\nCreata la chiave: ";
const char LogCreatedLink[] = "\r\nCreato il link: ";
const char LogCreatedDesktopLink[] = "\r\nCreato il link sul desktop: ";
const char LogModifiedFile[] = "\r\nModificato il file: ";
const char LogFailedLink[] = "\r\nImpossibile creare il link: ";

bool setInstallFolder(InstallContext& context, const char* folder) {
    const std::string trimmed = normaliseFolder(folder);
    if (trimmed.size() >= InstallPathSize) return false;
    char script[InstallPathSize];
    if (!joinPath(trimmed.c_str(), ScriptFile, script, sizeof script)) return false;
    copyBounded(context.installFolder, trimmed.c_str());
    copyBounded(context.scriptPath, script);
    return true;
}

unsigned readScriptString(const InstallContext& context, const char* section, const char* key,
                          const char* defaultValue, char* buffer, unsigned size) {
    if (!buffer || size == 0) return 0;
    if (!context.script) {
        // No script: every value is its default, cut like a read value.
        copyBounded(buffer, size, defaultValue ? defaultValue : "");
        return static_cast<unsigned>(std::strlen(buffer));
    }
    return context.script->readString(section, key, defaultValue, buffer, size);
}

int readScriptInt(const InstallContext& context, const char* section, const char* key) {
    return context.script ? context.script->readInt(section, key, 0) : 0;
}

std::vector<std::string> readScriptKeys(const InstallContext& context, const char* section) {
    std::vector<std::string> names;
    if (!context.script) return names;
    std::vector<char> buffer(ScriptKeysSize);
    unsigned count = context.script->readKeys(section, buffer.data(), ScriptKeysSize);
    for (unsigned at = 0; at < count && buffer[at] != '\0';) {
        size_t length = std::strlen(&buffer[at]);
        names.emplace_back(&buffer[at], length);
        at += static_cast<unsigned>(length) + 1;
    }
    return names;
}

std::vector<std::string> readScriptList(const InstallContext& context, const char* section,
                                        unsigned valueSize) {
    std::vector<std::string> values;
    std::vector<char> buffer(valueSize ? valueSize : 1);
    for (const std::string& name : readScriptKeys(context, section)) {
        readScriptString(context, section, name.c_str(), "", buffer.data(), valueSize);
        values.emplace_back(buffer.data());
    }
    return values;
}

bool isCancelled(const InstallContext& context) {
    return context.progressDialog == nullptr;
}

void logEntry(const InstallContext& context, const char* label, const char* text) {
    if (!context.log) return;
    context.log->write(label, std::strlen(label));
    context.log->write(text, std::strlen(text));
}

void logHeader(const InstallContext& context, int day, int month, int year, int hour,
               int minute, int second) {
    if (!context.log) return;
    char line[96];
    int length = std::snprintf(line, sizeof line, "File creato il %d-%d-%d alle ore %d.%d.%d\r\n",
                               day, month, year, hour, minute, second);
    if (length > 0) context.log->write(line, std::strlen(line));
}

void logScriptCopied(const InstallContext& context) {
    if (!context.log) return;
    static const char lead[] = "Copiato file di inizializzazione ";
    context.log->write(lead, sizeof lead - 1);
    context.log->write(context.scriptPath, std::strlen(context.scriptPath));
    context.log->write("\r\n", 2);
}

bool joinPath(const char* folder, const char* name, char* path, unsigned size) {
    size_t folderLength = std::strlen(folder), nameLength = std::strlen(name);
    if (size == 0 || folderLength + 1 + nameLength >= size) return false;
    copyBounded(path, size, folder);
    appendBounded(path, size, "\\");
    return appendBounded(path, size, name);
}

bool isSafeFileName(const char* name) {
    if (!name || !*name) return false;
    // Windows drops trailing dots and blanks, so such a name is not the file
    // it says ("." is the folder itself).
    size_t length = std::strlen(name);
    if (name[length - 1] == '.' || name[length - 1] == ' ') return false;
    for (const char* p = name; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
        if (c == '.' && p[1] == '.') return false;
    }

    // Device names stay devices whatever the folder and the extension.
    char base[8];
    length = std::strcspn(name, ".");
    while (length > 0 && name[length - 1] == ' ') --length;
    if (length < 3 || length > 4) return true;
    for (size_t i = 0; i < length; ++i) base[i] = static_cast<char>(cp1252Lower(name[i]));
    base[length] = '\0';
    static const char* const devices[] = {"con", "prn", "aux", "nul"};
    for (const char* device : devices) {
        if (std::strcmp(base, device) == 0) return false;
    }
    if (length == 4 && (std::strncmp(base, "com", 3) == 0 || std::strncmp(base, "lpt", 3) == 0) &&
        base[3] >= '1' && base[3] <= '9') {
        return false;
    }
    return true;
}
