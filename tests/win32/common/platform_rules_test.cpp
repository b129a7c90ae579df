// The platform's own profile functions and CharLowerA against the same case
// tables that check the portable INI rules and Windows-1252 folding natively:
// the two implementations must stay interchangeable.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/common/charlower_cases.h"
#include "tests/common/ini_cases.h"

namespace {

std::string printable(const char* bytes, size_t length)
{
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == 0)
            out += "\\0";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::string withLineEnds(const char* text, const char* eol)
{
    std::string out;
    for (; *text; ++text)
        out += *text == '\n' ? std::string(eol) : std::string(1, *text);
    return out;
}

class PlatformProfileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        path_ = std::string(folder) + "qv_platform_profile.ini";
        DeleteFileA(path_.c_str());
    }
    void TearDown() override
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());  // flush the cache
        DeleteFileA(path_.c_str());
    }
    void put(const std::string* bytes)
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
        DeleteFileA(path_.c_str());
        if (!bytes)
            return;
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr);
        CloseHandle(file);
    }
    std::string contents()
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
        std::string text;
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
            text.append(buffer, got);
        CloseHandle(file);
        return text;
    }
    std::string path_;
};

TEST_F(PlatformProfileTest, SharedReadCases)
{
    const char* eols[] = {"\r\n", "\n", "\r"};
    for (const IniReadCase& c : iniReadCases) {
        for (const char* eol : eols) {
            SCOPED_TRACE(std::string(c.name) + " with " + printable(eol, std::strlen(eol)));
            const std::string file = c.file ? withLineEnds(c.file, eol) : std::string();
            put(c.file ? &file : nullptr);
            char buffer[300];
            std::memset(buffer, 0xCC, sizeof buffer);
            const unsigned count = GetPrivateProfileStringA(c.section, c.key, c.defaultValue, buffer,
                                                            c.size, path_.c_str());
            EXPECT_EQ(count, c.expectedCount);
            EXPECT_EQ(printable(buffer, c.expectedCount + 1), printable(c.expected, c.expectedCount + 1));
        }
    }
}

TEST_F(PlatformProfileTest, SharedIntCases)
{
    const char* eols[] = {"\r\n", "\n", "\r"};
    for (const IniIntCase& c : iniIntCases) {
        for (const char* eol : eols) {
            SCOPED_TRACE(std::string(c.name) + " with " + printable(eol, std::strlen(eol)));
            const std::string file = c.file ? withLineEnds(c.file, eol) : std::string();
            put(c.file ? &file : nullptr);
            EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA(c.section, c.key, c.defaultValue, path_.c_str())),
                      c.expected);
        }
    }
}

TEST_F(PlatformProfileTest, SharedWriteCases)
{
    for (const IniWriteCase& c : iniWriteCases) {
        SCOPED_TRACE(c.name);
        const std::string before = c.before ? c.before : "";
        put(c.before ? &before : nullptr);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, path_.c_str()));
        const std::string after = contents();
        EXPECT_EQ(printable(after.data(), after.size()), printable(c.after, std::strlen(c.after)));
    }
}

TEST(PlatformCharLower, FoldsEveryByteAsTheTableSays)
{
    for (int byte = 1; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        char text[2] = {static_cast<char>(byte), 0};
        CharLowerA(text);
        EXPECT_EQ(static_cast<unsigned char>(text[0]), CharLowerCases[byte]);
    }
}

}  // namespace
