// Reading the help project's context numbers and aliases, and the context
// map that the compiler stored, so the build can prove that every number the
// programs ask for opens a topic inside the help file.
#include "tools/helpbuild/helpbuild.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

std::string trimmed(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Lines of one [SECTION] of a help project, comments (";") and blanks dropped.
std::vector<std::string> sectionLines(const std::string& project, const std::string& section)
{
    std::vector<std::string> lines;
    std::istringstream in(project);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            inside = upper(line) == "[" + upper(section) + "]";
            continue;
        }
        if (inside) lines.push_back(line);
    }
    return lines;
}

uint32_t littleEndian32(const std::string& bytes, size_t at)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

}  // namespace

std::vector<std::pair<std::string, uint32_t>> parseContextHeader(const std::string& text)
{
    std::vector<std::pair<std::string, uint32_t>> result;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string directive, name, number;
        if (!(words >> directive >> name >> number) || directive != "#define") continue;
        char* end = nullptr;
        unsigned long value = std::strtoul(number.c_str(), &end, 0);
        if (end == number.c_str() || *end != '\0' || value > 0xFFFFFFFFul) continue;
        result.emplace_back(name, static_cast<uint32_t>(value));
    }
    return result;
}

std::map<std::string, std::string> parseProjectAliases(const std::string& text)
{
    std::map<std::string, std::string> result;
    for (const std::string& line : sectionLines(text, "ALIAS")) {
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        result[upper(trimmed(line.substr(0, equals)))] = trimmed(line.substr(equals + 1));
    }
    return result;
}

std::vector<std::string> parseProjectFiles(const std::string& text)
{
    return sectionLines(text, "FILES");
}

bool readContextMap(const std::string& ivb, const std::string& strings,
                    std::map<uint32_t, std::string>* topics)
{
    topics->clear();
    // A size word counting the bytes after it, then (id, offset) pairs.
    if (ivb.size() < 4) return false;
    uint32_t size = littleEndian32(ivb, 0);
    if (size % 8 != 0 || size > ivb.size() - 4) return false;
    for (size_t at = 4; at < 4 + size; at += 8) {
        uint32_t id = littleEndian32(ivb, at);
        uint32_t offset = littleEndian32(ivb, at + 4);
        if (offset >= strings.size()) return false;
        size_t end = strings.find('\0', offset);
        if (end == std::string::npos) return false;
        (*topics)[id] = strings.substr(offset, end - offset);
    }
    return true;
}

bool isTopicInsideHelp(const std::string& topic)
{
    std::string name = topic.size() > 0 && topic[0] == '/' ? topic.substr(1) : topic;
    return !name.empty() && name.find_first_of("/\\:") == std::string::npos && name != "." && name != "..";
}

std::vector<std::string> checkContextMap(const std::vector<std::pair<std::string, uint32_t>>& header,
                                         const std::map<std::string, std::string>& aliases,
                                         const std::map<uint32_t, std::string>& map,
                                         const std::vector<std::string>& listing)
{
    std::vector<std::string> problems;
    for (const auto& context : header) {
        const std::string where = context.first + " (" + std::to_string(context.second) + ")";
        auto alias = aliases.find(upper(context.first));
        if (alias == aliases.end()) {
            problems.push_back(where + ": no [ALIAS] entry");
            continue;
        }
        if (!isTopicInsideHelp(alias->second)) {
            problems.push_back(where + ": alias target '" + alias->second + "' is not a topic of the help file");
            continue;
        }
        // The compiler keeps no map entry for 0; the viewer shows the default topic.
        if (context.second == 0) continue;
        auto stored = map.find(context.second);
        if (stored == map.end()) {
            problems.push_back(where + ": not in the compiled context map");
            continue;
        }
        if (!isTopicInsideHelp(stored->second)) {
            problems.push_back(where + ": stored target '" + stored->second + "' lies outside the help file");
            continue;
        }
        std::string storedName = stored->second[0] == '/' ? stored->second.substr(1) : stored->second;
        std::string aliasName = alias->second[0] == '/' ? alias->second.substr(1) : alias->second;
        if (upper(storedName) != upper(aliasName))
            problems.push_back(where + ": stored target '" + stored->second + "' differs from the alias '" +
                               alias->second + "'");
        bool listed = false;
        for (const std::string& entry : listing)
            if (upper(trimmed(entry)) == "/" + upper(storedName)) listed = true;
        if (!listed) problems.push_back(where + ": topic '" + storedName + "' is not inside the help file");
    }
    return problems;
}
