// The program's own allocation operators. The library's versions report
// failure by throwing, and pull the whole exception machinery into a program
// that never throws. The nothrow forms return null, which every caller of
// `new (std::nothrow)` checks; the plain forms have no way to say that they
// failed, so they end the process rather than hand out a null pointer.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

void* Allocate(std::size_t size) {
    return std::malloc(size != 0 ? size : 1);
}

void* AllocateOrExit(std::size_t size) {
    void* block = Allocate(size);
    if (!block) {
        ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
    }
    return block;
}

} // namespace

// The tag that `new (std::nothrow)` passes. The library defines it beside its
// new-handler functions, whose unwind tables the linker would keep although it
// drops the functions: a section of its own, for nothing that runs.
const std::nothrow_t std::nothrow{};

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new(std::size_t size) {
    return AllocateOrExit(size);
}

void* operator new[](std::size_t size) {
    return AllocateOrExit(size);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
