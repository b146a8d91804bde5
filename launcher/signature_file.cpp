#include "launcher/signature_file.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(std::uint16_t), "UTF-16 names");

namespace {

// Up to `size` bytes at `offset`; how many were read.
DWORD ReadAt(HANDLE file, std::uint32_t offset, void* buffer, DWORD size) {
    DWORD got = 0;
    LONG high = 0; // so that the offset counts as unsigned, up to 4 GB
    if (SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN) != offset ||
        !ReadFile(file, buffer, size, &got, nullptr)) {
        return 0;
    }
    return got;
}

signature::Kind ReadOpen(HANDLE file, wchar_t* signer, int room) {
    using signature::Kind;
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    std::uint64_t fileSize = std::uint64_t{high} << 32 | low;
    std::uint8_t header[signature::kPeHeaderBytes];
    std::uint32_t peAt = 0;
    if (!signature::PeHeaderAt(header, ReadAt(file, 0, header, signature::kDosHeaderBytes),
                               &peAt)) {
        return Kind::NotProgram;
    }
    signature::Table table = {0, 0};
    Kind kind = signature::CertificateTableOf(
        header, ReadAt(file, peAt, header, signature::kPeHeaderBytes), fileSize, &table);
    if (kind != Kind::Signed) {
        return kind;
    }
    DWORD size = table.size < signature::kMostTableBytes ? table.size : signature::kMostTableBytes;
    std::uint8_t* bytes = static_cast<std::uint8_t*>(LocalAlloc(LMEM_FIXED, size));
    if (!bytes) {
        return Kind::Unreadable;
    }
    kind = signature::SignerOf(bytes, ReadAt(file, table.offset, bytes, size),
                               reinterpret_cast<std::uint16_t*>(signer),
                               static_cast<std::size_t>(room));
    LocalFree(bytes);
    return kind;
}

} // namespace

signature::Kind ReadSignature(const wchar_t* path, wchar_t* signer, int room) {
    signer[0] = L'\0';
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return signature::Kind::Unreadable;
    }
    signature::Kind kind = ReadOpen(file, signer, room);
    CloseHandle(file);
    return kind;
}
