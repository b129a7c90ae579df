// The data package: parsing awkward packages, building the shipped one and
// unpacking it into a folder, where no member may land outside.
#include "setup/data_package.h"

#include "common/ini.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::string record(const std::string& name, const std::string& contents) {
    return std::string("<StartFileContents>") + name + "</EndFileName>" + contents +
           "</EndFileContents>";
}

std::vector<std::string> names(const std::vector<PackageMember>& members) {
    std::vector<std::string> out;
    for (const PackageMember& member : members) out.push_back(member.name);
    return out;
}

TEST(PackageParser, AwkwardPackages) {
    struct Case {
        const char* name;
        std::string package;
        std::vector<std::string> names;
    } cases[] = {
        {"text around records", "intro\r\n" + record("a.qvl", "1") + "\r\n--\r\n" +
                                    record("b.qvl", "2") + "coda",
         {"a.qvl", "b.qvl"}},
        {"no start marker", "[QUORVEL]\r\nMULTI=1\r\n</EndFileName></EndFileContents>", {}},
        {"empty package", "", {}},
        {"duplicate names kept in order", record("a", "1") + record("a", "2"), {"a", "a"}},
        {"markers match case", "<startfilecontents>x</EndFileName>y</EndFileContents>", {}},
        {"missing name end drops the rest", record("a", "1") + "<StartFileContents>b" +
                                                record("c", "3"),
         {"a", "b<StartFileContents>c"}},
        {"missing contents end drops the record",
         record("a", "1") + "<StartFileContents>b</EndFileName>contenuto", {"a"}},
        {"a NUL ends the data", record("a", "1") + std::string(1, '\0') + record("b", "2"),
         {"a"}},
        {"names kept unchanged", record(" Esempio1.qvl ", "") + record("..\\x", ""),
         {" Esempio1.qvl ", "..\\x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(names(parsePackage(c.package.data(), c.package.size())), c.names);
    }
}

TEST(PackageParser, ContentsAreTheBytesBetweenTheMarkers) {
    std::string package = record("a.qvl", "[QUORVEL]\r\nUNIT=0\r\n") + "\r\n" + record("b", "");
    std::vector<PackageMember> members = parsePackage(package.data(), package.size());
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].contents, "[QUORVEL]\r\nUNIT=0\r\n");
    EXPECT_EQ(members[1].contents, "");
}

TEST(PackageWriter, RoundTripAndRefusals) {
    std::vector<PackageMember> members = {{"Esempio4.qvl", "[QUORVEL]\r\nMULTI=1\r\n"},
                                          {"Esempio1.qvl", "x\r\n"}};
    std::string package;
    ASSERT_TRUE(writePackage(members, &package));
    EXPECT_EQ(package, record("Esempio4.qvl", "[QUORVEL]\r\nMULTI=1\r\n") + "\r\n" +
                           record("Esempio1.qvl", "x\r\n") + "\r\n");
    std::vector<PackageMember> back = parsePackage(package.data(), package.size());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].contents, members[0].contents);
    EXPECT_EQ(back[1].name, members[1].name);

    const std::vector<PackageMember> bad[] = {
        {{"a", std::string("x\0y", 3)}},
        {{"a</EndFileName>", "x"}},
        {{"a", "x</EndFileContents>"}},
        {{"a", "<StartFileContents>"}},
    };
    for (const auto& members : bad) {
        EXPECT_FALSE(writePackage(members, &package));
        EXPECT_TRUE(package.empty());
    }
}

class MemoryLog : public LogWriter {
public:
    void write(const char* bytes, size_t count) override { text.append(bytes, count); }
    std::string text;
};

class UnpackTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = ::testing::TempDir() + "qv_unpack_" + name;
        folder_ = root_ + "/Quorvel";
        std::system(("rm -rf '" + root_ + "'").c_str());
        ASSERT_EQ(mkdir(root_.c_str(), 0755), 0);
        ASSERT_EQ(mkdir(folder_.c_str(), 0755), 0);
        context_.log = &log_;
    }
    void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

    bool unpack(const std::string& package) {
        std::string path = root_ + "/Quorvel.dat";
        EXPECT_TRUE(writeWholeFile(path.c_str(), package));
        return unpackPackage(context_, folder_.c_str(), path.c_str());
    }
    std::string file(const std::string& relative) {
        std::string text;
        return readWholeFile((root_ + "/" + relative).c_str(), &text) ? text : "(missing)";
    }
    std::string logged(const std::string& name) {
        return std::string(LogCopiedFile) + folder_ + "\\" + name;
    }

    std::string root_, folder_;
    MemoryLog log_;
    InstallContext context_;
};

TEST_F(UnpackTest, MembersWrittenAndLoggedInOrder) {
    std::string old = "una versione precedente, più lunga del nuovo contenuto";
    ASSERT_TRUE(writeWholeFile((folder_ + "\\b.qvl").c_str(), old));
    // Paths use "\" as on Windows; natively that is part of the file's name,
    // which still sits in the folder's parent: check it by that name.
    EXPECT_TRUE(unpack("x" + record("a.qvl", "[QUORVEL]\r\nUNIT=1\r\n") + "\r\n" +
                       record("b.qvl", "nuovo") + record("a.qvl", "rimpiazzato")));
    EXPECT_EQ(file("Quorvel\\a.qvl"), "rimpiazzato");
    EXPECT_EQ(file("Quorvel\\b.qvl"), "nuovo");
    EXPECT_EQ(log_.text, logged("a.qvl") + logged("b.qvl") + logged("a.qvl"));
}

TEST_F(UnpackTest, UnsafeNamesAreSkippedSilently) {
    EXPECT_TRUE(unpack(record("../fuori.qvl", "x") + record("..\\fuori.qvl", "x") +
                       record("/tmp/assoluto.qvl", "x") + record("C:\\x.qvl", "x") +
                       record("", "x") + record("sub\\x.qvl", "x") + record("a\nb", "x") +
                       record("CON", "x") + record("ok.qvl", "dentro")));
    EXPECT_EQ(log_.text, logged("ok.qvl"));
    EXPECT_EQ(file("fuori.qvl"), "(missing)");
    EXPECT_EQ(file("Quorvel\\ok.qvl"), "dentro");
}

TEST_F(UnpackTest, OverlongPathsAndUnreadablePackages) {
    std::string longName(300, 'n');
    EXPECT_TRUE(unpack(record(longName, "x") + record("ok", "y")));
    EXPECT_EQ(log_.text, logged("ok"));
    EXPECT_FALSE(unpackPackage(context_, folder_.c_str(), (root_ + "/assente.dat").c_str()));
    EXPECT_TRUE(unpack("nessun record"));
}

}  // namespace
