#include "dib/dib_image.h"

#include "dib/dib_decode.h"
#include "dib/dib_format.h"

#include <cstring>

namespace {

constexpr UINT kChunkBytes = 32768;
constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;

// OpenFile keeps the file's full path in a 128-byte field and refuses a longer
// one, which a distribution copied into a deep folder reaches easily; _lopen
// takes any path the file system does, but looks only where the name says.
HFILE OpenPicture(const char* name) {
    OFSTRUCT openBuffer;
    HFILE file = OpenFile(name, &openBuffer, OF_READ);
    if (file == HFILE_ERROR) {
        file = _lopen(name, OF_READ);
    }
    return file;
}

void FreeBlock(HGLOBAL* block) {
    if (*block) {
        GlobalFree(*block);
        *block = nullptr;
    }
}

} // namespace

DibImage::DibImage(const char* bitmapFile)
    : valid(0), packedDib(nullptr), palette(nullptr), refusal(dib::Refusal::NameTooLong) {
    std::memset(fileName, 0, sizeof fileName);
    if (!bitmapFile) {
        return;
    }
    // Look no further than the field could hold.
    std::size_t length = 0;
    while (length < sizeof fileName && bitmapFile[length] != '\0') {
        ++length;
    }
    if (length < sizeof fileName) {
        std::memcpy(fileName, bitmapFile, length + 1);
        valid = 1;
        refusal = dib::Refusal::None;
    }
}

#ifdef _WIN32
namespace {
struct AnsiName {
    explicit AnsiName(const WCHAR* wide) {
        if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr)) {
            text[0] = '\0';
        }
    }
    char text[MAX_PATH * 2];
};
} // namespace

DibImage::DibImage(const WCHAR* bitmapFile, COLORREF) : DibImage(AnsiName(bitmapFile).text) {}
#endif

DibImage::~DibImage() {
    FreeBlock(&packedDib);
    if (palette) {
        DeleteObject(palette);
        palette = nullptr;
    }
}

void DibImage::Load() {
    if (!valid) {
        return;
    }
    FreeBlock(&packedDib);
    HFILE file = OpenPicture(fileName);
    if (file == HFILE_ERROR) {
        refusal = dib::Refusal::FileNotFound;
        return;
    }
    dib::Layout layout;
    dib::Kind kind = ReadHeader(file, &layout);
    if (kind != dib::Kind::Bitmap) {
        if (refusal == dib::Refusal::None) {
            packedDib =
                dib::DecodePicture(fileName, file, kind, GetSysColor(kBackground), &refusal);
        }
    } else if (packedDib) {
        ReadPixels(file, layout.alphaMask);
    }
    _lclose(file);
}

dib::Kind DibImage::ReadHeader(HFILE file, dib::Layout* layout) {
    FreeBlock(&packedDib);
    refusal = dib::Refusal::HeaderTooShort;
    LONG start = _llseek(file, 0, FILE_CURRENT);
    BYTE front[dib::kFileHeaderBytes + dib::kLongestHeaderBytes];
    if (_lread(file, front, dib::kFileHeaderBytes) != dib::kFileHeaderBytes) {
        return dib::Kind::Bitmap;
    }
    UINT have = dib::kFileHeaderBytes;
    dib::Kind kind = dib::SniffKind(front, have);
    if (kind != dib::Kind::Bitmap) {
        UINT more = _lread(file, front + have, dib::kSniffBytes - have);
        refusal = dib::StatedSize(kind, front, have + (more > dib::kSniffBytes ? 0 : more));
        _llseek(file, start, FILE_BEGIN);
        return kind;
    }
    if (!dib::HasFileHeader(front, have)) {
        _llseek(file, start, FILE_BEGIN);
        have = 0;
    }
    if (_lread(file, front + have, dib::kHeaderReadBytes) != dib::kHeaderReadBytes) {
        return kind;
    }
    have += dib::kHeaderReadBytes;
    UINT more = dib::MoreHeaderBytes(front, have);
    if (more > 0 && _lread(file, front + have, more) == more) {
        have += more;
    }
    refusal = dib::ReadHeaders(front, have, layout);
    if (refusal != dib::Refusal::None) {
        return kind;
    }
    // A header shorter than what was read: back to its colour table.
    if (layout->tableAt != have) {
        _llseek(file, static_cast<LONG>(layout->tableAt) - static_cast<LONG>(have), FILE_CURRENT);
    }

    BYTE header[dib::kInfoHeaderBytes];
    dib::StoreHeader(layout->header, header);
    refusal = dib::Refusal::NoMemory;
    packedDib = GlobalAlloc(kBlockFlags, dib::kInfoHeaderBytes + dib::PaletteBytes(header));
    if (!packedDib) {
        return kind;
    }
    BYTE* base = static_cast<BYTE*>(GlobalLock(packedDib));
    if (!base) {
        FreeBlock(&packedDib);
        return kind;
    }
    // Entries the file does not supply stay zero.
    std::uint32_t tableTo = dib::StartBlock(*layout, base);
    if (layout->tableBytes > 0) {
        _lread(file, base + tableTo, layout->tableBytes);
        if (layout->tripleEntries) {
            dib::WidenTriples(base + tableTo, layout->colours);
        }
    }
    if (layout->bitsOffset != 0) {
        _llseek(file, static_cast<LONG>(static_cast<DWORD>(start) + layout->bitsOffset),
                FILE_BEGIN);
    }
    GlobalUnlock(packedDib);
    refusal = dib::Refusal::None;
    return kind;
}

void DibImage::ReadPixels(HFILE file, std::uint32_t alphaMask) {
    BYTE header[dib::kInfoHeaderBytes];
    std::uint32_t fullBytes = 0;
    HGLOBAL grown = nullptr;
    if (GetInfoHeader(header) && dib::BlockBytes(header, &fullBytes)) {
        grown = GlobalReAlloc(packedDib, fullBytes, kBlockFlags);
    }
    BYTE* base = grown ? static_cast<BYTE*>(GlobalLock(grown)) : nullptr;
    if (!base) {
        // A block that could not grow is still held under its old handle.
        FreeBlock(grown ? &grown : &packedDib);
        packedDib = nullptr;
        refusal = dib::Refusal::NoMemory;
        return;
    }
    packedDib = grown;
    // A short file leaves the rest of the pixels zero; it still shows.
    ReadChunked(file, base + dib::kInfoHeaderBytes + dib::PaletteBytes(base),
                dib::LoadHeader(base).sizeImage);
    dib::BlendBitfields(base, alphaMask, GetSysColor(kBackground));
    GlobalUnlock(packedDib);
}

int DibImage::GetInfoHeader(BYTE* out) const {
    if (!packedDib || !out) {
        return 0;
    }
    const void* base = GlobalLock(packedDib);
    if (!base) {
        return 0;
    }
    std::memcpy(out, base, dib::kInfoHeaderBytes);
    GlobalUnlock(packedDib);
    return 1;
}

DWORD DibImage::ReadChunked(HFILE file, void* buffer, unsigned count) {
    BYTE* at = static_cast<BYTE*>(buffer);
    unsigned remaining = count;
    while (remaining > 0) {
        UINT chunk = remaining < kChunkBytes ? remaining : kChunkBytes;
        if (_lread(file, at, chunk) != chunk) {
            return 0;
        }
        at += chunk;
        remaining -= chunk;
    }
    return count;
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
    if (palette) {
        DeleteObject(palette);
        palette = nullptr;
    }
    const BYTE* base = LockLoaded();
    if (!base) {
        return;
    }
    HPALETTE made = nullptr;
    WORD entries = dib::PaletteEntries(base);
    if (entries > 0) {
        HLOCAL description = LocalAlloc(LPTR, dib::PaletteDescriptionBytes(entries));
        if (description) {
            dib::FillPaletteDescription(base, static_cast<BYTE*>(description));
            made = CreatePalette(static_cast<LOGPALETTE*>(description));
            LocalFree(description);
        }
    }
    GlobalUnlock(packedDib);
    palette = made;
}

BYTE* DibImage::LockLoaded() {
    if (!packedDib) {
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
