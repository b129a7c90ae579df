// Strings of the program's version block.
#include <cstring>

#include "app/shell/main_window.h"

namespace {

const char* const VersionValueNames[] = {
    "\\StringFileInfo\\041004B0\\FileDescription", "\\StringFileInfo\\041004B0\\FileVersion",
    "\\StringFileInfo\\041004B0\\LegalCopyright",  "\\StringFileInfo\\041004B0\\ProductName",
    "\\StringFileInfo\\041004B0\\CompanyName",
};

}  // namespace

int getVersionString(HWND owner, int selector, char* buffer, int size)
{
    char programName[260];
    DWORD nameLength = GetModuleFileNameA(nullptr, programName, sizeof programName);
    if (nameLength == 0 || nameLength >= sizeof programName)
        programName[0] = '\0';

    DWORD handle = 0;
    const DWORD infoSize = programName[0] ? GetFileVersionInfoSizeA(programName, &handle) : 0;
    if (infoSize == 0) {
        MessageBoxA(owner, "Informazioni sulla versione non presenti!", programName, MB_OK);
        return 0;
    }
    if (selector < 1 || selector > 5 || !buffer || size <= 0)
        return 0;

    HGLOBAL memory = GlobalAlloc(GMEM_FIXED, infoSize);
    if (!memory)
        return 0;
    int copied = 0;
    void* info = memory;
    char* value = nullptr;
    UINT valueLength = 0;
    if (GetFileVersionInfoA(programName, handle, infoSize, info) &&
        VerQueryValueA(info, VersionValueNames[selector - 1], reinterpret_cast<void**>(&value),
                       &valueLength) &&
        value && value[0] != '\0') {
        // The reported length counts the terminating zero.
        const size_t length = std::strlen(value);
        if (length + 1 <= static_cast<size_t>(size)) {
            std::memcpy(buffer, value, length + 1);
            copied = 1;
        }
    }
    GlobalFree(memory);
    return copied;
}
