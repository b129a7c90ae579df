// The data package parser on any bytes: the members it finds, the names the
// installer would write, and the writer's round trip.
#include "setup/data_package.h"

#include "fuzz/fuzz_support.h"

namespace {

bool contains(const std::string& text, const char* marker) {
    return text.find(marker) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact copy, so that a read past the end of the resource is seen.
    ExactBuffer bytes(size);
    if (size) std::memcpy(bytes.data(), data, size);
    std::vector<PackageMember> members = parsePackage(bytes.data(), size);

    const char folder[] = "C:\\Programmi\\Quorvel";
    for (const PackageMember& member : members) {
        FUZZ_CHECK(member.name.find('\0') == std::string::npos);
        FUZZ_CHECK(member.contents.find('\0') == std::string::npos);
        FUZZ_CHECK(!contains(member.name, PackageNameEndMarker));
        FUZZ_CHECK(!contains(member.contents, PackageEndMarker));

        // What unpacking would write: a safe name joins into a path inside the
        // folder, one level down, in a buffer of the installer's size.
        if (!isSafeFileName(member.name.c_str())) continue;
        FUZZ_CHECK(member.name.find_first_of("\\/:") == std::string::npos);
        FUZZ_CHECK(member.name != "." && member.name != "..");
        ExactBuffer path(InstallPathSize);
        if (joinPath(folder, member.name.c_str(), path.data(), path.usize())) {
            FUZZ_CHECK(std::strlen(path.data()) < InstallPathSize);
            FUZZ_CHECK(std::strncmp(path.data(), folder, sizeof folder - 1) == 0);
            FUZZ_CHECK(std::strchr(path.data() + sizeof folder, '\\') == nullptr);
        }
    }

    // Members the writer accepts read back unchanged.
    std::string package;
    if (writePackage(members, &package)) {
        std::vector<PackageMember> again = parsePackage(package.data(), package.size());
        FUZZ_CHECK(again.size() == members.size());
        for (size_t i = 0; i < members.size(); ++i) {
            FUZZ_CHECK(again[i].name == members[i].name);
            FUZZ_CHECK(again[i].contents == members[i].contents);
        }
    }
    return 0;
}
