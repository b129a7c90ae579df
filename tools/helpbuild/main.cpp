// helpbuild: the build steps of the help file and the readme.
//
//   helpbuild cp1252 [--crlf] INPUT OUTPUT   UTF-8 source to Windows-1252
//   helpbuild bibliography OUTPUT            the "Bibliografia" topic from the sources table
//   helpbuild check PROJECT.hhp CONTEXTS.h IVB STRINGS LISTING
//                                            the compiled help's context map
//
// Exit status: 0 done, 1 refused (bad text, unsound help file), 2 usage or file error.

#include "tools/helpbuild/helpbuild.h"

#include "app/database/database.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool readFile(const char* path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "helpbuild: cannot read %s\n", path);
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return true;
}

bool writeFile(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "helpbuild: cannot write %s\n", path);
        std::remove(path);
        return false;
    }
    return true;
}

int convert(int argc, char** argv)
{
    bool crlf = argc == 3 && std::strcmp(argv[0], "--crlf") == 0;
    if (crlf) ++argv, --argc;
    if (argc != 2) return -1;
    std::string source, converted;
    if (!readFile(argv[0], &source)) return 2;
    size_t bad = 0;
    if (!utf8ToCp1252(source, &converted, &bad)) {
        size_t line = 1;
        for (size_t i = 0; i < bad; ++i) line += source[i] == '\n';
        std::fprintf(stderr, "%s:%zu: a character that is not UTF-8 or has no Windows-1252 form\n", argv[0], line);
        return 1;
    }
    return writeFile(argv[1], crlf ? withCrLf(converted) : converted) ? 0 : 2;
}

int bibliography(int argc, char** argv)
{
    if (argc != 1) return -1;
    int items = 0;
    for (int i = 0; i < nodeCount(); ++i) items += nodeAt(i)->kind == Item;
    std::vector<CitedSource> rows;
    for (int i = 0; i < sourceCount(); ++i)
        rows.push_back(CitedSource{SourceTable[i].reference, SourceDetailTable[i].address, SourceTable[i].checked,
                                   SourceTable[i].itemId, SourceTable[i].country, SourceTable[i].method,
                                   SourceTable[i].statistic, SourceTable[i].readIn});
    return writeFile(argv[0], bibliographyPage(collectBibliography(rows, items))) ? 0 : 2;
}

int check(int argc, char** argv)
{
    if (argc != 5) return -1;
    std::string project, header, ivb, strings, listing;
    if (!readFile(argv[0], &project) || !readFile(argv[1], &header) || !readFile(argv[2], &ivb) ||
        !readFile(argv[3], &strings) || !readFile(argv[4], &listing))
        return 2;
    std::map<uint32_t, std::string> map;
    if (!readContextMap(ivb, strings, &map)) {
        std::fprintf(stderr, "helpbuild: %s is not a context map over %s\n", argv[2], argv[3]);
        return 1;
    }
    std::vector<std::string> lines;
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);) lines.push_back(line);

    std::vector<std::string> problems =
        checkContextMap(parseContextHeader(header), parseProjectAliases(project), map, lines);
    for (const std::string& problem : problems) std::fprintf(stderr, "helpbuild: %s\n", problem.c_str());
    return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    int result = -1;
    if (argc >= 2) {
        if (std::strcmp(argv[1], "cp1252") == 0) result = convert(argc - 2, argv + 2);
        else if (std::strcmp(argv[1], "bibliography") == 0) result = bibliography(argc - 2, argv + 2);
        else if (std::strcmp(argv[1], "check") == 0) result = check(argc - 2, argv + 2);
    }
    if (result < 0) {
        std::fprintf(stderr,
                     "usage: helpbuild cp1252 [--crlf] INPUT OUTPUT\n"
                     "       helpbuild bibliography OUTPUT\n"
                     "       helpbuild check PROJECT.hhp CONTEXTS.h IVB STRINGS LISTING\n");
        return 2;
    }
    return result;
}
