// Text into fixed buffers: a copy or an append never writes past the
// buffer's end and always leaves it terminated. Portable.
#pragma once

#include <cstddef>
#include <cstring>

// The length of text, looking at no more than size characters (a field
// that may lack its terminator).
inline size_t boundedLength(const char* text, size_t size)
{
    const void* end = std::memchr(text, '\0', size);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - text) : size;
}

// out := the first length characters of text, cut to size - 1. True when
// they all fitted; with size 0 nothing is written.
inline bool copyBounded(char* out, size_t size, const char* text, size_t length)
{
    if (size == 0)
        return false;
    const size_t kept = length < size ? length : size - 1;
    std::memmove(out, text, kept);
    out[kept] = '\0';
    return kept == length;
}

// out := text, by the same rule.
inline bool copyBounded(char* out, size_t size, const char* text)
{
    return copyBounded(out, size, text, boundedLength(text, size));
}

// Appends the first length characters of text to the terminated contents
// of out, by the same rule.
inline bool appendBounded(char* out, size_t size, const char* text, size_t length)
{
    const size_t used = boundedLength(out, size);
    if (used >= size) {
        if (size > 0)
            out[size - 1] = '\0';
        return false;
    }
    return copyBounded(out + used, size - used, text, length);
}

inline bool appendBounded(char* out, size_t size, const char* text)
{
    return appendBounded(out, size, text, std::strlen(text));
}

template <size_t N>
bool copyBounded(char (&out)[N], const char* text) { return copyBounded(out, N, text); }

template <size_t N>
bool appendBounded(char (&out)[N], const char* text) { return appendBounded(out, N, text); }
