#include "bmp_builder.h"

#include <algorithm>
#include <cstdio>

namespace bmp {
namespace {

// Palette indices, or direct colours with blue in the low byte (red with
// 32-bit bitfields), as stored.
std::uint32_t PixelValue(const Options& o, int x, int y) {
    std::uint32_t v =
        static_cast<std::uint32_t>(x) * 2654435761u ^ (static_cast<std::uint32_t>(y) + 1) * 40503u;
    v = (v ^ v >> 13) * 0x5bd1e995u;
    v ^= v >> 15;
    if (o.bitCount > 8) {
        std::uint32_t alpha = o.alpha ? std::uint32_t{Alpha(x, y)} << 24 : 0;
        return (v & (o.bitCount == 16 ? (o.bitfields ? 0xFFFF : 0x7FFF) : 0xFFFFFF)) | alpha;
    }
    std::uint32_t usable = LayoutOf(o).tableEntries;
    usable = usable < (1u << o.bitCount) ? usable : 1u << o.bitCount;
    return usable ? v % usable : 0;
}

std::uint8_t Widen(std::uint32_t value, int bits) {
    std::uint32_t wide = (value & ((1u << bits) - 1)) << (8 - bits);
    return static_cast<std::uint8_t>(wide | wide >> bits);
}

} // namespace

Layout LayoutOf(const Options& o) {
    Layout l;
    l.headerAt = o.fileHeader ? 14 : 0;
    l.tableAt = l.headerAt + (o.coreHeader ? 12 : o.headerSize) +
                (o.bitfields && o.headerSize == 40 ? 12 : 0);
    l.tableEntries = o.colours != 0 ? o.colours : o.bitCount <= 8 ? 1u << o.bitCount : 0;
    l.pixelsAt = l.tableAt + l.tableEntries * (o.coreHeader ? 3 : 4) + o.gap;
    l.stride = o.rle ? 0 : (static_cast<std::size_t>(o.width) * o.bitCount + 31) / 32 * 4;
    // Encoded: two bytes a pixel, each row's end, the picture's end.
    std::size_t rows = o.rle ? 2 * (o.width + 1) : l.stride;
    l.size = l.pixelsAt + rows * static_cast<std::size_t>(o.height) + (o.rle ? 2 : 0);
    return l;
}

Rgb TableColour(const Options&, int index) {
    return {static_cast<std::uint8_t>(index * 67 + 29), static_cast<std::uint8_t>(index * 151 + 7),
            static_cast<std::uint8_t>(255 - index * 43)};
}

Rgb Expected(const Options& o, int x, int y) {
    std::uint32_t v = PixelValue(o, x, y);
    if (o.bitCount <= 8) {
        return TableColour(o, static_cast<int>(v));
    }
    if (o.bitCount == 16) {
        int green = o.bitfields ? 6 : 5;
        return {Widen(v >> (5 + green), 5), Widen(v >> 5, green), Widen(v, 5)};
    }
    auto byte = [v](int i) { return static_cast<std::uint8_t>(v >> 8 * i); };
    return o.bitCount == 32 && o.bitfields ? Rgb{byte(0), byte(1), byte(2)}
                                           : Rgb{byte(2), byte(1), byte(0)};
}

std::vector<std::uint8_t> Build(const Options& o) {
    Layout l = LayoutOf(o);
    std::vector<std::uint8_t> out(l.size, 0);
    if (o.fileHeader) {
        PutLe16(out, 0, 0x4D42);
        PutLe32(out, 2, static_cast<std::uint32_t>(l.size));
        PutLe32(out, 10, static_cast<std::uint32_t>(l.pixelsAt));
    }
    std::size_t h = l.headerAt;
    auto width = static_cast<std::uint32_t>(o.width), bits = static_cast<std::uint32_t>(o.bitCount);
    auto height = static_cast<std::uint32_t>(o.topDown ? -o.height : o.height);
    if (o.coreHeader) {
        const std::uint32_t core[] = {12, 0, width, height, 1, bits};
        for (std::size_t i = 0; i < 6; ++i) {
            PutLe16(out, h + 2 * i, core[i]);
        }
    } else {
        bool wide = o.bitCount == 32;
        std::uint32_t red = wide ? 0xFF : 0xF800, green = wide ? 0xFF00 : 0x07E0;
        std::uint32_t blue = wide ? 0xFF0000 : 0x001F, compression = o.bitfields ? 3 : 0;
        auto sizeImage = static_cast<std::uint32_t>(o.statedSizeImage ? l.size - l.pixelsAt : 0);
        compression = o.rle ? (o.bitCount == 8 ? 1 : 2) : compression;
        // No resolution, as OS/2's shortest header, which has no field for it.
        std::uint32_t alpha = o.alpha ? 0xFF000000 : 0;
        const std::uint32_t info[] = {o.headerSize, width, height, 1 | bits << 16, compression,
                                      sizeImage,    0,     0,      o.colours,      0,
                                      red,          green, blue,   alpha};
        std::size_t fields = o.headerSize == 16 ? 4 : o.bitfields ? 13 + (o.headerSize > 52) : 10;
        for (std::size_t i = 0; i < fields; ++i) {
            PutLe32(out, h + 4 * i, info[i]);
        }
    }
    for (std::uint32_t i = 0; i < l.tableEntries; ++i) {
        Rgb c = TableColour(o, static_cast<int>(i));
        std::size_t at = l.tableAt + i * (o.coreHeader ? 3 : 4);
        out[at] = c.blue;
        out[at + 1] = c.green;
        out[at + 2] = c.red;
    }
    std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(l.pixelsAt - o.gap), o.gap, 0xA5);
    for (int row = 0; o.rle && row < o.height; ++row) {
        std::size_t rowAt = l.pixelsAt + static_cast<std::size_t>(row) * 2 * (o.width + 1);
        for (int x = 0; x < o.width; ++x) {
            out[rowAt + 2 * x] = 1;
            auto v = static_cast<std::uint8_t>(PixelValue(o, x, o.height - 1 - row));
            out[rowAt + 2 * x + 1] = o.bitCount == 8 ? v : static_cast<std::uint8_t>(v << 4);
        }
    }
    if (o.rle) {
        out.back() = 1; // the picture's end after the last row's
    }
    for (int row = 0; !o.rle && row < o.height; ++row) {
        std::size_t rowAt = l.pixelsAt + static_cast<std::size_t>(row) * l.stride;
        for (int x = 0; x < o.width; ++x) {
            std::uint32_t v = PixelValue(o, x, o.topDown ? row : o.height - 1 - row);
            std::size_t bit = static_cast<std::size_t>(x) * bits, at = rowAt + bit / 8;
            if (o.bitCount <= 8) {
                out[at] |= static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
            }
            for (std::size_t b = 0; o.bitCount > 8 && b < bits / 8; ++b) {
                out[at + b] = static_cast<std::uint8_t>(v >> 8 * b);
            }
        }
    }
    return out;
}

std::uint8_t Alpha(int x, int y) {
    // 0 and 255 among them, and values between.
    return static_cast<std::uint8_t>(x * 85 ^ y * 51);
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
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return file && std::fclose(file) == 0 && written;
}

} // namespace bmp
