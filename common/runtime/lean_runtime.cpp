// The Windows programs are compiled without exceptions: nothing in them
// throws or catches one, and a failed allocation or a broken library
// precondition ends the program either way (the library would throw into
// code without handlers, which terminates). These definitions take the place
// of the library's throwing ones, so that the exception runtime, its name
// demangler and the thread support it needs are not linked in: about 100 KB
// of Quorvel.exe, most of remove.exe. Where the library would throw (a string
// or vector beyond any real size, no memory), the process ends with code 3.
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void stop()
{
    ExitProcess(3);
}

void* allocateOrStop(std::size_t size)
{
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr)
        stop();
    return block;
}

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    stop();
}
}  // namespace __gnu_cxx

// What the standard containers and strings call on a broken precondition.
namespace std {
void __throw_bad_alloc()
{
    stop();
}
void __throw_bad_array_new_length()
{
    stop();
}
void __throw_length_error(const char*)
{
    stop();
}
void __throw_logic_error(const char*)
{
    stop();
}
void __throw_invalid_argument(const char*)
{
    stop();
}
void __throw_out_of_range(const char*)
{
    stop();
}
void __throw_out_of_range_fmt(const char*, ...)
{
    stop();
}
}  // namespace std

void* operator new(std::size_t size)
{
    return allocateOrStop(size);
}
void* operator new[](std::size_t size)
{
    return allocateOrStop(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
