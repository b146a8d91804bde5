#include "dib/dib_image.h"

#include "dib/dib_decode.h"
#include "dib/dib_format.h"

#include <cstring>

namespace {

// Windows before Vista can fail one read of more than 32 to 64 MB that passes
// through a driver's memory list (ERROR_NO_SYSTEM_RESOURCES: network shares,
// some devices), so a large picture arrives in pieces.
constexpr DWORD kPieceBytes = 1 << 20;

// dib_format's way to the rest of the file: read where it asks, straight
// into the block.
std::uint32_t ReadAt(void* file, std::uint32_t offset, std::uint8_t* to, std::uint32_t bytes) {
    LONG high = 0;
    if (SetFilePointer(file, static_cast<LONG>(offset), &high, FILE_BEGIN) != offset) {
        return 0;
    }
    std::uint32_t arrived = 0;
    while (arrived < bytes) {
        DWORD piece = bytes - arrived < kPieceBytes ? bytes - arrived : kPieceBytes, got = 0;
        if (!ReadFile(file, to + arrived, piece, &got, nullptr) || got == 0) {
            break;
        }
        arrived += got;
    }
    return arrived;
}

} // namespace

DibImage::DibImage(const WCHAR* name, COLORREF backgroundColour)
    : fileName(), background(backgroundColour), tried(true), packedDib(nullptr), palette(nullptr),
      refusal(dib::Refusal::NameTooLong) {
    // Look no further than the field could hold.
    std::size_t length = 0;
    while (name && length < MAX_PATH && name[length] != 0) {
        ++length;
    }
    if (name && length < MAX_PATH) {
        std::memcpy(fileName, name, length * sizeof(WCHAR));
        tried = false;
        refusal = dib::Refusal::None;
    }
}

DibImage::~DibImage() {
    if (packedDib) {
        GlobalFree(packedDib);
        packedDib = nullptr;
    }
    if (palette) {
        DeleteObject(palette);
        palette = nullptr;
    }
}

void DibImage::Load() {
    tried = true;
    // As named, from the current directory: no search of the program's
    // folder or the path, so that the panel and /check find the same file.
    HANDLE file = CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        refusal = dib::Refusal::FileNotFound;
        return;
    }
    BYTE front[dib::kFrontBytes];
    DWORD length = 0;
    if (!ReadFile(file, front, sizeof front, &length, nullptr)) {
        length = 0;
    }
    dib::Layout layout;
    refusal = dib::ReadFront(front, length, &layout);
    if (refusal == dib::Refusal::None) {
        packedDib = layout.kind == dib::Kind::Bitmap
                        ? ReadBitmap(file, layout, front, length)
                        : dib::DecodePicture(fileName, file, layout.kind, background, &refusal);
    }
    CloseHandle(file);
}

HGLOBAL DibImage::ReadBitmap(HANDLE file, const dib::Layout& layout, const BYTE* front,
                             DWORD length) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, layout.blockBytes);
    BYTE* base = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!base) {
        if (block) {
            GlobalFree(block);
        }
        refusal = dib::Refusal::NoMemory;
        return nullptr;
    }
    // A front shorter than asked for is the whole file.
    const dib::FileReader rest = {ReadAt, file};
    dib::BuildBlock(layout, front, length, length < dib::kFrontBytes ? nullptr : &rest, background,
                    base);
    GlobalUnlock(block);
    return block;
}

int DibImage::GetSize(int* width, int* height) {
    if (!width || !height) {
        return 0;
    }
    *width = 0;
    *height = 0;
    const BYTE* base = LockLoaded();
    if (!base) {
        return 0;
    }
    dib::PictureSize(base, width, height);
    GlobalUnlock(packedDib);
    return 1;
}

HPALETTE DibImage::GetPalette() {
    if (!palette) {
        BuildPalette();
    }
    return palette;
}

void DibImage::BuildPalette() {
    const BYTE* base = LockLoaded();
    if (!base) {
        return;
    }
    WORD entries = dib::PaletteEntries(base);
    if (entries > 0) {
        HLOCAL description = LocalAlloc(LPTR, dib::PaletteDescriptionBytes(entries));
        if (description) {
            dib::FillPaletteDescription(base, static_cast<BYTE*>(description));
            palette = CreatePalette(static_cast<LOGPALETTE*>(description));
            LocalFree(description);
        }
    }
    GlobalUnlock(packedDib);
}

BYTE* DibImage::LockLoaded() {
    if (!tried) {
        Load();
    }
    return packedDib ? static_cast<BYTE*>(GlobalLock(packedDib)) : nullptr;
}

int DibImage::Draw(HDC deviceContext, int xDest, int yDest, int width, int height, int xSrc,
                   int ySrc) {
    BYTE* base = LockLoaded();
    if (!base) {
        return 0;
    }
    // A top-down picture keeps its negative height in the header, which is
    // how the platform knows to take its first row as the top one.
    SetDIBitsToDevice(deviceContext, xDest, yDest, width, height, xSrc, ySrc, 0,
                      dib::ScanLines(base, height),
                      base + dib::kInfoHeaderBytes + dib::PaletteBytes(base),
                      reinterpret_cast<const BITMAPINFO*>(base), DIB_RGB_COLORS);
    GlobalUnlock(packedDib);
    return 1;
}

int DibImage::DrawScaled(HDC deviceContext, int xDest, int yDest, int width, int height) {
    BYTE* base = LockLoaded();
    if (!base) {
        return 0;
    }
    // The block holds every row that the header promises, which is what the
    // platform reads for the whole picture.
    int pictureWidth = 0, pictureHeight = 0;
    dib::PictureSize(base, &pictureWidth, &pictureHeight);
    StretchDIBits(deviceContext, xDest, yDest, width, height, 0, 0, pictureWidth, pictureHeight,
                  base + dib::kInfoHeaderBytes + dib::PaletteBytes(base),
                  reinterpret_cast<const BITMAPINFO*>(base), DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(packedDib);
    return 1;
}
