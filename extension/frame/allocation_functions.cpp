// The library's allocation functions, on the C heap. The C++ runtime's own,
// linked in statically, throw std::bad_alloc, and they bring its whole
// exception machinery into a library built without exceptions; that
// machinery takes at each load of the library what no part of it gives
// back at the unload: a pool for exceptions thrown when memory runs out
// and, in the x86 build, a semaphore for its stack-frame registration. The
// library asks for memory only with new (std::nothrow), whose answer to a
// failure is null either way. Only the library has these: the test
// programs that link its parts keep the runtime's.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
