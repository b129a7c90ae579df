// A read-only profile over a calculation file held in memory that hands the
// INI reader only the sections asked for: the reader scans the whole text at
// every call, which makes a file of thousands of rows take minutes.
#include "cli/cli_internal.h"

#include "common/cp1252.h"
#include "common/ini.h"

namespace {

// The blanks of the profile functions around names.
bool isBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

std::string foldedName(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded)
        c = static_cast<char>(cp1252Lower(static_cast<unsigned char>(c)));
    return folded;
}

}  // namespace

SectionProfile::SectionProfile(const std::string& text) : text_(text)
{
    std::string current;
    bool inSection = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t stop = pos;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        size_t contentEnd = stop;
        if (stop < text.size())
            stop += (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1;
        size_t first = pos, last = contentEnd;
        while (first < last && isBlank(static_cast<unsigned char>(text[first])))
            ++first;
        while (last > first && isBlank(static_cast<unsigned char>(text[last - 1])))
            --last;
        // A header as the reader sees it: "[" first, the name up to the last "]".
        if (first < last && text[first] == '[') {
            size_t close = text.rfind(']', last - 1);
            if (close != std::string::npos && close > first) {
                size_t nameBegin = first + 1, nameEnd = close;
                while (nameBegin < nameEnd && isBlank(static_cast<unsigned char>(text[nameBegin])))
                    ++nameBegin;
                while (nameEnd > nameBegin && isBlank(static_cast<unsigned char>(text[nameEnd - 1])))
                    --nameEnd;
                current = foldedName(text.substr(nameBegin, nameEnd - nameBegin));
                inSection = true;
            }
        }
        if (inSection)
            sections_[current].append(text, pos, stop - pos);
        pos = stop;
    }
}

bool SectionProfile::hasSection(const char* section) const
{
    return sections_.count(foldedName(section)) != 0;
}

const std::string& SectionProfile::textOf(const char* section) const
{
    static const std::string none;
    std::string name = foldedName(section ? section : "");
    // Blanks around a requested name do not count; an empty name means the
    // lines before the first header, which only the whole text has.
    size_t a = 0, b = name.size();
    while (a < b && isBlank(static_cast<unsigned char>(name[a])))
        ++a;
    while (b > a && isBlank(static_cast<unsigned char>(name[b - 1])))
        --b;
    if (a == b)
        return text_;
    auto found = sections_.find(name.substr(a, b - a));
    return found == sections_.end() ? none : found->second;
}

unsigned SectionProfile::readString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, unsigned size)
{
    return iniReadString(textOf(section), section, key, defaultValue, buffer, size);
}

int SectionProfile::readInt(const char* section, const char* key, int defaultValue)
{
    return iniReadInt(textOf(section), section, key, defaultValue);
}

unsigned SectionProfile::readKeys(const char* section, char* buffer, unsigned size)
{
    return iniReadKeys(textOf(section), section, buffer, size);
}

bool SectionProfile::writeString(const char*, const char*, const char*)
{
    return false;  // read only
}
