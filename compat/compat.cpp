// Files through POSIX descriptors, movable blocks with lock counts, palettes
// counted, drawing calls that read their rows and record them. Every global
// block is a heap allocation of exactly its size, so that the sanitizers
// catch a read past its end.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Block {
    BYTE* data;
    SIZE_T size;
    UINT locks;
};

std::set<int> files;
std::set<Block*> blocks;
std::set<void*> locals, palettes;

int Descriptor(HANDLE file) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(file));
}

// Bytes nobody asked to be zeroed are garbage, as they may be on the platform.
BYTE* NewBytes(SIZE_T bytes, UINT flags) {
    if (bytes > compat::Records().memory) {
        return nullptr;
    }
    BYTE* data = static_cast<BYTE*>(flags & GMEM_ZEROINIT ? std::calloc(bytes ? bytes : 1, 1)
                                                          : std::malloc(bytes ? bytes : 1));
    if (data && !(flags & GMEM_ZEROINIT)) {
        std::memset(data, 0xCD, bytes);
    }
    return data;
}

} // namespace

HANDLE CreateFileW(const WCHAR* name, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE) {
    ++compat::Records().opens;
    std::string path;
    while (*name > 0 && *name < 0x80) {
        path += static_cast<char>(*name++);
    }
    int fd = *name == 0 ? open(path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    return fd < 0 ? INVALID_HANDLE_VALUE
                  : reinterpret_cast<HANDLE>(std::intptr_t{*files.insert(fd).first});
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* read, OVERLAPPED*) {
    // A regular file gives everything up to its end in one read.
    ssize_t got = ::read(Descriptor(file), buffer, bytes);
    *read = got < 0 ? 0 : static_cast<DWORD>(got);
    return got >= 0;
}

DWORD SetFilePointer(HANDLE file, LONG low, LONG* high, DWORD origin) {
    // With `high`, `low` is the unsigned low half of the offset.
    off_t at = high ? off_t{*high} * 0x100000000 + static_cast<DWORD>(low) : off_t{low};
    at = lseek(Descriptor(file), at, static_cast<int>(origin));
    return at < 0 ? 0xFFFFFFFF : static_cast<DWORD>(at);
}

BOOL CloseHandle(HANDLE file) {
    return files.erase(Descriptor(file)) && close(Descriptor(file)) == 0;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    BYTE* data = NewBytes(bytes, flags);
    return data ? *blocks.insert(new Block{data, bytes, 0}).first : nullptr;
}

void* GlobalLock(HGLOBAL handle) {
    Block* block = static_cast<Block*>(handle);
    ++block->locks;
    return block->data;
}

BOOL GlobalUnlock(HGLOBAL handle) {
    Block* block = static_cast<Block*>(handle);
    return block->locks > 0 && --block->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    Block* block = static_cast<Block*>(handle);
    blocks.erase(block);
    std::free(block->data);
    delete block;
    return nullptr;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    BYTE* data = NewBytes(bytes, flags);
    return data ? *locals.insert(data).first : nullptr;
}

HLOCAL LocalFree(HLOCAL handle) {
    locals.erase(handle);
    std::free(handle);
    return nullptr;
}

HPALETTE CreatePalette(const LOGPALETTE*) {
    return static_cast<HPALETTE>(*palettes.insert(new char).first);
}

BOOL DeleteObject(HGDIOBJ object) {
    palettes.erase(object);
    delete static_cast<char*>(object);
    return 1;
}

int SetDIBitsToDevice(HDC, int, int, DWORD, DWORD, int, int, UINT, UINT scanLines, const void* bits,
                      const BITMAPINFO* info, UINT) {
    // The header's width and bit count give the rows' stride; compressed
    // pictures are read as far as their stated size.
    const BYTE* header = reinterpret_cast<const BYTE*>(info);
    auto le = [header](int at, int bytes) {
        DWORD value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value << 8 | header[at + i];
        }
        return value;
    };
    DWORD compression = le(16, 4), stride = (le(4, 4) * le(14, 2) + 31) / 32 * 4;
    std::size_t bytes = compression == 1 || compression == 2 ? le(20, 4) : scanLines * stride;
    volatile BYTE sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        sum = sum + static_cast<const BYTE*>(bits)[i];
    }
    compat::Records().scanLines = scanLines;
    for (const Block* block : blocks) {
        if (block->locks > 0 && block->data == header) {
            compat::Records().drawn.assign(block->data, block->data + block->size);
        }
    }
    return static_cast<int>(scanLines);
}

// Reads every row of the source: recorded as a draw of them all.
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int, int, int,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT colorUse, DWORD) {
    return SetDIBitsToDevice(dc, xDest, yDest, DWORD(destWidth), DWORD(destHeight), 0, 0, 0,
                             srcHeight > 0 ? UINT(srcHeight) : 0, bits, info, colorUse);
}

compat::Record& compat::Records() {
    static Record record;
    return record;
}

std::vector<int> compat::Living() {
    int locked = 0;
    for (const Block* block : blocks) {
        locked += block->locks > 0;
    }
    return {int(files.size()), int(blocks.size()), locked, int(locals.size()),
            int(palettes.size())};
}
