// The installer's run state, the rules by which it reads its script and the
// texts of its log. Portable: the Windows program hands in the platform's
// profile functions and a log writer over its file handle.
#pragma once

#include "common/profile.h"

#include <cstddef>
#include <string>
#include <vector>

constexpr unsigned InstallPathSize = 260;
extern const char ScriptFile[];  // "setup.ini", the script in the install folder
constexpr unsigned ScriptKeysSize = 65535;  // buffer of a list's key names

// Where the log's bytes go; write errors are the writer's own business.
class LogWriter {
public:
    virtual ~LogWriter() = default;
    virtual void write(const char* bytes, size_t count) = 0;
};

struct InstallContext {
    char installFolder[InstallPathSize] = "";  // without a trailing "\"
    char scriptPath[InstallPathSize] = "";     // "%s\<ScriptFile>"
    Profile* script = nullptr;                 // reads of scriptPath
    LogWriter* log = nullptr;                  // setup.log, none before it is open
    void* progressDialog = nullptr;            // window handle; none once closed
    bool accessDenied = false;                 // a step was refused by Windows: the run fails
};

// Takes the folder chosen by the user: normalised (normaliseFolder) and the
// script path formed. False, with the context unchanged, when either path
// would not fit in 260 characters.
bool setInstallFolder(InstallContext& context, const char* folder);

// As the platform's profile read of the script: the value cut at size - 1.
unsigned readScriptString(const InstallContext& context, const char* section, const char* key,
                          const char* defaultValue, char* buffer, unsigned size);

// Integer read (only NoPath): default 0, as GetPrivateProfileIntA.
int readScriptInt(const InstallContext& context, const char* section, const char* key);

// The section's key names in file order, read into 65,535 characters. The
// names carry no meaning: gaps, letters and any order are fine.
std::vector<std::string> readScriptKeys(const InstallContext& context, const char* section);

// A list section's values in key order, each read with valueSize; an empty
// value is still an entry.
std::vector<std::string> readScriptList(const InstallContext& context, const char* section,
                                        unsigned valueSize);

bool isCancelled(const InstallContext& context);

// Log entry labels; each entry starts on a new line and ends without one.
extern const char LogCopiedFile[];      // "\r\nCopiato il file: "
extern const char LogCreatedFolder[];   // "\r\nCreata la cartella: "
extern const char LogOpenedKey[];       // "\r\nAperta la chiave: "
extern const char LogCreatedKey[];      // "\r\nCreata la chiave: "
extern const char LogCreatedLink[];     // "\r\nCreato il link: "
extern const char LogCreatedDesktopLink[];  // "\r\nCreato il link sul desktop: "
extern const char LogModifiedFile[];    // "\r\nModificato il file: "
extern const char LogFailedLink[];      // "\r\nImpossibile creare il link: "

// Writes the label's bytes, then the text's; errors are ignored.
void logEntry(const InstallContext& context, const char* label, const char* text);

// The first line: "File creato il %d-%d-%d alle ore %d.%d.%d\r\n".
void logHeader(const InstallContext& context, int day, int month, int year, int hour,
               int minute, int second);

// The second line: "Copiato file di inizializzazione %s\r\n" with the script path.
void logScriptCopied(const InstallContext& context);

// "%s\%s" into a path buffer. False when it does not fit.
bool joinPath(const char* folder, const char* name, char* path, unsigned size);

// A plain file name that stays inside the folder it is joined to: not
// empty nor ending with a dot or blank, no drive, no separators or "..", no
// control or wildcard characters and no device name (CON, NUL, COM1...).
// Setup and remove refuse the rest.
bool isSafeFileName(const char* name);
