#include "app/folder_claim.h"

#include <cstdint>
#include <cstring>

#include "launcher/command_line.h"

namespace {

// Window handles are 32-bit values on every Windows, also between 32-bit and
// 64-bit processes, so the block holds one as a LONG.
const DWORD kBlockBytes = sizeof(LONG);

const WCHAR kNamePrefix[] = L"Tandrel.Panel.";
const int kHashDigits = 16;
const size_t kPrefixLength = sizeof(kNamePrefix) / sizeof(WCHAR) - 1;
const size_t kNameSize = kPrefixLength + kHashDigits + 1;

// The block's name for a folder's case-folded full path: short and without a
// backslash, as every version of the platform wants an object's name. A
// 64-bit FNV-1a hash of the path lets any path fit; paths that differ give
// different names in all but a vanishing share of cases.
void NameForFolder(const WCHAR* foldedPath, WCHAR name[kNameSize]) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const WCHAR* at = foldedPath; *at; ++at) {
        hash = (hash ^ (*at & 0xFF)) * 0x100000001B3ull;
        hash = (hash ^ (*at >> 8)) * 0x100000001B3ull;
    }
    memcpy(name, kNamePrefix, kPrefixLength * sizeof(WCHAR));
    for (int i = kHashDigits - 1; i >= 0; --i) {
        name[kPrefixLength + i] = L"0123456789ABCDEF"[hash & 0xF];
        hash >>= 4;
    }
    name[kNameSize - 1] = L'\0';
}

} // namespace

FolderClaim::~FolderClaim() {
    if (mapping) {
        CloseHandle(mapping);
        mapping = nullptr;
    }
}

int FolderClaim::Claim() {
    WCHAR folder[kMaxPathChars];
    DWORD length = GetCurrentDirectoryW(kMaxPathChars, folder);
    if (length == 0 || length >= kMaxPathChars) {
        return 1;
    }
    // File names are compared without regard to case, and so are folders here.
    CharUpperBuffW(folder, length);
    WCHAR name[kNameSize];
    NameForFolder(folder, name);
    SetLastError(ERROR_SUCCESS);
    mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockBytes, name);
    if (!mapping || GetLastError() != ERROR_ALREADY_EXISTS) {
        return 1;
    }
    HWND panel = nullptr;
    if (const LONG* block =
            static_cast<const LONG*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kBlockBytes))) {
        panel = static_cast<HWND>(LongToHandle(*block));
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
    mapping = nullptr;
    // A panel still being built has not named its window yet; it is shown
    // in front shortly anyway.
    if (panel && IsWindow(panel)) {
        SetForegroundWindow(panel);
    }
    return 0;
}

void FolderClaim::Publish(HWND window) {
    if (!mapping) {
        return;
    }
    if (LONG* block =
            static_cast<LONG*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kBlockBytes))) {
        *block = HandleToLong(window);
        UnmapViewOfFile(block);
    }
}
