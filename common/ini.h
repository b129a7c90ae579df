// Portable INI reader and writer with the rules of the Windows profile-string
// functions, for the native build, the command-line tools and the unit tests.
// Where the platform's own functions disagree with each other or misbehave
// (an exactly fitting quoted value loses a character, names with accented
// capitals do not match under Wine), the sound behaviour is chosen.
#pragma once

#include "common/profile.h"

#include <map>
#include <string>

// The functions below work on the whole text of an INI file held in memory.
// Lines may end with CR LF, LF or CR.

// As GetPrivateProfileStringA with a key. A null defaultValue reads as "".
unsigned iniReadString(const std::string& text, const char* section, const char* key,
                       const char* defaultValue, char* buffer, unsigned size);

// As GetPrivateProfileIntA: the value's first 29 characters read as the
// platform reads them (blanks, sign, 0x/0o/0b prefixes, wrap-around at 32
// bits); a missing or empty value gives defaultValue, other text gives 0.
int iniReadInt(const std::string& text, const char* section, const char* key, int defaultValue);

// As GetPrivateProfileStringA with a null key: the key names of the first
// section of that name in file order, without comments and lines lacking "=".
// A list that does not fit is cut inside its last name and the count is
// size - 2, as the platform does.
unsigned iniReadKeys(const std::string& text, const char* section, char* buffer, unsigned size);

// As WritePrivateProfileStringA on the text. A null value deletes the key, a
// null key the section. Lines that are not written keep their bytes; new
// lines take the text's own line end (CR LF in a text without any). False,
// with the text unchanged, for an empty section or key name.
bool iniWriteString(std::string& text, const char* section, const char* key, const char* value);

// A profile over text held in memory (scripts carried as resources, tests).
class IniTextProfile : public Profile {
public:
    IniTextProfile() = default;
    explicit IniTextProfile(std::string text) : text_(std::move(text)) {}

    unsigned readString(const char* section, const char* key, const char* defaultValue,
                        char* buffer, unsigned size) override;
    int readInt(const char* section, const char* key, int defaultValue) override;
    unsigned readKeys(const char* section, char* buffer, unsigned size) override;
    bool writeString(const char* section, const char* key, const char* value) override;

    const std::string& text() const { return text_; }

protected:
    // The text that holds the section's lines.
    virtual const std::string& textOf(const char*) const { return text_; }

private:
    std::string text_;
};

// A read-only profile over INI text too long to scan again at every call (a
// calculation of thousands of rows): the sections are found once, and each
// call reads the lines of the first section of its name alone. Writes fail.
class IniSectionProfile : public IniTextProfile {
public:
    explicit IniSectionProfile(std::string text);

    bool hasSection(const char* section) const;
    bool writeString(const char* section, const char* key, const char* value) override;

protected:
    const std::string& textOf(const char* section) const override;

private:
    std::map<std::string, std::string> sections_;  // folded name -> its header and lines
};

// A profile over a file, read afresh at every call as the platform does. A
// missing or unreadable file reads as empty; a write creates a missing file
// and fails when the file cannot be read or written.
class IniFileProfile : public Profile {
public:
    explicit IniFileProfile(const char* path) : path_(path ? path : "") {}

    unsigned readString(const char* section, const char* key, const char* defaultValue,
                        char* buffer, unsigned size) override;
    int readInt(const char* section, const char* key, int defaultValue) override;
    unsigned readKeys(const char* section, char* buffer, unsigned size) override;
    bool writeString(const char* section, const char* key, const char* value) override;

private:
    std::string path_;
};

// Whole-file helpers shared with the file-based profile and the installer.
// readWholeFile is false for a missing or unreadable file (text emptied).
bool readWholeFile(const char* path, std::string* text);
bool writeWholeFile(const char* path, const std::string& text);
