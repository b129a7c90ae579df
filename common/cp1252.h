// Windows-1252 text helpers. The folding is the platform's ANSI lower-casing
// (CharLowerA under code page 1252) done without the platform, so the search
// and every case-insensitive comparison give the same answer in both builds.
#pragma once

#include <cstddef>

// The byte CharLowerA makes of c: A-Z, the accented capitals 0xC0-0xDE except
// 0xD7, and 0x8A, 0x8C, 0x8E, 0x9F (Š, Œ, Ž, Ÿ); every other byte is kept.
unsigned char cp1252Lower(unsigned char c);

// As CharLowerA on a NUL-terminated string.
void cp1252LowerInPlace(char* text);

// Lower-cased copy of text into out (NUL-terminated, cut to size - 1 bytes).
// Returns the number of bytes written, not counting the NUL.
size_t cp1252LowerCopy(const char* text, char* out, size_t size);

// Byte order of the folded texts: <0, 0 or >0.
int cp1252CompareNoCase(const char* a, const char* b);
bool cp1252EqualNoCase(const char* a, const char* b);

// True when the folded text contains the folded pattern (plain substring,
// no word boundaries). An empty pattern is contained in every text.
bool cp1252ContainsNoCase(const char* text, const char* pattern);

// Dictionary order for sorted lists: letters compare by their base letter
// first (è with e, ç with c) and case-insensitively; ties fall back to the
// folded bytes, then to the bytes as written, so the order is total.
int cp1252Collate(const char* a, const char* b);
