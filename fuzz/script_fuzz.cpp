// The installer's script lists (INSTALLFILELIST, LINKLIST, EXTENSIONS ...)
// read from any script text, with the value sizes the installer uses.
#include "setup/install_context.h"

#include "common/ini.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::string section = input.line();  // the list section to read
    const unsigned valueSize = input.byte() % 8 == 0 ? 0 : 1u + input.byte();
    IniTextProfile script(input.rest());
    InstallContext context;
    context.script = &script;

    static const char* const lists[] = {"INSTALLFILELIST", "DELETEFILELIST", "LINKLIST",
                                        "EXTENSIONS", "GENERAL"};
    std::vector<std::string> sections(std::begin(lists), std::end(lists));
    sections.push_back(section);
    for (const std::string& name : sections) {
        ExactString s(name);
        std::vector<std::string> keys = readScriptKeys(context, s.c_str());
        for (const std::string& key : keys) {
            FUZZ_CHECK(!key.empty());
            FUZZ_CHECK(key.find('\0') == std::string::npos);
        }
        std::vector<std::string> values = readScriptList(context, s.c_str(), valueSize);
        FUZZ_CHECK(values.size() == keys.size());
        for (const std::string& value : values)
            FUZZ_CHECK(valueSize == 0 ? value.empty() : value.size() < valueSize);

        // Single values into exact buffers: cut, terminated, never past the end.
        for (const std::string& key : keys) {
            ExactString k(key);
            ExactBuffer buffer(valueSize);
            unsigned count = readScriptString(context, s.c_str(), k.c_str(), "", buffer.data(),
                                              valueSize);
            if (valueSize) FUZZ_CHECK(count < valueSize && buffer.data()[count] == '\0');
            readScriptInt(context, s.c_str(), k.c_str());
            if (keys.size() > 64) break;
        }
    }

    // The same reads without a script give the defaults, cut the same way.
    InstallContext none;
    ExactBuffer buffer(valueSize);
    ExactString fallback(section);
    unsigned count = readScriptString(none, "GENERAL", "Prodotto", fallback.c_str(),
                                      buffer.data(), valueSize);
    if (valueSize) FUZZ_CHECK(count < valueSize && buffer.data()[count] == '\0');
    return 0;
}
