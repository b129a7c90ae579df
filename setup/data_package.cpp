// Splitting and building the data package. The parser works on the package
// as text, as the installer always has; the file layer is standard C.
#include "setup/data_package.h"

#include "common/ini.h"

#include <cstdio>
#include <cstring>

const char PackageStartMarker[] = "<StartFileContents>";
const char PackageNameEndMarker[] = "</EndFileName>";
const char PackageEndMarker[] = "</EndFileContents>";

std::vector<PackageMember> parsePackage(const char* data, size_t size) {
    std::vector<PackageMember> members;
    const void* nul = std::memchr(data, '\0', size);
    const std::string text(data, nul ? static_cast<const char*>(nul) - data : size);

    size_t at = 0;
    for (;;) {
        size_t start = text.find(PackageStartMarker, at);
        if (start == std::string::npos) break;
        size_t nameBegin = start + std::strlen(PackageStartMarker);
        size_t nameEnd = text.find(PackageNameEndMarker, nameBegin);
        if (nameEnd == std::string::npos) break;
        size_t contentsBegin = nameEnd + std::strlen(PackageNameEndMarker);
        size_t contentsEnd = text.find(PackageEndMarker, contentsBegin);
        if (contentsEnd == std::string::npos) break;
        members.push_back({text.substr(nameBegin, nameEnd - nameBegin),
                           text.substr(contentsBegin, contentsEnd - contentsBegin)});
        at = contentsEnd + std::strlen(PackageEndMarker);
    }
    return members;
}

bool writePackage(const std::vector<PackageMember>& members, std::string* package) {
    package->clear();
    for (const PackageMember& member : members) {
        for (const std::string* piece : {&member.name, &member.contents}) {
            if (piece->find('\0') != std::string::npos ||
                piece->find(PackageStartMarker) != std::string::npos ||
                piece->find(PackageNameEndMarker) != std::string::npos ||
                piece->find(PackageEndMarker) != std::string::npos) {
                package->clear();
                return false;
            }
        }
        *package += PackageStartMarker;
        *package += member.name;
        *package += PackageNameEndMarker;
        *package += member.contents;
        *package += PackageEndMarker;
        *package += "\r\n";
    }
    return true;
}

bool unpackPackage(const InstallContext& context, const char* folder, const char* packagePath) {
    std::string package;
    if (!readWholeFile(packagePath, &package)) return false;

    for (const PackageMember& member : parsePackage(package.data(), package.size())) {
        char path[InstallPathSize];
        if (!isSafeFileName(member.name.c_str()) ||
            !joinPath(folder, member.name.c_str(), path, sizeof path)) {
            continue;
        }
        if (!writeWholeFile(path, member.contents)) continue;
        logEntry(context, LogCopiedFile, path);
    }
    return true;
}
