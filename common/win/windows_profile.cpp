// The Profile interface over GetPrivateProfileStringA and its relatives.
#include "common/win/windows_profile.h"

#include <cstring>

#include "common/bounded_text.h"

WindowsProfile::WindowsProfile(const char* path)
{
    path_[0] = '\0';
    if (!path)
        return;
    const bool hasFolder = std::strchr(path, '\\') || std::strchr(path, '/') || std::strchr(path, ':');
    if (!hasFolder) {
        const DWORD length = GetFullPathNameA(path, sizeof path_, path_, nullptr);
        if (length > 0 && length < sizeof path_)
            return;
    }
    if (!copyBounded(path_, path))
        path_[0] = '\0';  // too long for the profile functions: reads nothing, writes fail
}

unsigned WindowsProfile::readString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, unsigned size)
{
    if (size == 0)
        return 0;
    if (!path_[0]) {
        buffer[0] = '\0';
        return 0;
    }
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path_);
}

int WindowsProfile::readInt(const char* section, const char* key, int defaultValue)
{
    if (!path_[0])
        return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path_));
}

unsigned WindowsProfile::readKeys(const char* section, char* buffer, unsigned size)
{
    if (size < 2 || !path_[0]) {
        if (size > 0)
            buffer[0] = '\0';
        if (size > 1)
            buffer[1] = '\0';
        return 0;
    }
    return GetPrivateProfileStringA(section, nullptr, "", buffer, size, path_);
}

bool WindowsProfile::writeString(const char* section, const char* key, const char* value)
{
    return path_[0] && WritePrivateProfileStringA(section, key, value, path_) != FALSE;
}
