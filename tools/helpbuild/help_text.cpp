// Text conversions for the help topics and the readme.
#include "tools/helpbuild/helpbuild.h"

namespace {

// Code points of the bytes 0x80-0x9F in Windows-1252; 0 where the byte is unused.
const unsigned Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int cp1252Byte(unsigned codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] != 0 && Cp1252High[i] == codePoint) return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 when invalid.
size_t decodeUtf8(const std::string& text, size_t i, unsigned* codePoint)
{
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length;
    unsigned value;
    if (lead < 0x80) { *codePoint = lead; return 1; }
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; value = lead & 0x1F; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; value = lead & 0x0F; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; value = lead & 0x07; }
    else return 0;
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *codePoint = value;
    return length;
}

}  // namespace

bool utf8ToCp1252(const std::string& text, std::string* out, size_t* badOffset)
{
    out->clear();
    out->reserve(text.size());
    size_t i = 0;
    // A byte-order mark is not text.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
    while (i < text.size()) {
        unsigned codePoint = 0;
        size_t length = decodeUtf8(text, i, &codePoint);
        int byte = length ? cp1252Byte(codePoint) : -1;
        if (byte < 0) {
            if (badOffset) *badOffset = i;
            return false;
        }
        out->push_back(static_cast<char>(byte));
        i += length;
    }
    return true;
}

std::string withCrLf(const std::string& text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            result += "\r\n";
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result.push_back(c);
        }
    }
    return result;
}

std::string htmlEscape(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        case '"': result += "&quot;"; break;
        default: result.push_back(c); break;
        }
    }
    return result;
}
