// Conversion tables of the command line's text.
#include "cli/text_encoding.h"

#include <cstdio>

namespace {

// Code points of the bytes 0x80-0x9F; 0xA0-0xFF equal their code point.
const unsigned short HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, unsigned cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The byte of a code point, or -1 when Windows-1252 has none.
int byteOf(unsigned cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == cp)
            return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at text[*pos]; false for a broken, overlong or
// surrogate sequence.
bool decodeUtf8(const std::string& text, size_t* pos, unsigned* cp)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(*pos);
    int extra;
    unsigned value;
    if (lead < 0x80) {
        *cp = lead;
        ++*pos;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return false;
    }
    if (*pos + extra >= text.size())
        return false;
    for (int i = 1; i <= extra; ++i) {
        unsigned char c = byte(*pos + i);
        if ((c & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (c & 0x3F);
    }
    static const unsigned Minimum[4] = {0, 0x80, 0x800, 0x10000};
    if (value < Minimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    *cp = value;
    *pos += extra + 1;
    return true;
}

}  // namespace

unsigned cp1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte;
}

std::string cp1252ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (unsigned char c : text)
        appendUtf8(out, cp1252CodePoint(c));
    return out;
}

bool utf8ToCp1252(const std::string& text, std::string* out, std::string* bad)
{
    out->clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = pos;
        unsigned cp;
        if (!decodeUtf8(text, &pos, &cp)) {
            if (bad)
                *bad = "byte " + std::to_string(start);
            return false;
        }
        int b = byteOf(cp);
        if (b < 0) {
            if (bad) {
                char name[16];
                std::snprintf(name, sizeof name, "U+%04X", cp);
                *bad = name;
            }
            return false;
        }
        *out += static_cast<char>(b);
    }
    return true;
}

bool isUtf8(const std::string& text)
{
    size_t pos = 0;
    unsigned cp;
    while (pos < text.size())
        if (!decodeUtf8(text, &pos, &cp))
            return false;
    return true;
}
