// INI rules of the profile-string functions on text held in memory. Lines are
// classified once per call; writes splice the text so that every line that is
// not written keeps its bytes.
#include "common/ini.h"

#include "common/bounded_text.h"
#include "common/cp1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

enum class LineKind { Blank, Section, Key, Comment };

struct Line {
    size_t begin = 0;
    size_t contentEnd = 0;  // before the line end
    size_t end = 0;         // after the line end
    LineKind kind = LineKind::Blank;
    size_t nameBegin = 0, nameEnd = 0;
    bool hasValue = false;  // a key line holding "="
    size_t valueBegin = 0, valueEnd = 0;
};

// The platform's blank characters for names and values (0x1A is the old
// end-of-file mark).
bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t pos = 0;
    const size_t length = text.size();
    while (pos < length) {
        Line line;
        line.begin = pos;
        size_t stop = pos;
        while (stop < length && text[stop] != '\r' && text[stop] != '\n') ++stop;
        line.contentEnd = stop;
        if (stop < length) {
            stop += (text[stop] == '\r' && stop + 1 < length && text[stop + 1] == '\n') ? 2 : 1;
        }
        line.end = stop;
        pos = stop;

        size_t first = line.begin, last = line.contentEnd;
        while (first < last && isBlank(text[first])) ++first;
        while (last > first && isBlank(text[last - 1])) --last;

        if (first == last) {
            line.kind = LineKind::Blank;
        } else if (text[first] == ';') {
            line.kind = LineKind::Comment;
        } else if (text[first] == '[' && text.rfind(']', last - 1) != std::string::npos &&
                   text.rfind(']', last - 1) > first) {
            // The name ends at the line's last "]"; a line without one is an
            // ordinary line, as on the platform (even when no "]" precedes it).
            size_t close = text.rfind(']', last - 1);
            size_t nameBegin = first + 1, nameEnd = close;
            while (nameBegin < nameEnd && isBlank(text[nameBegin])) ++nameBegin;
            while (nameEnd > nameBegin && isBlank(text[nameEnd - 1])) --nameEnd;
            line.kind = LineKind::Section;
            line.nameBegin = nameBegin;
            line.nameEnd = nameEnd;
        } else {
            line.kind = LineKind::Key;
            size_t equals = first;
            while (equals < last && text[equals] != '=') ++equals;
            size_t nameEnd = equals;
            while (nameEnd > first && isBlank(text[nameEnd - 1])) --nameEnd;
            line.nameBegin = first;
            line.nameEnd = nameEnd;
            if (equals < last) {
                size_t valueBegin = equals + 1;
                while (valueBegin < last && isBlank(text[valueBegin])) ++valueBegin;
                line.hasValue = true;
                line.valueBegin = valueBegin;
                line.valueEnd = last;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// A requested name without its surrounding blanks.
std::string trimmed(const char* name) {
    if (!name) return std::string();
    const char* first = name;
    while (*first && isBlank(static_cast<unsigned char>(*first))) ++first;
    const char* last = first + std::strlen(first);
    while (last > first && isBlank(static_cast<unsigned char>(last[-1]))) --last;
    return std::string(first, last);
}

bool sameName(const std::string& text, size_t begin, size_t end, const std::string& name) {
    if (end - begin != name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (cp1252Lower(static_cast<unsigned char>(text[begin + i])) !=
            cp1252Lower(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    return true;
}

// Lines [first, last) of the first section of that name; lines before any
// section header form the section named "". False when there is none.
bool findSection(const std::string& text, const std::vector<Line>& lines,
                 const std::string& name, size_t* first, size_t* last) {
    bool inSection = name.empty();
    size_t start = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section) continue;
        if (inSection) {
            *first = start;
            *last = i;
            return true;
        }
        if (sameName(text, lines[i].nameBegin, lines[i].nameEnd, name)) {
            inSection = true;
            start = i + 1;
        }
    }
    if (!inSection) return false;
    *first = start;
    *last = lines.size();
    return true;
}

// Index of the first key line of that name in [first, last), or last.
size_t findKey(const std::string& text, const std::vector<Line>& lines, size_t first,
               size_t last, const std::string& name) {
    for (size_t i = first; i < last; ++i) {
        if (lines[i].kind == LineKind::Key &&
            sameName(text, lines[i].nameBegin, lines[i].nameEnd, name)) {
            return i;
        }
    }
    return last;
}

// Copies a value as the platform does: one pair of enclosing quotes removed,
// then cut to size - 1 characters. The text stops at an embedded NUL.
unsigned copyValue(const char* value, size_t length, char* buffer, unsigned size) {
    const void* nul = std::memchr(value, '\0', length);
    if (nul) length = static_cast<const char*>(nul) - value;
    if (length >= 2 && (value[0] == '"' || value[0] == '\'') && value[length - 1] == value[0]) {
        ++value;
        length -= 2;
    }
    if (size == 0) return 0;
    copyBounded(buffer, size, value, length);
    return static_cast<unsigned>(length < size ? length : size - 1);
}

std::string lineEndOf(const std::string& text, const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (line.end > line.contentEnd) return text.substr(line.contentEnd, line.end - line.contentEnd);
    }
    return "\r\n";
}

// The value as the platform stores it: leading blanks dropped.
const char* storedValue(const char* value) {
    while (*value && isBlank(static_cast<unsigned char>(*value))) ++value;
    return value;
}

}  // namespace

unsigned iniReadString(const std::string& text, const char* section, const char* key,
                       const char* defaultValue, char* buffer, unsigned size) {
    if (!buffer || size == 0) return 0;
    if (!key) return iniReadKeys(text, section, buffer, size);

    std::vector<Line> lines = splitLines(text);
    size_t first = 0, last = 0;
    if (section && findSection(text, lines, trimmed(section), &first, &last)) {
        size_t found = findKey(text, lines, first, last, trimmed(key));
        if (found < last && lines[found].hasValue) {
            const Line& line = lines[found];
            return copyValue(text.data() + line.valueBegin, line.valueEnd - line.valueBegin,
                             buffer, size);
        }
    }

    // The platform drops the default's trailing blanks (not its leading ones).
    if (!defaultValue) defaultValue = "";
    size_t length = std::strlen(defaultValue);
    while (length > 0 && defaultValue[length - 1] == ' ') --length;
    return copyValue(defaultValue, length, buffer, size);
}

int iniReadInt(const std::string& text, const char* section, const char* key, int defaultValue) {
    // The platform reads the value through a 30-character buffer first.
    char value[30];
    if (!key || iniReadString(text, section, key, "", value, sizeof value) == 0) {
        return defaultValue;
    }

    const char* p = value;
    while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
        base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
        p += 2;
    }
    unsigned total = 0;  // wraps at 32 bits like the platform's
    for (;; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9') digit = *p - '0';
        else if (*p >= 'a' && *p <= 'z') digit = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'Z') digit = *p - 'A' + 10;
        else break;
        if (digit >= base) break;
        total = total * base + digit;
    }
    if (negative) total = 0u - total;
    return static_cast<int>(total);
}

unsigned iniReadKeys(const std::string& text, const char* section, char* buffer, unsigned size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    if (size < 3) return 0;  // no room for a name and the two NULs
    buffer[1] = '\0';

    std::vector<Line> lines = splitLines(text);
    size_t first = 0, last = 0;
    if (!section || !findSection(text, lines, trimmed(section), &first, &last)) return 0;

    // The platform's rule: names while more than two characters are left;
    // a name that does not fit is cut, the list then ends with two NULs and
    // the count is size - 2.
    unsigned left = size;
    char* out = buffer;
    for (size_t i = first; i < last && left > 2; ++i) {
        const Line& line = lines[i];
        if (line.kind != LineKind::Key || !line.hasValue || line.nameEnd == line.nameBegin) continue;
        size_t length = line.nameEnd - line.nameBegin;
        if (length > left - 2) length = left - 2;
        std::memcpy(out, text.data() + line.nameBegin, length);
        out[length] = '\0';
        length = std::strlen(out);  // an embedded NUL ends the name
        out += length + 1;
        left -= static_cast<unsigned>(length) + 1;
    }
    if (left <= 1) {
        // A cut leaves at least one byte: out is inside the buffer.
        *out = '\0';
        out[-1] = '\0';
        return size - 2;
    }
    *out = '\0';
    return size - left;
}

bool iniWriteString(std::string& text, const char* section, const char* key, const char* value) {
    std::string sectionName = trimmed(section);
    if (sectionName.empty()) return false;
    std::vector<Line> lines = splitLines(text);
    size_t first = 0, last = 0;
    bool haveSection = findSection(text, lines, sectionName, &first, &last);

    if (!key) {
        if (haveSection) {
            size_t from = lines[first - 1].begin;
            size_t to = last < lines.size() ? lines[last].begin : text.size();
            text.erase(from, to - from);
        }
        return true;
    }
    std::string keyName = trimmed(key);
    if (keyName.empty()) return false;

    size_t found = haveSection ? findKey(text, lines, first, last, keyName) : 0;
    if (!value) {
        if (haveSection && found < last) text.erase(lines[found].begin, lines[found].end - lines[found].begin);
        return true;
    }
    value = storedValue(value);

    std::string eol = lineEndOf(text, lines);
    if (haveSection && found < last) {
        const Line& line = lines[found];
        if (line.hasValue) {
            text.replace(line.valueBegin, line.contentEnd - line.valueBegin, value);
        } else {
            // A bare name becomes a key with a value, as on the platform.
            text.replace(line.begin, line.contentEnd - line.begin,
                         text.substr(line.nameBegin, line.nameEnd - line.nameBegin) + "=" + value);
        }
        return true;
    }

    std::string added = keyName + "=" + value + eol;
    if (haveSection) {
        // After the section's last non-blank line, so blank separators stay
        // between sections.
        size_t after = first - 1;
        for (size_t i = first; i < last; ++i) {
            if (lines[i].kind != LineKind::Blank) after = i;
        }
        const Line& line = lines[after];
        if (line.end == line.contentEnd) added = eol + added;
        text.insert(line.end, added);
        return true;
    }

    std::string block = "[" + sectionName + "]" + eol + added;
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') block = eol + block;
    text += block;
    return true;
}

unsigned IniTextProfile::readString(const char* section, const char* key,
                                    const char* defaultValue, char* buffer, unsigned size) {
    return iniReadString(textOf(section), section, key, defaultValue, buffer, size);
}

int IniTextProfile::readInt(const char* section, const char* key, int defaultValue) {
    return iniReadInt(textOf(section), section, key, defaultValue);
}

unsigned IniTextProfile::readKeys(const char* section, char* buffer, unsigned size) {
    return iniReadKeys(textOf(section), section, buffer, size);
}

bool IniTextProfile::writeString(const char* section, const char* key, const char* value) {
    return iniWriteString(text_, section, key, value);
}

namespace {

std::string folded(std::string name) {
    for (char& c : name) c = static_cast<char>(cp1252Lower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

IniSectionProfile::IniSectionProfile(std::string text) : IniTextProfile(std::move(text)) {
    const std::string& whole = this->text();
    std::vector<Line> lines = splitLines(whole);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section) continue;
        size_t next = i + 1;
        while (next < lines.size() && lines[next].kind != LineKind::Section) ++next;
        size_t end = next < lines.size() ? lines[next].begin : whole.size();
        // The reader stops at the first section of a name: a later one is never read.
        sections_.emplace(folded(whole.substr(lines[i].nameBegin, lines[i].nameEnd - lines[i].nameBegin)),
                          whole.substr(lines[i].begin, end - lines[i].begin));
    }
}

bool IniSectionProfile::hasSection(const char* section) const {
    return sections_.count(folded(trimmed(section))) != 0;
}

const std::string& IniSectionProfile::textOf(const char* section) const {
    static const std::string none;
    const std::string name = folded(trimmed(section));
    // The lines before the first header (the empty name) only the whole text has.
    if (name.empty()) return text();
    auto found = sections_.find(name);
    return found == sections_.end() ? none : found->second;
}

bool IniSectionProfile::writeString(const char*, const char*, const char*) {
    return false;
}

bool readWholeFile(const char* path, std::string* text) {
    text->clear();
    errno = 0;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char chunk[8192];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) {
        text->clear();
        errno = EIO;
    }
    return ok;
}

bool writeWholeFile(const char* path, const std::string& text) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0) ok = false;
    return ok;
}

unsigned IniFileProfile::readString(const char* section, const char* key,
                                    const char* defaultValue, char* buffer, unsigned size) {
    std::string text;
    readWholeFile(path_.c_str(), &text);
    return iniReadString(text, section, key, defaultValue, buffer, size);
}

int IniFileProfile::readInt(const char* section, const char* key, int defaultValue) {
    std::string text;
    readWholeFile(path_.c_str(), &text);
    return iniReadInt(text, section, key, defaultValue);
}

unsigned IniFileProfile::readKeys(const char* section, char* buffer, unsigned size) {
    std::string text;
    readWholeFile(path_.c_str(), &text);
    return iniReadKeys(text, section, buffer, size);
}

bool IniFileProfile::writeString(const char* section, const char* key, const char* value) {
    std::string text;
    bool existed = readWholeFile(path_.c_str(), &text);
    // Only a missing file may be created: an unreadable one must not be
    // replaced by a file holding just this key.
    if (!existed && errno != ENOENT) return false;
    std::string before = text;
    if (!iniWriteString(text, section, key, value)) return false;
    if (text == before && (existed || text.empty())) return true;
    return writeWholeFile(path_.c_str(), text);
}
