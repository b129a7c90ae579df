// Access to INI-format files (calculation files, the installer script) with
// the semantics of the Windows profile-string functions. The Windows programs
// use the platform's own functions; the native build, the command-line tools
// and the unit tests use the portable reader and writer.
#pragma once

class Profile {
public:
    virtual ~Profile() = default;

    // As GetPrivateProfileStringA with a key: copies at most size - 1
    // characters of the value (or of defaultValue) and returns the count copied.
    virtual unsigned readString(const char* section, const char* key, const char* defaultValue,
                                char* buffer, unsigned size) = 0;

    // As GetPrivateProfileIntA.
    virtual int readInt(const char* section, const char* key, int defaultValue) = 0;

    // As GetPrivateProfileStringA with a null key: the section's key names in
    // file order, each NUL-terminated, the list ending with a second NUL.
    // Returns the count of characters copied, not counting the final NUL.
    virtual unsigned readKeys(const char* section, char* buffer, unsigned size) = 0;

    // As WritePrivateProfileStringA; false when the file cannot be written.
    virtual bool writeString(const char* section, const char* key, const char* value) = 0;
};
