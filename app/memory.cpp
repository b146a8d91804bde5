// The program's own allocation operators. The library's versions report
// failure by throwing, and pull the whole exception machinery into a program
// that never throws; these report it by returning null, which every caller of
// `new (std::nothrow)` checks.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}

void* operator new(std::size_t size) {
    return std::malloc(size != 0 ? size : 1);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
