// Windows-1252 <-> UTF-8 for the command line: the database and every product
// text are Windows-1252 bytes, a shell speaks UTF-8.
#pragma once

#include <cstddef>
#include <string>

// UTF-8 of Windows-1252 text. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same number, as the platform's conversion does.
std::string cp1252ToUtf8(const std::string& text);

// The code point a Windows-1252 byte stands for.
unsigned cp1252CodePoint(unsigned char byte);

// Windows-1252 of UTF-8 text. False for text that is not UTF-8 or holds a
// character Windows-1252 cannot hold; *bad then names the offending
// character ("U+4E2D"), or the byte offset of the broken sequence.
bool utf8ToCp1252(const std::string& text, std::string* out, std::string* bad);

// True when text is well-formed UTF-8 (plain ASCII included).
bool isUtf8(const std::string& text);
