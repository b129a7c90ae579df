// The data package: several small text files in one resource, each record
// "<StartFileContents>" name "</EndFileName>" contents "</EndFileContents>".
// The build writes it from the example files; the installer splits it.
#pragma once

#include "setup/install_context.h"

#include <cstddef>
#include <string>
#include <vector>

extern const char PackageStartMarker[];     // "<StartFileContents>"
extern const char PackageNameEndMarker[];   // "</EndFileName>"
extern const char PackageEndMarker[];       // "</EndFileContents>"

struct PackageMember {
    std::string name;
    std::string contents;
};

// The records in package order. The data is text: it ends at its first NUL.
// Bytes outside records are ignored; a record runs to the first end markers
// after its start, and when they are missing (a cut package) it is dropped
// with everything after it. Names are returned as stored, safe or not.
std::vector<PackageMember> parsePackage(const char* data, size_t size);

// The package bytes for the members, each record followed by CR LF. False
// when a name or contents could not be read back unchanged (a NUL byte or a
// marker inside).
bool writePackage(const std::vector<PackageMember>& members, std::string* package);

// Writes each member into the install folder, replacing an existing file, and
// logs "Copiato il file: " with its path. Members whose name is not a safe
// file name (isSafeFileName) or whose path exceeds 259 characters are
// skipped without a write or a log entry; so is a member whose file cannot
// be created. False only when the package cannot be opened or read.
bool unpackPackage(const InstallContext& context, const char* folder, const char* packagePath);
