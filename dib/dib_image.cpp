#include "dib/dib_image.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr DWORD kCoreHeaderBytes = 12;
constexpr DWORD kInfoHeaderBytes = 40;
constexpr UINT kFileHeaderBytes = 14;
constexpr WORD kFileSignature = 0x4D42; // "BM"
constexpr DWORD kMaskBytes = 3 * 4;
constexpr DWORD kMaxTableBytes = 0xFFFF; // the table's size is a 16-bit count
constexpr UINT kChunkBytes = 32768;
constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Field offsets within an info header.
constexpr int kWidthAt = 4;
constexpr int kHeightAt = 8;
constexpr int kBitCountAt = 14;
constexpr int kCompressionAt = 16;
constexpr int kSizeImageAt = 20;
constexpr int kClrUsedAt = 32;
// ... and within a core header.
constexpr int kCoreWidthAt = 4;
constexpr int kCoreHeightAt = 6;
constexpr int kCorePlanesAt = 8;
constexpr int kCoreBitCountAt = 10;

// Headers come from the file as little-endian bytes whatever the host; the
// block holds the platform's own structure, which is little-endian too.
WORD Le16(const BYTE* at) {
    return static_cast<WORD>(at[0] | at[1] << 8);
}

DWORD Le32(const BYTE* at) {
    return static_cast<DWORD>(at[0]) | static_cast<DWORD>(at[1]) << 8 |
           static_cast<DWORD>(at[2]) << 16 | static_cast<DWORD>(at[3]) << 24;
}

LONG LeLong(const BYTE* at) {
    return static_cast<LONG>(Le32(at));
}

// Sizes are 32-bit byte counts; each step refuses to wrap.
bool Add32(DWORD a, DWORD b, DWORD* sum) {
    std::uint64_t wide = static_cast<std::uint64_t>(a) + b;
    if (wide > 0xFFFFFFFFu) {
        return false;
    }
    *sum = static_cast<DWORD>(wide);
    return true;
}

bool Mul32(DWORD a, DWORD b, DWORD* product) {
    std::uint64_t wide = static_cast<std::uint64_t>(a) * b;
    if (wide > 0xFFFFFFFFu) {
        return false;
    }
    *product = static_cast<DWORD>(wide);
    return true;
}

// Rows stored for a height; negative heights mark top-down pictures.
DWORD RowCount(LONG height) {
    DWORD bits = static_cast<DWORD>(height);
    return height < 0 ? 0u - bits : bits;
}

// Bytes that the rows of a picture take, each row padded to 4 bytes; false
// when a negative width or any step of the sum does not fit 32 bits.
bool RowBytes(LONG width, WORD bitCount, LONG height, DWORD* bytes) {
    DWORD rowBits = 0;
    if (width < 0 || !Mul32(static_cast<DWORD>(width), bitCount, &rowBits) ||
        !Add32(rowBits, 31, &rowBits)) {
        return false;
    }
    return Mul32(rowBits / 32 * 4, RowCount(height), bytes);
}

bool IsCore(const BYTE* header) {
    return Le32(header) == kCoreHeaderBytes;
}

// Masks of a BI_BITFIELDS info header sit between it and the colour table,
// where the platform's bitmap calls look for them.
DWORD MaskBytes(const BYTE* header) {
    return !IsCore(header) && Le32(header + kCompressionAt) == BI_BITFIELDS ? kMaskBytes : 0;
}

DWORD TableBytes(const BYTE* header, WORD colours) {
    return IsCore(header) ? 3u * colours : MaskBytes(header) + 4u * colours;
}

bool IsRowFormat(DWORD compression) {
    return compression == BI_RGB || compression == BI_BITFIELDS;
}

// Brings a header to the form the block keeps, or refuses it. The header is
// what the platform reads when drawing, so it may not promise more colour
// entries or rows than the block will hold, and no size may wrap 32 bits.
bool SettleHeader(BITMAPINFOHEADER* info, WORD colours) {
    // The minimum height has no positive counterpart to report.
    if (info->biHeight == INT32_MIN) {
        return false;
    }
    DWORD rowBytes = 0;
    if (!RowBytes(info->biWidth, info->biBitCount, info->biHeight, &rowBytes)) {
        return false;
    }
    // A stated size too small for the rows (some writers leave it stale) is
    // enlarged, so that every row drawn lies in the block; compressed data
    // has no rows to count and keeps its stated length.
    if (info->biSizeImage == 0 ||
        (IsRowFormat(info->biCompression) && info->biSizeImage < rowBytes)) {
        info->biSizeImage = rowBytes;
    }
    // A count whose low 16 bits are what the table holds: say exactly that.
    info->biClrUsed = colours;
    // With no entries stored, a palette picture's header would still make the
    // platform read 2^bits of them.
    if (info->biBitCount <= 8 && colours == 0) {
        return false;
    }
    const BYTE* bytes = reinterpret_cast<const BYTE*>(info);
    DWORD tableBytes = TableBytes(bytes, colours);
    DWORD blockBytes = 0;
    return tableBytes <= kMaxTableBytes && Add32(kInfoHeaderBytes, tableBytes, &blockBytes) &&
           Add32(blockBytes, info->biSizeImage, &blockBytes);
}

// The 40-byte header of a core header as read from the file.
BITMAPINFOHEADER FromCore(const BYTE* raw, WORD colours) {
    BITMAPINFOHEADER info;
    std::memset(&info, 0, sizeof info);
    info.biSize = kInfoHeaderBytes;
    info.biWidth = Le16(raw + kCoreWidthAt);
    info.biHeight = Le16(raw + kCoreHeightAt);
    info.biPlanes = Le16(raw + kCorePlanesAt);
    info.biBitCount = Le16(raw + kCoreBitCountAt);
    info.biClrUsed = colours;
    info.biClrImportant = colours;
    return info;
}

BITMAPINFOHEADER FromInfo(const BYTE* raw) {
    BITMAPINFOHEADER info;
    info.biSize = Le32(raw);
    info.biWidth = LeLong(raw + kWidthAt);
    info.biHeight = LeLong(raw + kHeightAt);
    info.biPlanes = Le16(raw + 12);
    info.biBitCount = Le16(raw + kBitCountAt);
    info.biCompression = Le32(raw + kCompressionAt);
    info.biSizeImage = Le32(raw + kSizeImageAt);
    info.biXPelsPerMeter = LeLong(raw + 24);
    info.biYPelsPerMeter = LeLong(raw + 28);
    info.biClrUsed = Le32(raw + kClrUsedAt);
    info.biClrImportant = Le32(raw + 36);
    return info;
}

// Widens n 3-byte entries at the table's start to 4-byte ones in place. Going
// downwards, each entry overwrites only triples already widened.
void WidenTriples(BYTE* table, WORD n) {
    for (int i = n - 1; i >= 0; --i) {
        BYTE blue = table[3 * i];
        BYTE green = table[3 * i + 1];
        BYTE red = table[3 * i + 2];
        table[4 * i] = blue;
        table[4 * i + 1] = green;
        table[4 * i + 2] = red;
        table[4 * i + 3] = 0;
    }
}

// A palette description with room for n entries; its entries are filled
// byte by byte, past the one entry that the structure declares.
LOGPALETTE* NewDescription(WORD n) {
    LOGPALETTE* description =
        static_cast<LOGPALETTE*>(LocalAlloc(LPTR, sizeof(LOGPALETTE) + 4u * n));
    if (description) {
        description->palVersion = 0x300;
        description->palNumEntries = n;
    }
    return description;
}

BYTE* EntryAt(LOGPALETTE* description, int i) {
    return reinterpret_cast<BYTE*>(description) + 4 + 4 * i;
}

HPALETTE CreateFromDescription(LOGPALETTE* description) {
    HPALETTE made = CreatePalette(description);
    LocalFree(description);
    return made;
}

HPALETTE PaletteFromTable(const BYTE* table, WORD n) {
    LOGPALETTE* description = NewDescription(n);
    if (!description) {
        return nullptr;
    }
    for (int i = 0; i < n; ++i) {
        BYTE* entry = EntryAt(description, i);
        entry[0] = table[4 * i + 2]; // red
        entry[1] = table[4 * i + 1]; // green
        entry[2] = table[4 * i];     // blue
    }
    return CreateFromDescription(description);
}

// 8 red x 8 green x 4 blue levels, red varying fastest: enough to show a
// 24-bit picture passably on a 256-colour display.
HPALETTE CubePalette() {
    const WORD n = 256;
    LOGPALETTE* description = NewDescription(n);
    if (!description) {
        return nullptr;
    }
    BYTE red = 0, green = 0, blue = 0;
    for (int i = 0; i < n; ++i) {
        BYTE* entry = EntryAt(description, i);
        entry[0] = red;
        entry[1] = green;
        entry[2] = blue;
        red = static_cast<BYTE>(red + 32);
        if (red == 0) {
            green = static_cast<BYTE>(green + 32);
            if (green == 0) {
                blue = static_cast<BYTE>(blue + 64);
            }
        }
    }
    return CreateFromDescription(description);
}

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

} // namespace

DibImage::DibImage(const char* bitmapFile) : valid(0), packedDib(nullptr), palette(nullptr) {
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
    if (!valid) {
        return;
    }
    if (packedDib) {
        GlobalFree(packedDib);
        packedDib = nullptr;
    }
    HFILE file = OpenPicture(fileName);
    if (file == HFILE_ERROR) {
        return;
    }
    ReadHeader(file);
    if (packedDib) {
        // The header has been checked to fit; the sum is checked again so that
        // no size can wrap whatever reaches here.
        BITMAPINFOHEADER header;
        DWORD fullBytes = 0;
        HGLOBAL grown = nullptr;
        if (GetInfoHeader(&header) && Add32(header.biSize, PaletteBytes(&header), &fullBytes) &&
            Add32(fullBytes, header.biSizeImage, &fullBytes)) {
            grown = GlobalReAlloc(packedDib, fullBytes, kBlockFlags);
        }
        if (grown) {
            packedDib = grown;
        } else {
            GlobalFree(packedDib);
            packedDib = nullptr;
        }
    }
    if (packedDib) {
        BYTE* base = static_cast<BYTE*>(GlobalLock(packedDib));
        if (base) {
            // A short file leaves the rest of the pixels zero; it still shows.
            ReadChunked(file, base + Le32(base) + PaletteBytes(base), Le32(base + kSizeImageAt));
            GlobalUnlock(packedDib);
        } else {
            GlobalFree(packedDib);
            packedDib = nullptr;
        }
    }
    _lclose(file);
}

void DibImage::ReadHeader(HFILE file) {
    if (packedDib) {
        GlobalFree(packedDib);
        packedDib = nullptr;
    }
    if (file == HFILE_ERROR) {
        return;
    }
    LONG start = _llseek(file, 0, FILE_CURRENT);
    BYTE fileHeader[kFileHeaderBytes];
    if (_lread(file, fileHeader, sizeof fileHeader) != sizeof fileHeader) {
        return;
    }
    DWORD bitsOffset = 0;
    if (Le16(fileHeader) == kFileSignature) {
        bitsOffset = Le32(fileHeader + 10);
    } else {
        _llseek(file, start, FILE_BEGIN);
    }

    // Always 40 bytes, even for a core header: the files this reads are never
    // that short, and one read serves both kinds.
    BYTE raw[kInfoHeaderBytes];
    if (_lread(file, raw, sizeof raw) != sizeof raw) {
        return;
    }
    WORD colours = NumColors(raw);
    BITMAPINFOHEADER info;
    bool core = false;
    switch (Le32(raw)) {
    case kCoreHeaderBytes:
        core = true;
        info = FromCore(raw, colours);
        // Back to just after the core header, where its colour table starts.
        _llseek(file, -static_cast<LONG>(kInfoHeaderBytes - kCoreHeaderBytes), FILE_CURRENT);
        break;
    case kInfoHeaderBytes:
        info = FromInfo(raw);
        break;
    default:
        return;
    }
    if (!SettleHeader(&info, colours)) {
        return;
    }

    WORD tableBytes = PaletteBytes(&info);
    packedDib = GlobalAlloc(kBlockFlags, kInfoHeaderBytes + tableBytes);
    if (!packedDib) {
        return;
    }
    BYTE* base = static_cast<BYTE*>(GlobalLock(packedDib));
    if (!base) {
        GlobalFree(packedDib);
        packedDib = nullptr;
        return;
    }
    std::memcpy(base, &info, sizeof info);
    // Entries the file does not supply stay zero.
    if (core && colours > 0) {
        _lread(file, base + kInfoHeaderBytes, 3u * colours);
        WidenTriples(base + kInfoHeaderBytes, colours);
    } else if (tableBytes > 0) {
        _lread(file, base + kInfoHeaderBytes, tableBytes);
    }
    if (bitsOffset != 0) {
        _llseek(file, static_cast<LONG>(static_cast<DWORD>(start) + bitsOffset), FILE_BEGIN);
    }
    GlobalUnlock(packedDib);
}

WORD DibImage::NumColors(const void* header) {
    const BYTE* bytes = static_cast<const BYTE*>(header);
    WORD bitCount;
    if (IsCore(bytes)) {
        bitCount = Le16(bytes + kCoreBitCountAt);
    } else {
        DWORD used = Le32(bytes + kClrUsedAt);
        if (used != 0) {
            return static_cast<WORD>(used & 0xFFFF);
        }
        bitCount = Le16(bytes + kBitCountAt);
    }
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

WORD DibImage::PaletteBytes(const void* header) {
    const BYTE* bytes = static_cast<const BYTE*>(header);
    DWORD tableBytes = TableBytes(bytes, NumColors(bytes));
    return tableBytes <= kMaxTableBytes ? static_cast<WORD>(tableBytes) : 0;
}

int DibImage::GetInfoHeader(BITMAPINFOHEADER* out) const {
    if (!packedDib || !out) {
        return 0;
    }
    const void* base = GlobalLock(packedDib);
    if (!base) {
        return 0;
    }
    std::memcpy(out, base, sizeof *out);
    GlobalUnlock(packedDib);
    if (out->biSize != kCoreHeaderBytes) {
        if (out->biSizeImage == 0) {
            DWORD rowBytes = 0;
            if (RowBytes(out->biWidth, out->biBitCount, out->biHeight, &rowBytes)) {
                out->biSizeImage = rowBytes;
            }
        }
        if (out->biClrUsed == 0) {
            out->biClrUsed = NumColors(out);
        }
    }
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
    if (!packedDib) {
        Load();
    }
    if (!packedDib) {
        return 0;
    }
    const BYTE* base = static_cast<const BYTE*>(GlobalLock(packedDib));
    if (!base) {
        return 0;
    }
    *width = LeLong(base + kWidthAt);
    // The load refused the one height whose magnitude an int cannot hold.
    *height = static_cast<int>(RowCount(LeLong(base + kHeightAt)));
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
    if (!packedDib) {
        Load();
    }
    if (!packedDib) {
        return;
    }
    const BYTE* base = static_cast<const BYTE*>(GlobalLock(packedDib));
    if (!base) {
        return;
    }
    HPALETTE made = nullptr;
    WORD n = NumColors(base);
    if (n > 0) {
        made = PaletteFromTable(base + Le32(base) + MaskBytes(base), n);
    } else if (Le16(base + kBitCountAt) == 24) {
        made = CubePalette();
    }
    GlobalUnlock(packedDib);
    palette = made;
}

int DibImage::Draw(HDC deviceContext, int xDest, int yDest, int width, int height, int xSrc,
                   int ySrc) {
    if (!packedDib) {
        Load();
    }
    if (!packedDib) {
        return 0;
    }
    BYTE* base = static_cast<BYTE*>(GlobalLock(packedDib));
    if (!base) {
        return 0;
    }
    // Never more scan lines than the block holds rows. A top-down picture
    // keeps its negative height in the header, which is how the platform
    // knows to take its first row as the top one.
    DWORD rows = RowCount(LeLong(base + kHeightAt));
    UINT lines = 0;
    if (height > 0) {
        lines = static_cast<DWORD>(height) < rows ? static_cast<DWORD>(height) : rows;
    }
    SetDIBitsToDevice(deviceContext, xDest, yDest, width, height, xSrc, ySrc, 0, lines,
                      base + Le32(base) + PaletteBytes(base), reinterpret_cast<BITMAPINFO*>(base),
                      DIB_RGB_COLORS);
    GlobalUnlock(packedDib);
    return 1;
}

int DibImage::DrawScaled(HDC deviceContext, int xDest, int yDest, int width, int height) {
    if (!packedDib) {
        Load();
    }
    if (!packedDib) {
        return 0;
    }
    BYTE* base = static_cast<BYTE*>(GlobalLock(packedDib));
    if (!base) {
        return 0;
    }
    // The block holds every row that the header promises, which is what the
    // platform reads for the whole picture.
    StretchDIBits(deviceContext, xDest, yDest, width, height, 0, 0, LeLong(base + kWidthAt),
                  static_cast<int>(RowCount(LeLong(base + kHeightAt))),
                  base + Le32(base) + PaletteBytes(base), reinterpret_cast<BITMAPINFO*>(base),
                  DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(packedDib);
    return 1;
}
