// Writes the seed corpora of the fuzz targets at build time, from the shipped
// files, the INI case table of the unit tests, the database and calculations
// saved by the product's own writer.
//   seedgen <corpus folder> <setup.ini> [shipped file...]
// Shipped files ending in .qvl seed the calculation-file target; every
// shipped file goes into a data package seed and the INI seeds.
#include "app/browse/search_engine.h"
#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "common/ini.h"
#include "common/number_format.h"
#include "setup/data_package.h"
#include "tests/common/ini_cases.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path corpus;

void seed(const char* target, const std::string& name, const std::string& bytes) {
    fs::path folder = corpus / target;
    fs::create_directories(folder);
    if (!writeWholeFile((folder / name).string().c_str(), bytes)) {
        std::fprintf(stderr, "seedgen: cannot write %s\n", (folder / name).string().c_str());
        std::exit(1);
    }
}

std::string saved(Calculation calculation, DisplayUnit unit) {
    IniTextProfile profile;
    writeCalculationFile(profile, "C:\\esempio.qvl", calculation, unit);
    return profile.text();
}

void calculationSeeds() {
    for (DisplayUnit unit : {PerCc, PerLitre}) {
        Calculation single;
        single.description = "Centrali elettriche a vapore: rimozione di guarnizioni";
        single.fText = concentrationText(0.3, unit);
        single.tText = "2";
        single.gText = "120";
        single.notes = "Lavorazione singola";
        recomputeResults(single, unit);
        seed("qvl", "singola" + std::to_string(unit), saved(single, unit));

        Calculation multiple;
        multiple.multiple = true;
        for (RowValues row : {RowValues{"Mescolatrice", 2.2, 4, 240}, RowValues{"Pastigliatrici", 1.9, 2.5, 240},
                              RowValues{"Preformazione ceppi", 1.8, 1, 120}})
            multiple.rows.push_back(writeRow(row, unit));
        multiple.notes = "Tre lavorazioni";
        recomputeResults(multiple, unit);
        seed("qvl", "multipla" + std::to_string(unit), saved(multiple, unit));
    }
}

void numberSeeds() {
    int n = 0;
    for (double value : {0.0, 0.3, 0.125, 1920.0, 1806.25, 1e-7, 123456789.123, 1e308, 5e-324})
        for (int decimals : {1, 2, 3, 5}) {
            ++n;
            seed("number", "fixed" + std::to_string(n),
                 std::string(1, char(n)) + fixedText(value, decimals) + "\n" + char(decimals) + char(16));
        }
    for (const char* typed : {"0,3", "1e5", "-2.5e-3", "  .5", "12.3.4", "8", "240", "1e99999",
                              "0x10", "inf", "00000000000000012"})
        seed("number", "typed" + std::to_string(n++), std::string(1, char(31)) + typed + "\n\x05\x10");
}

void searchSeeds() {
    int n = 0;
    for (int i = 1; i < nodeCount() && n < 100; i += nodeCount() / 25) {
        const NodeRecord* node = nodeAt(i);
        std::string name(node->name);
        std::string word = name.substr(0, name.find(' '));
        seed("search", "name" + std::to_string(n++), std::string(1, char(0xf8)) + name + "\n");
        for (unsigned criterion = 0; criterion < 3; ++criterion)
            seed("search", "words" + std::to_string(n++),
                 std::string(1, char(0xf9 | (criterion << 1))) + word + " " +
                     std::string(node->bibliography).substr(0, 12) + "\n" + name);
    }
    seed("search", "short", std::string("\x01") + "ab cdef\n");
}

void scriptSeeds(const std::string& script) {
    seed("ini", "setup.ini", script);
    for (const char* section : {"INSTALLFILELIST", "LINKLIST", "EXTENSIONS", "Bibliografia"})
        seed("script", section, std::string(section) + "\n\x01\x80" + script);
    seed("uninstall", "shipped", std::string(1, '\0') + "remove.exe /Quorvel\nC:\\Programmi\\Quorvel\\Quorvel.exe\n" + script);
    seed("uninstall", "noshortcuts", "\x03remove.exe /Quorvel\n\\\\server\\share\\Quorvel.exe\n" + script);
    seed("uninstall", "hostile",
         std::string("\x04remove.exe /Quorvel\nC:\\Quorvel\\Quorvel.exe\n") +
             "[GENERAL]\nNomeGruppo=\\..\\..\nAppPath=..\\x.exe\n[DESKTOP]\nLink=\\..\\a.lnk\n"
             "[UNINSTALL]\nKey=..\\Run\n[EXTENSIONS]\n0=.exe\\..\n1=.qvl\n[.qvl]\nFileType=\\exefile\n"
             "[DELETEFILELIST]\n0=..\\boot.ini\n1=C:\\x\n2=con\n3=a.txt \n[LINKLIST]\n0=..\\..\\x\n");
}

void iniTableSeeds() {
    int n = 0;
    for (const IniReadCase& c : iniReadCases)
        if (c.file) seed("ini", "read" + std::to_string(n++), c.file);
    for (const IniIntCase& c : iniIntCases)
        if (c.file) seed("ini", "int" + std::to_string(n++), c.file);
    for (const IniWriteCase& c : iniWriteCases) {
        if (c.before) seed("ini", "before" + std::to_string(n++), c.before);
        if (c.after) seed("ini", "after" + std::to_string(n++), c.after);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: seedgen <corpus folder> <setup.ini> [shipped file...]\n");
        return 2;
    }
    corpus = argv[1];
    std::string script;
    if (!readWholeFile(argv[2], &script)) {
        std::fprintf(stderr, "seedgen: cannot read %s\n", argv[2]);
        return 1;
    }
    scriptSeeds(script);
    iniTableSeeds();
    calculationSeeds();
    numberSeeds();
    searchSeeds();

    std::vector<PackageMember> members{{"setup.ini", script}};
    for (int i = 3; i < argc; ++i) {
        fs::path path = argv[i];
        std::string bytes;
        if (!readWholeFile(argv[i], &bytes)) {
            std::fprintf(stderr, "seedgen: cannot read %s\n", argv[i]);
            return 1;
        }
        std::string name = path.filename().string();
        if (path.extension() == ".qvl") seed("qvl", name, bytes);
        seed("ini", name, bytes);
        members.push_back({name, bytes.substr(0, 4096)});
    }
    std::string package;
    if (writePackage(members, &package)) {
        seed("package", "shipped", package);
        seed("package", "cut", package.substr(0, package.size() / 2));
    }
    std::vector<PackageMember> unsafe{{"..\\boot.ini", "x"}, {"CON", "y"}, {"a.qvl", "[QUORVEL]\r\n"}};
    if (writePackage(unsafe, &package)) seed("package", "unsafe", package);
    return 0;
}
