// The shipped installer script, byte for byte, and the rules by which the
// installer and the uninstaller read lists and values from a script.
#include "setup/install_context.h"

#include "common/ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct ScriptLine {
    const char* section;  // nullptr: a line of the section above
    const char* line;
};

// The shipped script, section by section, as the installer's documentation
// lists it.
const ScriptLine shippedScript[] = {
    {"GENERAL", "Prodotto=Quorvel"}, {nullptr, "NomeGruppo=\\Quorvel"},
    {nullptr, "Log=\\setup.log"}, {nullptr, "Ini=\\setup.ini"}, {nullptr, "Inf=Quorvel.inf"},
    {nullptr, "AppPath=Quorvel.exe"}, {nullptr, "DataFile=Quorvel.dat"},
    {"DESKTOP", "Exe=Quorvel.exe"}, {nullptr, "Link=\\Quorvel.lnk"},
    {nullptr, "DisplayName=Quorvel"},
    {"UNINSTALL", "Key=Quorvel"},
    {nullptr,
     "Desc=Quorvel - Banca dati di concentrazioni di fibre d'amianto negli ambienti di lavoro"},
    {nullptr, "ExeRemove=remove.exe /Quorvel"},
    {"LINKLIST", "0=Quorvel"}, {nullptr, "1=Guida di Quorvel"}, {nullptr, "2=Album fotografico"},
    {nullptr, "3=Bibliografia"}, {nullptr, "4=Disinstallazione di Quorvel"},
    {"Quorvel", "Exe=Quorvel.exe"},
    {"Guida di Quorvel", "Exe=Quorvel.chm"},
    {"Album fotografico", "Exe=AlbumFotoAmianto.pdf"},
    {"Bibliografia", "Exe=hh.exe"}, {nullptr, "Args=-mapid 115860"}, {nullptr, "File=Quorvel.chm"},
    {nullptr, ";NoPath=1"},
    {"Disinstallazione di Quorvel", "Exe=remove.exe"}, {nullptr, "Args=/Quorvel"},
    {"EXTENSIONS", "0=.qvl"},
    {".qvl", "FileType=Quorvel.File"}, {nullptr, "Desc=File di Quorvel"},
    {nullptr, "Icon=Quorvel.exe"}, {nullptr, "ShellOpen=Quorvel.exe"},
    {"INSTALLFILELIST", "0=Quorvel.exe"}, {nullptr, "1=leggimi.txt"}, {nullptr, "2=Quorvel.chm"},
    {nullptr, "3=AlbumFotoAmianto.pdf"}, {nullptr, "4=Quorvel.inf"}, {nullptr, "5=remove.exe"},
    {nullptr, "6=hh.exe"}, {nullptr, "7=hhctrl.ocx"},
    {"DELETEFILELIST", "0=Quorvel.exe"}, {nullptr, "1=leggimi.txt"}, {nullptr, "2=Quorvel.chm"},
    {nullptr, "3=AlbumFotoAmianto.pdf"}, {nullptr, "4=Setup.log"}, {nullptr, "5=hh.exe"},
    {nullptr, "6=hhctrl.ocx"},
};

std::string shippedScriptPath() {
    return std::string(QUORVEL_SOURCE_DIR) + "/setup/setup.ini";
}

TEST(ShippedScript, BytesAreTheDocumentedLinesWithCrLf) {
    std::string expected;
    for (const ScriptLine& line : shippedScript) {
        if (line.section) expected += std::string("[") + line.section + "]\r\n";
        expected += std::string(line.line) + "\r\n";
    }
    std::string actual;
    ASSERT_TRUE(readWholeFile(shippedScriptPath().c_str(), &actual));
    EXPECT_EQ(actual, expected);
}

class ScriptTest : public ::testing::Test {
protected:
    void use(const std::string& text) {
        profile_ = IniTextProfile(text);
        context_.script = &profile_;
    }
    std::string read(const char* section, const char* key, unsigned size = 260) {
        std::vector<char> buffer(size + 1, 'Z');
        unsigned count = readScriptString(context_, section, key, "", buffer.data(), size);
        EXPECT_EQ(count, std::strlen(buffer.data()));
        return buffer.data();
    }

    IniTextProfile profile_;
    InstallContext context_;
};

TEST_F(ScriptTest, ShippedListsAndShortcutSections) {
    IniFileProfile shipped(shippedScriptPath().c_str());
    context_.script = &shipped;
    EXPECT_EQ(readScriptList(context_, "INSTALLFILELIST", 260),
              (std::vector<std::string>{"Quorvel.exe", "leggimi.txt", "Quorvel.chm",
                                        "AlbumFotoAmianto.pdf", "Quorvel.inf", "remove.exe",
                                        "hh.exe", "hhctrl.ocx"}));
    EXPECT_EQ(readScriptList(context_, "DELETEFILELIST", 260).size(), 7u);
    std::vector<std::string> links = readScriptList(context_, "LINKLIST", 128);
    ASSERT_EQ(links.size(), 5u);
    // Each shortcut name is at once the name of its section.
    const char* targets[] = {"Quorvel.exe", "Quorvel.chm", "AlbumFotoAmianto.pdf", "hh.exe",
                             "remove.exe"};
    for (size_t i = 0; i < links.size(); ++i) {
        SCOPED_TRACE(links[i]);
        EXPECT_EQ(read(links[i].c_str(), "Exe"), targets[i]);
    }
    // The commented NoPath has no effect: hh.exe is taken from the folder.
    EXPECT_EQ(readScriptInt(context_, "Bibliografia", "NoPath"), 0);
    EXPECT_EQ(readScriptKeys(context_, "Bibliografia"),
              (std::vector<std::string>{"Exe", "Args", "File"}));
    EXPECT_EQ(read(".QVL", "filetype", 128), "Quorvel.File");
}

TEST_F(ScriptTest, ListsFollowFileOrderWhateverTheKeys) {
    use("[GAP]\r\n0=a\r\n2=c\r\n"
        "[LETTERS]\r\nzeta=1\r\nalfa=2\r\n"
        "[ORDER]\r\n3=x\r\n1=y\r\n2=z\r\n"
        "[MIXED]\r\n;0=commentato\r\n0=\r\n\r\n1=dopo la riga vuota\r\n"
        "[EMPTY]\r\n");
    struct Case {
        const char* section;
        std::vector<std::string> values;
    } cases[] = {
        {"GAP", {"a", "c"}},
        {"LETTERS", {"1", "2"}},
        {"ORDER", {"x", "y", "z"}},
        {"MIXED", {"", "dopo la riga vuota"}},
        {"EMPTY", {}},
        {"MISSING", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        EXPECT_EQ(readScriptList(context_, c.section, 128), c.values);
    }
}

TEST_F(ScriptTest, ValuesAreCutAtTheirBuffer) {
    std::string longValue = "." + std::string(129, 'e');  // 130 characters
    use("[EXTENSIONS]\r\n0=" + longValue + "\r\n");
    std::vector<std::string> values = readScriptList(context_, "EXTENSIONS", 128);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0], longValue.substr(0, 127));
    EXPECT_EQ(readScriptList(context_, "EXTENSIONS", 260)[0], longValue);
}

TEST_F(ScriptTest, NoScriptReadsAsDefaults) {
    EXPECT_EQ(read("GENERAL", "DataFile"), "");
    EXPECT_TRUE(readScriptKeys(context_, "LINKLIST").empty());
    EXPECT_EQ(readScriptInt(context_, "Bibliografia", "NoPath"), 0);
    use("");
    EXPECT_EQ(read("GENERAL", "DataFile"), "");
}

TEST(InstallFolder, TrailingBackslashAndLimits) {
    struct Case {
        std::string folder;
        bool accepted;
        const char* installFolder;
        const char* scriptPath;
    } cases[] = {
        {"C:\\Quorvel", true, "C:\\Quorvel", "C:\\Quorvel\\setup.ini"},
        {"C:\\Quorvel\\", true, "C:\\Quorvel", "C:\\Quorvel\\setup.ini"},
        {"C:\\Quorvel\\\\", true, "C:\\Quorvel", "C:\\Quorvel\\setup.ini"},  // App Paths agrees with remove
        {"C:\\\\Programmi//Quorvel/", true, "C:\\Programmi\\Quorvel", "C:\\Programmi\\Quorvel\\setup.ini"},
        {"C:\\", true, "C:", "C:\\setup.ini"},
        {"C:\\" + std::string(246, 'a'), true, nullptr, nullptr},  // script path of 259
        {"C:\\" + std::string(247, 'a'), false, "", ""},
        {"C:\\" + std::string(300, 'a'), false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.size());
        InstallContext context;
        EXPECT_EQ(setInstallFolder(context, c.folder.c_str()), c.accepted);
        if (c.installFolder) {
            EXPECT_STREQ(context.installFolder, c.installFolder);
            EXPECT_STREQ(context.scriptPath, c.scriptPath);
        } else {
            EXPECT_EQ(std::strlen(context.scriptPath), 259u);
        }
    }
}

TEST(FileNames, OnlyPlainNamesAreSafe) {
    const char* safe[] = {"Esempio1.qvl", "leggimi.txt", "a b.c", "È.qvl", "cono.qvl",
                          "console", "com0", ".qvl", ". x"};
    const char* unsafe[] = {"", ".", " ", ". .", "x.", "x ", "..", "..\\x", "a..b", "sub\\x.qvl", "sub/x.qvl", "C:x.qvl",
                            "\\\\server\\share", "\\x", "a\tb", "a\rb", "x?", "x*", "a|b",
                            "\"q\"", "<x>", "CON", "con.txt", "con.qvl.txt2", "Nul",
                            "aux .qvl", "COM1", "lpt9.log", "PRN"};
    for (const char* name : safe) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(isSafeFileName(name));
    }
    for (const char* name : unsafe) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(isSafeFileName(name));
    }
}

TEST(FileNames, JoinedPathsFitTheirBuffer) {
    char path[12];
    std::memset(path, 'Z', sizeof path);
    EXPECT_TRUE(joinPath("C:\\a", "b.txt", path, sizeof path));
    EXPECT_STREQ(path, "C:\\a\\b.txt");
    EXPECT_TRUE(joinPath("C:\\ab", "c.txt", path, sizeof path));  // 11 characters
    EXPECT_FALSE(joinPath("C:\\abc", "d.txt", path, sizeof path));
    EXPECT_FALSE(joinPath("C:", "x", path, 0));
}

}  // namespace
