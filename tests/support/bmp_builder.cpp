#include "bmp_builder.h"

#include <cstdio>

namespace bmp {
namespace {

constexpr std::uint32_t kBitfields = 3;

std::uint32_t Mix(int x, int y) {
    std::uint32_t v =
        static_cast<std::uint32_t>(x) * 2654435761u ^ (static_cast<std::uint32_t>(y) + 1) * 40503u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    v ^= v >> 15;
    return v;
}

// Which corner (0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right) the
// pixel is, or -1. Later corners win where the picture is one pixel wide or high.
int Corner(const Options& o, int x, int y) {
    int corner = -1;
    if (x == 0 && y == 0) {
        corner = 0;
    }
    if (x == o.width - 1 && y == 0) {
        corner = 1;
    }
    if (x == 0 && y == o.height - 1) {
        corner = 2;
    }
    if (x == o.width - 1 && y == o.height - 1) {
        corner = 3;
    }
    return corner;
}

std::uint32_t UsableColours(const Options& o) {
    std::uint32_t entries = LayoutOf(o).tableEntries;
    std::uint32_t most = 1u << o.bitCount;
    return entries < most ? entries : most;
}

int IndexAt(const Options& o, int x, int y) {
    std::uint32_t colours = UsableColours(o);
    if (colours == 0) {
        return 0;
    }
    int corner = Corner(o, x, y);
    if (colours >= 4 && corner >= 0) {
        return corner + 1 < static_cast<int>(colours) ? corner + 1 : corner;
    }
    return static_cast<int>(Mix(x, y) % colours);
}

Rgb DirectColour(const Options& o, int x, int y) {
    static const Rgb corners[4] = {{250, 20, 20}, {20, 250, 20}, {20, 20, 250}, {250, 250, 20}};
    int corner = Corner(o, x, y);
    if (corner >= 0) {
        return corners[corner];
    }
    std::uint32_t v = Mix(x, y);
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16)};
}

bool Is565(const Options& o) {
    return o.bitCount == 16 && o.bitfields;
}

std::uint8_t Widen(std::uint32_t value, int bits) {
    std::uint32_t wide = value << (8 - bits);
    return static_cast<std::uint8_t>(wide | wide >> bits);
}

std::uint32_t PixelValue(const Options& o, int x, int y) {
    if (o.bitCount <= 8) {
        return static_cast<std::uint32_t>(IndexAt(o, x, y));
    }
    Rgb c = DirectColour(o, x, y);
    if (o.bitCount == 16) {
        if (Is565(o)) {
            return (c.red >> 3u) << 11 | (c.green >> 2u) << 5 | c.blue >> 3u;
        }
        return (c.red >> 3u) << 10 | (c.green >> 3u) << 5 | c.blue >> 3u;
    }
    if (o.bitCount == 32 && o.bitfields) {
        return c.red | c.green << 8u | static_cast<std::uint32_t>(c.blue) << 16;
    }
    return c.blue | c.green << 8u | static_cast<std::uint32_t>(c.red) << 16;
}

void StorePixel(std::vector<std::uint8_t>& out, std::size_t rowAt, int bitCount, int x,
                std::uint32_t value) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8: {
        std::size_t bit = static_cast<std::size_t>(x) * bitCount;
        int shift = 8 - bitCount - static_cast<int>(bit % 8);
        out[rowAt + bit / 8] |= static_cast<std::uint8_t>(value << shift);
        break;
    }
    case 16:
        PutLe16(out, rowAt + 2 * static_cast<std::size_t>(x), value);
        break;
    case 24:
        out[rowAt + 3 * x] = static_cast<std::uint8_t>(value);
        out[rowAt + 3 * x + 1] = static_cast<std::uint8_t>(value >> 8);
        out[rowAt + 3 * x + 2] = static_cast<std::uint8_t>(value >> 16);
        break;
    default:
        PutLe32(out, rowAt + 4 * static_cast<std::size_t>(x), value);
        break;
    }
}

} // namespace

Layout LayoutOf(const Options& o) {
    Layout l;
    l.headerAt = o.fileHeader ? 14 : 0;
    std::size_t masks = o.bitfields && !o.coreHeader ? 12 : 0;
    l.tableAt = l.headerAt + (o.coreHeader ? 12 : 40) + masks;
    l.tableEntries = o.colours != 0 ? o.colours : o.bitCount <= 8 ? 1u << o.bitCount : 0;
    l.pixelsAt = l.tableAt + l.tableEntries * (o.coreHeader ? 3 : 4) + o.gap;
    l.stride = (static_cast<std::size_t>(o.width) * o.bitCount + 31) / 32 * 4;
    l.size = l.pixelsAt + l.stride * static_cast<std::size_t>(o.height);
    return l;
}

Rgb TableColour(const Options&, int index) {
    return {static_cast<std::uint8_t>(index * 67 + 29), static_cast<std::uint8_t>(index * 151 + 7),
            static_cast<std::uint8_t>(255 - index * 43)};
}

Rgb Expected(const Options& o, int x, int y) {
    if (o.bitCount <= 8) {
        return TableColour(o, IndexAt(o, x, y));
    }
    if (o.bitCount != 16) {
        return DirectColour(o, x, y);
    }
    std::uint32_t v = PixelValue(o, x, y);
    if (Is565(o)) {
        return {Widen(v >> 11, 5), Widen((v >> 5) & 0x3F, 6), Widen(v & 0x1F, 5)};
    }
    return {Widen((v >> 10) & 0x1F, 5), Widen((v >> 5) & 0x1F, 5), Widen(v & 0x1F, 5)};
}

std::vector<std::uint8_t> Build(const Options& o) {
    Layout l = LayoutOf(o);
    std::vector<std::uint8_t> out(l.size, 0);
    if (o.fileHeader) {
        PutLe16(out, 0, 0x4D42);
        PutLe32(out, 2, static_cast<std::uint32_t>(l.size));
        PutLe32(out, 10, o.zeroOffBits ? 0 : static_cast<std::uint32_t>(l.pixelsAt));
    }
    std::size_t h = l.headerAt;
    std::uint32_t pixelBytes = static_cast<std::uint32_t>(l.stride * o.height);
    if (o.coreHeader) {
        PutLe32(out, h, 12);
        PutLe16(out, h + 4, static_cast<std::uint32_t>(o.width));
        PutLe16(out, h + 6, static_cast<std::uint32_t>(o.height));
        PutLe16(out, h + 8, 1);
        PutLe16(out, h + 10, static_cast<std::uint32_t>(o.bitCount));
    } else {
        PutLe32(out, h, 40);
        PutLe32(out, h + 4, static_cast<std::uint32_t>(o.width));
        PutLe32(out, h + 8, static_cast<std::uint32_t>(o.topDown ? -o.height : o.height));
        PutLe16(out, h + 12, 1);
        PutLe16(out, h + 14, static_cast<std::uint32_t>(o.bitCount));
        PutLe32(out, h + 16, o.bitfields ? kBitfields : 0);
        PutLe32(out, h + 20, o.statedSizeImage ? pixelBytes : 0);
        PutLe32(out, h + 24, 2835);
        PutLe32(out, h + 28, 2835);
        PutLe32(out, h + 32, o.colours);
        if (o.bitfields) {
            bool wide = o.bitCount == 32;
            PutLe32(out, h + 40, wide ? 0x000000FFu : 0xF800u);
            PutLe32(out, h + 44, wide ? 0x0000FF00u : 0x07E0u);
            PutLe32(out, h + 48, wide ? 0x00FF0000u : 0x001Fu);
        }
    }
    std::size_t entryBytes = o.coreHeader ? 3 : 4;
    for (std::uint32_t i = 0; i < l.tableEntries; ++i) {
        Rgb c = TableColour(o, static_cast<int>(i));
        std::size_t at = l.tableAt + i * entryBytes;
        out[at] = c.blue;
        out[at + 1] = c.green;
        out[at + 2] = c.red;
    }
    for (std::size_t i = l.pixelsAt - o.gap; i < l.pixelsAt; ++i) {
        out[i] = 0xA5;
    }
    for (int row = 0; row < o.height; ++row) {
        int y = o.topDown ? row : o.height - 1 - row;
        std::size_t rowAt = l.pixelsAt + static_cast<std::size_t>(row) * l.stride;
        for (int x = 0; x < o.width; ++x) {
            StorePixel(out, rowAt, o.bitCount, x, PixelValue(o, x, y));
        }
    }
    return out;
}

void PutLe16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    PutLe16(bytes, at, value);
    PutLe16(bytes, at + 2, value >> 16);
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace bmp
