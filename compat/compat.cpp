// Files through POSIX descriptors, movable blocks with lock counts, palettes
// counted, a drawing call that only records, no decoders. Every global block
// is a heap allocation of exactly its size that moves at every reallocation,
// so that the sanitizers catch a read past its end or through a stale pointer.
#include <windows.h>

#include "dib/dib_decode.h"

#include <cstdlib>
#include <cstring>
#include <set>

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

bool ShouldFail(compat::Call call) {
    int& skip = compat::Records().skip[static_cast<int>(call)];
    return skip >= 0 && skip-- == 0;
}

// Bytes nobody asked to be zeroed are garbage, as they may be on the platform.
BYTE* NewBytes(SIZE_T bytes, UINT flags) {
    BYTE* data = static_cast<BYTE*>(std::malloc(bytes ? bytes : 1));
    std::memset(data, flags & GMEM_ZEROINIT ? 0 : 0xCD, bytes);
    return data;
}

} // namespace

HFILE OpenFile(const char* fileName, OFSTRUCT*, UINT style) {
    return _lopen(fileName, static_cast<int>(style));
}

HFILE _lopen(const char* fileName, int) {
    ++compat::Records().opens;
    compat::Records().lastOpened = fileName;
    int fd = ShouldFail(compat::Call::OpenFile) ? -1 : open(fileName, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? HFILE_ERROR : *files.insert(fd).first;
}

UINT _lread(HFILE file, void* buffer, UINT bytes) {
    compat::Records().reads.push_back(bytes);
    // A regular file gives everything up to its end in one read.
    ssize_t got = ShouldFail(compat::Call::Read) ? -1 : read(file, buffer, bytes);
    return got < 0 ? static_cast<UINT>(HFILE_ERROR) : static_cast<UINT>(got);
}

LONG _llseek(HFILE file, LONG offset, int origin) {
    off_t at = lseek(file, offset, origin);
    return at < 0 ? HFILE_ERROR : static_cast<LONG>(at);
}

HFILE _lclose(HFILE file) {
    return files.erase(file) && close(file) == 0 ? 0 : HFILE_ERROR;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    return ShouldFail(compat::Call::GlobalAlloc)
               ? nullptr
               : *blocks.insert(new Block{NewBytes(bytes, flags), bytes, 0}).first;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    Block* block = static_cast<Block*>(handle);
    if (ShouldFail(compat::Call::GlobalReAlloc)) {
        return nullptr;
    }
    BYTE* data = NewBytes(bytes, flags);
    std::memcpy(data, block->data, block->size < bytes ? block->size : bytes);
    std::free(block->data);
    *block = {data, bytes, block->locks};
    return block;
}

void* GlobalLock(HGLOBAL handle) {
    Block* block = static_cast<Block*>(handle);
    return ShouldFail(compat::Call::GlobalLock) ? nullptr : (++block->locks, block->data);
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
    return ShouldFail(compat::Call::LocalAlloc) ? nullptr
                                                : *locals.insert(NewBytes(bytes, flags)).first;
}

HLOCAL LocalFree(HLOCAL handle) {
    locals.erase(handle);
    std::free(handle);
    return nullptr;
}

DWORD GetSysColor(int) {
    return 0xC0C0C0;
}

HGLOBAL dib::DecodePicture(const char*, HFILE, Kind, COLORREF, Refusal* why) {
    *why = Refusal::NoDecoder;
    return nullptr;
}

HPALETTE CreatePalette(const LOGPALETTE*) {
    return ShouldFail(compat::Call::Palette)
               ? nullptr
               : static_cast<HPALETTE>(*palettes.insert(new char).first);
}

BOOL DeleteObject(HGDIOBJ object) {
    palettes.erase(object);
    delete static_cast<char*>(object);
    return 1;
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void*, const BITMAPINFO* info, UINT) {
    compat::DrawCall call = {
        {reinterpret_cast<long>(dc), xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines},
        {}};
    for (const Block* block : blocks) {
        if (block->locks > 0 && block->data == reinterpret_cast<const BYTE*>(info)) {
            call.block.assign(block->data, block->data + block->size);
        }
    }
    compat::Records().draws.push_back(call);
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
