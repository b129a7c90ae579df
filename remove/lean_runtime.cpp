// The few pieces of the C++ runtime that remove.exe needs, kept small: the
// uninstaller ships at about 24 KB, while the library's own versions bring
// exception handling, a demangler and MinGW's floating-point printf (some
// 250 KB together). The program is built without exceptions; where the
// library would throw (a string or vector beyond any real size, no memory),
// the process ends. The program is compiled as C++20, where the library
// leaves std::string to be instantiated in the program itself, so only the
// members it uses are built, without exceptions.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void endProcess()
{
    ExitProcess(3);
}

}  // namespace

namespace std {
void __throw_length_error(const char*) { endProcess(); }
void __throw_logic_error(const char*) { endProcess(); }
void __throw_out_of_range(const char*) { endProcess(); }
void __throw_out_of_range_fmt(const char*, ...) { endProcess(); }
void __throw_bad_alloc() { endProcess(); }
void __throw_bad_array_new_length() { endProcess(); }
}  // namespace std

void* operator new(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        endProcess();
    return block;
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

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
