// Movable global blocks with lock counts, and fixed local blocks. Every block
// is its own heap allocation of exactly its size, so that the sanitizers see
// any access past its end, and every reallocation moves the data, so that a
// pointer kept across it is caught too.
#include "compat_state.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {

struct Block {
    BYTE* data;
    SIZE_T size;
    UINT locks;
};

std::set<Block*>& globals() {
    static std::set<Block*> blocks;
    return blocks;
}

std::map<void*, SIZE_T>& locals() {
    static std::map<void*, SIZE_T> blocks;
    return blocks;
}

Block* Find(HGLOBAL handle) {
    Block* block = static_cast<Block*>(handle);
    return globals().count(block) ? block : nullptr;
}

// Fresh bytes that the caller did not ask to be zeroed are garbage, as they
// may be on the platform.
BYTE* NewBytes(SIZE_T bytes, bool zero) {
    if (bytes == 0) {
        return nullptr;
    }
    void* data = zero ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (data && !zero) {
        std::memset(data, 0xCD, bytes);
    }
    return static_cast<BYTE*>(data);
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (compat::ShouldFail(compat::Call::GlobalAlloc) || bytes > compat::GlobalLimit()) {
        return nullptr;
    }
    BYTE* data = NewBytes(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (bytes != 0 && !data) {
        return nullptr;
    }
    Block* block = new Block{data, bytes, 0};
    globals().insert(block);
    return block;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    Block* block = Find(handle);
    if (!block || compat::ShouldFail(compat::Call::GlobalReAlloc) ||
        bytes > compat::GlobalLimit()) {
        return nullptr;
    }
    if (block->locks != 0 && !(flags & GMEM_MOVEABLE)) {
        return nullptr;
    }
    BYTE* data = NewBytes(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (bytes != 0 && !data) {
        return nullptr;
    }
    if (data && block->data) {
        std::memcpy(data, block->data, block->size < bytes ? block->size : bytes);
    }
    std::free(block->data);
    block->data = data;
    block->size = bytes;
    return block;
}

LPVOID GlobalLock(HGLOBAL handle) {
    Block* block = Find(handle);
    if (!block || !block->data || compat::ShouldFail(compat::Call::GlobalLock)) {
        return nullptr;
    }
    if (block->locks < GMEM_LOCKCOUNT) {
        ++block->locks;
    }
    return block->data;
}

BOOL GlobalUnlock(HGLOBAL handle) {
    Block* block = Find(handle);
    if (!block || block->locks == 0) {
        return FALSE;
    }
    --block->locks;
    return block->locks != 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    Block* block = Find(handle);
    if (!block) {
        return handle;
    }
    globals().erase(block);
    std::free(block->data);
    delete block;
    return nullptr;
}

UINT GlobalFlags(HGLOBAL handle) {
    Block* block = Find(handle);
    return block ? block->locks : GMEM_INVALID_HANDLE;
}

SIZE_T GlobalSize(HGLOBAL handle) {
    Block* block = Find(handle);
    return block ? block->size : 0;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (compat::ShouldFail(compat::Call::LocalAlloc) || (flags & ~LMEM_ZEROINIT) != LMEM_FIXED) {
        return nullptr;
    }
    // A fixed block of no bytes is still a distinct pointer.
    void* data = NewBytes(bytes ? bytes : 1, (flags & LMEM_ZEROINIT) != 0);
    if (!data) {
        return nullptr;
    }
    locals()[data] = bytes;
    return data;
}

HLOCAL LocalFree(HLOCAL handle) {
    auto found = locals().find(handle);
    if (found == locals().end()) {
        return handle;
    }
    locals().erase(found);
    std::free(handle);
    return nullptr;
}

namespace compat {

bool FindLockedBlock(const void* start, const BYTE** blockStart, std::size_t* bytesToEnd) {
    const BYTE* at = static_cast<const BYTE*>(start);
    for (const Block* block : globals()) {
        if (block->locks == 0 || !block->data) {
            continue;
        }
        // Compared as integers: the pointers may belong to unrelated objects.
        auto first = reinterpret_cast<std::uintptr_t>(block->data);
        auto here = reinterpret_cast<std::uintptr_t>(at);
        if (here >= first && here - first < block->size) {
            *blockStart = block->data;
            *bytesToEnd = block->size - (here - first);
            return true;
        }
    }
    return false;
}

bool FindLockedRange(const void* start, std::size_t bytes, const BYTE** blockStart) {
    std::size_t room = 0;
    if (!FindLockedBlock(start, blockStart, &room)) {
        return false;
    }
    return bytes <= room;
}

int LiveGlobalBlocks() {
    return static_cast<int>(globals().size());
}
int LiveLocalBlocks() {
    return static_cast<int>(locals().size());
}

} // namespace compat
