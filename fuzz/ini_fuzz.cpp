// The portable INI reader and writer on arbitrary file text: reads of every
// section and key the text names, into buffers of every awkward size, and
// writes that must read back and leave the other keys as they were.
#include "common/ini.h"

#include "common/cp1252.h"

#include "fuzz/fuzz_support.h"

namespace {

struct Names {
    std::vector<std::string> sections;
    std::vector<std::pair<std::string, std::string>> keys;  // section, key
};

std::string trimmedBlanks(const std::string& text) {
    const char* blanks = " \t\v\f\x1a";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The names a reader would see, found without the reader's code.
Names namesIn(const std::string& text) {
    Names names;
    std::string section;
    size_t at = 0;
    while (at < text.size() && names.keys.size() < 12) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line = trimmedBlanks(text.substr(at, end - at));
        at = end + 1;
        line = line.substr(0, line.find('\0'));
        if (line.empty() || line[0] == ';') continue;
        size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos && close > 0) {
            section = trimmedBlanks(line.substr(1, close - 1));
            if (names.sections.size() < 6) names.sections.push_back(section);
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = trimmedBlanks(line.substr(0, equals));
        if (!key.empty()) names.keys.emplace_back(section, key);
    }
    return names;
}

void checkRead(const std::string& text, const char* section, const char* key, unsigned size) {
    ExactBuffer buffer(size);
    unsigned count = iniReadString(text, section, key, "predefinito ", buffer.data(), size);
    if (size == 0) {
        FUZZ_CHECK(count == 0);
        return;
    }
    FUZZ_CHECK(count < size);
    FUZZ_CHECK(buffer.data()[count] == '\0');
    if (key) FUZZ_CHECK(std::strlen(buffer.data()) == count);
}

void checkKeys(const std::string& text, const char* section, unsigned size) {
    ExactBuffer buffer(size);
    unsigned count = iniReadKeys(text, section, buffer.data(), size);
    if (size == 0) {
        FUZZ_CHECK(count == 0);
        return;
    }
    FUZZ_CHECK(count < size);
    FUZZ_CHECK(buffer.data()[count] == '\0');
    // A list ends "name\0\0"; a list cut at the buffer's end returns size - 2
    // and still ends with two NULs.
    const char* list = buffer.data();
    FUZZ_CHECK(count == 0 || list[count - 1] == '\0' || (count == size - 2 && list[count + 1] == '\0'));
    for (unsigned at = 0; at < count;) {
        size_t length = std::strlen(buffer.data() + at);
        // (A name that starts with a NUL byte of the file lists as empty.)
        FUZZ_CHECK(at + length < size);
        at += static_cast<unsigned>(length) + 1;
    }
}

std::string readBack(const std::string& text, const std::string& section, const std::string& key) {
    std::vector<char> buffer(text.size() + 2);
    iniReadString(text, section.c_str(), key.c_str(), "\x01", buffer.data(),
                  static_cast<unsigned>(buffer.size()));
    return buffer.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Names names = namesIn(text);

    static const unsigned sizes[] = {0, 1, 2, 3, 4, 5, 8, 30, 256};
    const unsigned whole = static_cast<unsigned>(size) + 2;
    for (const auto& [section, key] : names.keys) {
        ExactString s(section), k(key);
        for (unsigned n : sizes) checkRead(text, s.c_str(), k.c_str(), n);
        checkRead(text, s.c_str(), k.c_str(), whole);
        iniReadInt(text, s.c_str(), k.c_str(), -1);
    }
    for (const std::string& section : names.sections) {
        ExactString s(section);
        for (unsigned n : sizes) checkKeys(text, s.c_str(), n);
        checkKeys(text, s.c_str(), whole);
    }
    checkRead(text, "", "x", 8);
    checkRead(text, nullptr, "x", 8);
    checkKeys(text, nullptr, 8);

    if (names.keys.empty()) return 0;

    // A write of a plain value reads back as written; keys of other names
    // keep their values.
    const auto& [section, key] = names.keys[size % names.keys.size()];
    if (section.empty() || key[0] == '[') return 0;  // a "[" key may read as a section
    std::string value;
    for (unsigned char c : text.substr(0, 40))
        if (c >= 0x20 && c != 0x7f && c != '"' && c != '\'' && c != ']') value += char(c);
    value = trimmedBlanks(value);

    std::vector<std::pair<std::pair<std::string, std::string>, std::string>> others;
    for (const auto& other : names.keys) {
        if (cp1252EqualNoCase(other.first.c_str(), section.c_str()) &&
            cp1252EqualNoCase(other.second.c_str(), key.c_str()))
            continue;
        others.push_back({other, readBack(text, other.first, other.second)});
        if (others.size() == 3) break;
    }

    std::string written = text;
    FUZZ_CHECK(iniWriteString(written, section.c_str(), key.c_str(), value.c_str()));
    FUZZ_CHECK(readBack(written, section, key) == value);
    for (const auto& [name, before] : others)
        FUZZ_CHECK(readBack(written, name.first, name.second) == before);

    std::string deleted = written;
    FUZZ_CHECK(iniWriteString(deleted, section.c_str(), key.c_str(), nullptr));
    FUZZ_CHECK(deleted.size() <= written.size());
    std::string removed = written;
    FUZZ_CHECK(iniWriteString(removed, section.c_str(), nullptr, nullptr));
    FUZZ_CHECK(removed.size() <= written.size());
    return 0;
}
