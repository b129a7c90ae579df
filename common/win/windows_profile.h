// Profile over the platform's own profile-string functions, for the Windows
// programs' INI files (calculation files, the installer script).
#pragma once

#include <windows.h>

#include "common/profile.h"

class WindowsProfile : public Profile {
public:
    // A name without a folder is taken in the current directory: the profile
    // functions would otherwise look for it in the Windows directory.
    explicit WindowsProfile(const char* path);

    unsigned readString(const char* section, const char* key, const char* defaultValue,
                        char* buffer, unsigned size) override;
    int readInt(const char* section, const char* key, int defaultValue) override;
    unsigned readKeys(const char* section, char* buffer, unsigned size) override;
    bool writeString(const char* section, const char* key, const char* value) override;

    const char* path() const { return path_; }

private:
    char path_[MAX_PATH];
};
