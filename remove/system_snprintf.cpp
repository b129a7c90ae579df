// remove.exe formats its few texts with the system's C library: MinGW's own
// printf (with its floating-point support) would be most of the program. The
// rest of the small runtime it needs is common/runtime/lean_runtime.cpp.
#include <windows.h>

#include <cstdarg>
#include <cstdio>

// snprintf of C++ code goes to MinGW's own printf; the texts formatted here
// are "%s" and "%d" only, which the system's C library formats the same way.
// The result is always terminated; a cut text returns at least size.
extern "C" int __mingw_vsnprintf(char* buffer, size_t size, const char* format, va_list arguments)
{
    if (size == 0)
        return 0;
    const int length = _vsnprintf(buffer, size, format, arguments);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        buffer[size - 1] = '\0';
        return static_cast<int>(size);
    }
    return length;
}
