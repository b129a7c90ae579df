// Help-file path and openable extensions.
#include "app/shell/startup_rules.h"

#include "common/bounded_text.h"

#include <cstring>

namespace {

const char HelpFileName[] = "Quorvel.chm";
const size_t PathCapacity = 260;

struct OpenableExtension {
    const char* extension;
    int command;
};

const OpenableExtension OpenableExtensions[] = {
    {".qvl", 40049},
};

// ".qvl" is ASCII, and Windows-1252 lower-casing never maps a character
// outside ASCII into it, so ASCII folding decides the match exactly.
bool equalsIgnoringAsciiCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (ca != cb)
            return false;
        if (ca == '\0')
            return true;
    }
}

}  // namespace

bool buildHelpPath(const char* programPath, char* out, size_t size)
{
    const char* slash = programPath ? std::strrchr(programPath, '\\') : nullptr;
    if (!slash) {
        copyBounded(out, size, HelpFileName);
        return false;
    }
    const size_t folderLength = static_cast<size_t>(slash - programPath) + 1;
    if (folderLength + sizeof HelpFileName > size) {
        copyBounded(out, size, HelpFileName);
        return false;
    }
    std::memcpy(out, programPath, folderLength);
    std::memcpy(out + folderLength, HelpFileName, sizeof HelpFileName);
    return true;
}

int commandForFileName(const char* name)
{
    if (!name || !*name)
        return 0;
    if (std::strlen(name) >= PathCapacity)
        return 0;
    const char* component = name;
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            component = p + 1;
    const char* dot = std::strrchr(component, '.');
    if (!dot)
        return 0;
    for (const OpenableExtension& entry : OpenableExtensions)
        if (equalsIgnoringAsciiCase(dot, entry.extension))
            return entry.command;
    return 0;
}
