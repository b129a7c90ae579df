// Windows-1252 folding and comparison without the platform.
#include "common/cp1252.h"

#include <cstring>
#include <string>

namespace {

constexpr unsigned char foldByte(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
    }
}

// Each search folds every text of the database: one look-up per byte.
struct FoldTable {
    unsigned char lower[256];
    constexpr FoldTable() : lower{}
    {
        for (int c = 0; c < 256; ++c)
            lower[c] = foldByte(static_cast<unsigned char>(c));
    }
};

// Built by the compiler, so it is ready before any static initialiser runs.
constexpr FoldTable foldTable;

}  // namespace

unsigned char cp1252Lower(unsigned char c)
{
    return foldTable.lower[c];
}

void cp1252LowerInPlace(char* text)
{
    for (; *text; ++text)
        *text = static_cast<char>(foldTable.lower[static_cast<unsigned char>(*text)]);
}

size_t cp1252LowerCopy(const char* text, char* out, size_t size)
{
    if (size == 0)
        return 0;
    // Length first, then a plain loop the compiler can vectorise.
    const void* nul = std::memchr(text, '\0', size - 1);
    size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : size - 1;
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>(foldTable.lower[in[i]]);
    out[n] = '\0';
    return n;
}

int cp1252CompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        unsigned char ca = cp1252Lower(static_cast<unsigned char>(*a));
        unsigned char cb = cp1252Lower(static_cast<unsigned char>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

bool cp1252EqualNoCase(const char* a, const char* b)
{
    return cp1252CompareNoCase(a, b) == 0;
}

bool cp1252ContainsNoCase(const char* text, const char* pattern)
{
    std::string t(text), p(pattern);
    cp1252LowerInPlace(&t[0]);
    cp1252LowerInPlace(&p[0]);
    return t.find(p) != std::string::npos;
}

namespace {

// Base letter of a folded byte, for the first level of collation.
unsigned char baseLetter(unsigned char c)
{
    c = cp1252Lower(c);
    if (c >= 0xE0 && c <= 0xE6) return 'a';  // à..æ
    if (c == 0xE7) return 'c';
    if (c >= 0xE8 && c <= 0xEB) return 'e';
    if (c >= 0xEC && c <= 0xEF) return 'i';
    if (c == 0xF0) return 'd';
    if (c == 0xF1) return 'n';
    if ((c >= 0xF2 && c <= 0xF6) || c == 0xF8 || c == 0x9C) return 'o';
    if (c >= 0xF9 && c <= 0xFC) return 'u';
    if (c == 0xFD || c == 0xFF) return 'y';
    if (c == 0x9A || c == 0xDF) return 's';
    if (c == 0x9E) return 'z';
    return c;
}

}  // namespace

int cp1252Collate(const char* a, const char* b)
{
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b);
    for (size_t i = 0;; ++i) {
        unsigned char ca = baseLetter(pa[i]), cb = baseLetter(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            break;
    }
    int folded = cp1252CompareNoCase(a, b);
    if (folded != 0)
        return folded;
    int raw = std::strcmp(a, b);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}
