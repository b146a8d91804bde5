// Palettes kept as entry lists, and a SetDIBitsToDevice that draws nothing but
// reads its arguments the way the platform's GDI does, reporting any byte it
// would take from outside the locked block that holds the header.
#include "compat_state.h"

#include <cstring>
#include <set>

namespace {

struct Palette {
    std::vector<PALETTEENTRY> entries;
};

std::set<Palette*>& palettes() {
    static std::set<Palette*> live;
    return live;
}

Palette* FindPalette(const void* handle) {
    Palette* palette = static_cast<Palette*>(const_cast<void*>(handle));
    return palettes().count(palette) ? palette : nullptr;
}

std::uint64_t Stride(std::uint64_t width, std::uint64_t bitCount) {
    return ((width * bitCount + 31) / 32) * 4;
}

// The checks GDI makes before it reads anything past the header.
bool DrawableFormat(const BITMAPINFOHEADER& h) {
    if (h.biWidth <= 0 || h.biHeight == 0) {
        return false;
    }
    if (h.biCompression == BI_RLE4 || h.biCompression == BI_RLE8) {
        return h.biHeight > 0 && h.biSizeImage != 0 &&
               h.biBitCount == (h.biCompression == BI_RLE4 ? 4 : 8);
    }
    if (h.biPlanes == 0 || h.biBitCount == 0) {
        return false;
    }
    std::uint64_t rows = h.biHeight < 0 ? 0 - static_cast<std::int64_t>(h.biHeight) : h.biHeight;
    if (Stride(static_cast<std::uint64_t>(h.biWidth), h.biBitCount) * rows > 0xFFFFFFFFu) {
        return false;
    }
    switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        return h.biCompression == BI_RGB;
    case 16:
    case 32:
        return h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS;
    default:
        return false;
    }
}

} // namespace

HPALETTE CreatePalette(const LOGPALETTE* description) {
    if (!description || compat::ShouldFail(compat::Call::CreatePalette)) {
        return nullptr;
    }
    if (description->palVersion != 0x300) {
        return nullptr;
    }
    Palette* palette = new Palette;
    palette->entries.resize(description->palNumEntries);
    if (!palette->entries.empty()) {
        std::memcpy(palette->entries.data(), description->palPalEntry,
                    palette->entries.size() * sizeof(PALETTEENTRY));
    }
    palettes().insert(palette);
    return reinterpret_cast<HPALETTE>(palette);
}

BOOL DeleteObject(HGDIOBJ object) {
    Palette* palette = FindPalette(object);
    if (!palette) {
        return FALSE;
    }
    palettes().erase(palette);
    delete palette;
    return TRUE;
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
    Palette* palette = FindPalette(handle);
    if (!palette) {
        return 0;
    }
    UINT total = static_cast<UINT>(palette->entries.size());
    if (!entries) {
        return total;
    }
    if (start >= total) {
        return 0;
    }
    UINT copied = count < total - start ? count : total - start;
    std::memcpy(entries, palette->entries.data() + start, copied * sizeof(PALETTEENTRY));
    return copied;
}

int GetObjectA(HGDIOBJ object, int bytes, LPVOID buffer) {
    Palette* palette = FindPalette(object);
    if (!palette) {
        return 0;
    }
    if (!buffer) {
        return sizeof(WORD);
    }
    if (bytes < static_cast<int>(sizeof(WORD))) {
        return 0;
    }
    WORD count = static_cast<WORD>(palette->entries.size());
    std::memcpy(buffer, &count, sizeof count);
    return sizeof(WORD);
}

int SetDIBitsToDevice(HDC deviceContext, int xDest, int yDest, DWORD width, DWORD height, int xSrc,
                      int ySrc, UINT startScan, UINT scanLines, LPCVOID bits,
                      const BITMAPINFO* info, UINT colorUse) {
    const BYTE* block = nullptr;
    std::size_t room = 0;
    if (!info || !bits) {
        return 0;
    }
    if (!compat::FindLockedBlock(info, &block, &room) || room < sizeof(DWORD)) {
        compat::ReportViolation("SetDIBitsToDevice: the header is not inside a locked block");
        return 0;
    }
    DWORD headerSize;
    std::memcpy(&headerSize, info, sizeof headerSize);
    if (headerSize < sizeof(BITMAPINFOHEADER)) {
        return 0; // the picture code only ever hands over 40-byte headers
    }
    if (headerSize > room) {
        compat::ReportViolation("SetDIBitsToDevice: header of %u bytes, %zu in the block",
                                static_cast<unsigned>(headerSize), room);
        return 0;
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, info, sizeof h);
    if (colorUse != DIB_RGB_COLORS || !DrawableFormat(h)) {
        return 0;
    }

    // Masks sit right after the 40-byte part, whatever the header's size;
    // a colour table right after the header.
    std::uint64_t colourEnd = headerSize;
    if (h.biCompression == BI_BITFIELDS) {
        colourEnd = sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD);
        if (colourEnd < headerSize) {
            colourEnd = headerSize;
        }
    } else if (h.biBitCount <= 8) {
        std::uint64_t colours = 1u << h.biBitCount;
        if (h.biClrUsed != 0 && h.biClrUsed < colours) {
            colours = h.biClrUsed;
        }
        colourEnd = headerSize + colours * sizeof(RGBQUAD);
    }
    if (colourEnd > room) {
        compat::ReportViolation(
            "SetDIBitsToDevice: colour table or masks end at %llu, block at %zu",
            static_cast<unsigned long long>(colourEnd), room);
        return 0;
    }

    std::uint64_t rows = h.biHeight < 0 ? 0 - static_cast<std::int64_t>(h.biHeight) : h.biHeight;
    std::uint64_t lines = 0; // rows taken from `bits`
    std::uint64_t reached = 0;
    if (h.biCompression == BI_RLE4 || h.biCompression == BI_RLE8) {
        lines = scanLines ? rows : 0;
        reached = scanLines ? h.biSizeImage : 0;
    } else if (scanLines != 0 && startScan < rows) {
        std::uint64_t available = h.biHeight < 0 ? rows : rows - startScan;
        lines = scanLines < available ? scanLines : available;
        reached = lines * Stride(static_cast<std::uint64_t>(h.biWidth), h.biBitCount);
    }
    const BYTE* bitsBlock = nullptr;
    if (reached != 0 &&
        (!compat::FindLockedRange(bits, reached, &bitsBlock) || bitsBlock != block)) {
        compat::ReportViolation("SetDIBitsToDevice: %llu pixel bytes do not fit in the block",
                                static_cast<unsigned long long>(reached));
        return 0;
    }

    compat::DrawCall call;
    call.deviceContext = deviceContext;
    call.xDest = xDest;
    call.yDest = yDest;
    call.width = width;
    call.height = height;
    call.xSrc = xSrc;
    call.ySrc = ySrc;
    call.startScan = startScan;
    call.scanLines = scanLines;
    call.header = h;
    call.bitsOffset = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(bits) -
                                               reinterpret_cast<std::uintptr_t>(block));
    call.bytesReached = static_cast<std::size_t>(reached);
    compat::RecordDraw(call);
    return static_cast<int>(lines);
}

// Reads every row of the source, checked and recorded as a draw of them all.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int xSrc, int ySrc, int, int rows,
                  LPCVOID bits, const BITMAPINFO* info, UINT colorUse, DWORD) {
    return SetDIBitsToDevice(dc, x, y, DWORD(width), DWORD(height), xSrc, ySrc, 0,
                             rows > 0 ? UINT(rows) : 0, bits, info, colorUse);
}

namespace compat {
int LivePalettes() {
    return static_cast<int>(palettes().size());
}
} // namespace compat
