// What a file's bytes become: the block's header, colour table, rows and
// palette, or a refusal with its reason.
#include "dib_testing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using R = dib::Refusal;
using dibtest::Block;
using dibtest::Bytes;
using dibtest::Pic;

struct Fields {
    std::uint32_t size; // 12: a core header, with width and height in 16 bits
    std::int64_t width, height;
    std::uint32_t bitCount, compression, sizeImage, clrUsed;
    bool bare = false;    // no file header
    std::size_t cut = 54; // bytes of a front with a file header kept
};

// A file's first bytes as the reader takes them, with bfOffBits 1234 and
// filler after a core header for the reader to ignore.
Bytes Front(const Fields& f) {
    Bytes front(54, 0xEE);
    bmp::PutLe16(front, 0, 0x4D42);
    bmp::PutLe32(front, 10, 1234);
    auto width = static_cast<std::uint32_t>(f.width), height = static_cast<std::uint32_t>(f.height);
    const std::uint32_t core[] = {f.size, 0, width, height, 1, f.bitCount};
    const std::uint32_t info[] = {
        f.size, width,     height, 1 | f.bitCount << 16, f.compression, f.sizeImage, 2835,
        3780,   f.clrUsed, 7};
    for (std::size_t i = 0; i < (f.size == 12 ? 6 : 10); ++i) {
        f.size == 12 ? bmp::PutLe16(front, 14 + 2 * i, core[i])
                     : bmp::PutLe32(front, 14 + 4 * i, info[i]);
    }
    return Bytes(front.begin() + (f.bare ? 14 : 0), front.begin() + static_cast<long>(f.cut));
}

TEST(FormatTest, HeadersSettleIntoTheBlocksFormOrAreRefusedWithTheirReason) {
    const std::uint32_t kMost = 0xFFFFFFFFu - 40 - 1024; // pixels in a block of 2^32 - 1
    const struct {
        const char* name;
        Fields in;
        R refusal;
        std::uint32_t sizeImage = 0, clrUsed = 0, tableBytes = 0; // settled
    } cases[] = {
        {"core, 1 bit, 13 x 9", {12, 13, 9, 1, 0, 0, 0}, R::None, 36, 2, 8},
        {"core, 24 bits: no table", {12, 13, 3, 24, 0, 0, 0}, R::None, 120, 0, 0},
        {"8 bits, biClrUsed 0; rows of 32 bits", {40, 4, 2, 8, 0, 0, 0}, R::None, 8, 256, 1024},
        {"4 bits, biClrUsed 0", {40, 5, 4, 4, 0, 0, 0}, R::None, 16, 16, 64},
        {"4 bits, biClrUsed 5", {40, 5, 4, 4, 0, 0, 5}, R::None, 16, 5, 20},
        {"1 bit, 33 wide: rows of 8 bytes", {40, 33, 1, 1, 0, 0, 0}, R::None, 8, 2, 8},
        {"24 bits, 3 x 2, biSizeImage 0", {40, 3, 2, 24, 0, 0, 0}, R::None, 24, 0, 0},
        {"24 bits with 16 entries", {40, 3, 2, 24, 0, 0, 16}, R::None, 24, 16, 64},
        {"top-down, biSizeImage 0", {40, 3, -2, 24, 0, 0, 0}, R::None, 24, 0, 0},
        {"stated size below the rows: enlarged", {40, 3, 2, 24, 0, 5, 0}, R::None, 24, 0, 0},
        {"stated size above: the rows'", {40, 3, 2, 24, 0, 0xFFFFFF00, 0}, R::None, 24, 0, 0},
        {"bitfields below the rows: enlarged", {40, 3, 2, 16, 3, 5, 0}, R::None, 16, 0, 12},
        {"RLE8 keeps its stated size", {40, 3, 2, 8, 1, 5, 0}, R::None, 5, 256, 1024},
        {"RLE8 without a size: the rows'", {40, 3, 2, 8, 1, 0, 0}, R::None, 8, 256, 1024},
        {"bitfields: masks, then 3 colours", {40, 3, 2, 16, 3, 0, 3}, R::None, 16, 3, 24},
        {"biClrUsed 0x10005: its low 16 bits", {40, 5, 4, 4, 0, 0, 0x10005}, R::None, 16, 5, 20},
        {"biClrUsed 65536 at 24 bits", {40, 3, 2, 24, 0, 0, 65536}, R::None, 24, 0, 0},
        {"16383 colours", {40, 3, 2, 24, 0, 0, 16383}, R::None, 24, 16383, 65532},
        {"bitfields, 16380 colours", {40, 3, 2, 16, 3, 0, 16380}, R::None, 16, 16380, 65532},
        {"RLE8 block of 2^32 - 1 bytes", {40, 4, 2, 8, 1, kMost, 0}, R::None, kMost, 256, 1024},
        {"13 bytes", {40, 3, 2, 24, 0, 0, 0, true, 27}, R::HeaderTooShort},
        {"39 header bytes", {40, 3, 2, 24, 0, 0, 0, true, 53}, R::HeaderTooShort},
        {"file header, 39 header bytes", {40, 3, 2, 24, 0, 0, 0, false, 53}, R::HeaderTooShort},
        {"core header alone in 22 bytes", {12, 3, 2, 8, 0, 0, 0, true, 36}, R::HeaderTooShort},
        {"header size 100", {100, 3, 2, 24, 0, 0, 0}, R::HeaderSizeNotSupported},
        {"header size 0", {0, 3, 2, 24, 0, 0, 0}, R::HeaderSizeNotSupported},
        {"width -5", {40, -5, 2, 24, 0, 0, 0}, R::NegativeWidth},
        {"width -2^31, 1 bit, 1 row", {40, INT32_MIN, 1, 1, 0, 0, 0}, R::NegativeWidth},
        {"height -2^31", {40, 0, INT32_MIN, 24, 0, 0, 0}, R::HeightTooLarge},
        {"65536 x 65536 x 24: 0 if wrapped", {40, 65536, 65536, 24, 0, 0, 0}, R::SizeOverflow},
        {"core 65535 x 65535 x 24", {12, 65535, 65535, 24, 0, 0, 0}, R::SizeOverflow},
        {"a row of 2^36 bits", {40, INT32_MAX, 1, 32, 0, 0, 0}, R::SizeOverflow},
        {"a row past 2^32 bits by padding", {40, INT32_MAX, 1, 2, 0, 0, 4}, R::SizeOverflow},
        {"RLE8 block of 2^32 bytes", {40, 4, 2, 8, 1, kMost + 1, 0}, R::SizeOverflow},
        {"8 bits, biClrUsed 65536", {40, 4, 2, 8, 0, 0, 65536}, R::NoColourTable},
        {"2 bits, biClrUsed 0", {40, 4, 2, 2, 0, 0, 0}, R::NoColourTable},
        {"16384 colours", {40, 3, 2, 24, 0, 0, 16384}, R::ColourTableTooLarge},
        {"bitfields, 16381 colours", {40, 3, 2, 16, 3, 0, 16381}, R::ColourTableTooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes front = Front(c.in);
        dib::Layout l;
        ASSERT_EQ(c.refusal, dib::ReadFront(front.data(), front.size(), &l));
        if (c.refusal == R::None) {
            EXPECT_EQ(c.sizeImage, l.header.sizeImage);
            EXPECT_EQ(c.clrUsed, l.header.clrUsed);
            EXPECT_EQ(40 + c.tableBytes + std::uint64_t{c.sizeImage}, l.blockBytes);
        }
    }
}

// The same picture with any later header, as the rows and colours it shows.
TEST(FormatTest, LaterHeadersGiveTheBlockOfAFortyByteHeaderOrTheirReason) {
    const std::uint32_t kAsBuilt = 99;
    const struct {
        const char* name;
        bmp::Options o;
        std::uint32_t compression = kAsBuilt; // else written over the built one
        R refusal = R::None;
    } cases[] = {
        {"OS/2, 16 bytes, 8 bits", Pic(8, "header 16")},
        {"OS/2, 64 bytes, 24 bits", Pic(24, "header 64 top-down")},
        {"52 bytes, 16-bit bitfields", Pic(16, "header 52 bitfields")},
        {"108 bytes, masks and colours", Pic(16, "header 108 bitfields 5 colours")},
        {"124 bytes, RLE8, colours", Pic(8, "header 124 rle")},
        {"108 bytes, RLE4, 5 colours", Pic(4, "header 108 rle 5 colours")},
        {"124 bytes, 24 bits, no file header", Pic(24, "header 124 bare")},
        {"124 bytes, 32-bit BI_RGB: no alpha", Pic(32, "header 124 bitfields alpha"), 0},
        {"124 bytes, BI_ALPHABITFIELDS", Pic(32, "header 124 bitfields"), 6},
        {"OS/2 Huffman", Pic(1, "header 64"), 3, R::CompressionNotShown},
        {"JPEG inside", Pic(24, "header 124"), 4, R::CompressionNotShown},
        {"24-bit bitfields", Pic(24, "header 108"), 3, R::BitCountNotShown},
        {"RLE8 at 4 bits", Pic(4, "header 108"), 1, R::BitCountNotShown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bmp::Options o40 = c.o;
        o40.headerSize = 40;
        Bytes file = bmp::Build(c.o), file40 = bmp::Build(o40);
        if (c.compression != kAsBuilt) {
            bmp::PutLe32(file, 14 + 16, c.compression);
            bmp::PutLe32(file40, 14 + 16, c.compression == 6 ? 3 : c.compression);
        }
        R why = R::None;
        Bytes block = Block(file, &why);
        EXPECT_EQ(c.refusal, why);
        if (c.refusal == R::None) {
            EXPECT_TRUE(dibtest::SameBytes(Block(file40), block));
        }
    }
    Bytes cut = bmp::Build(Pic(24, "header 124"));
    cut.resize(14 + 123);
    R why = R::None;
    Block(cut, &why);
    EXPECT_EQ(R::HeaderTooShort, why) << "cut within";
}

TEST(FormatTest, ShortFilesGiveZerosForWhatIsMissing) {
    const struct {
        const char* name;
        bmp::Options o;
        std::size_t keep, zerosFrom; // bytes of the file; where in the block zeros start
    } cases[] = {
        {"colour table cut within entry 100", Pic(8), 54 + 4 * 100 + 2, 40 + 4 * 100 + 2},
        {"core table cut within entry 100", Pic(8, "core"), 26 + 3 * 100 + 2, 40 + 4 * 100 + 2},
        {"pixels cut within the first row", Pic(24, "", 100, 50), 54 + 17, 40 + 17},
        {"pixels cut after a gap", Pic(8, "gap"), 54 + 1024 + 37 + 3, 40 + 1024 + 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes whole = Block(bmp::Build(c.o)), file = bmp::Build(c.o);
        file.resize(c.keep);
        Bytes block = Block(file);
        ASSERT_EQ(whole.size(), block.size());
        EXPECT_TRUE(dibtest::SameBytes(Bytes(whole.begin(), whole.begin() + c.zerosFrom),
                                       Bytes(block.begin(), block.begin() + c.zerosFrom)));
        EXPECT_EQ(block.end(), std::find_if(block.begin() + c.zerosFrom, block.end(),
                                            [](std::uint8_t b) { return b != 0; }))
            << "a byte not zero";
    }
}

// The first `keep` bytes of a PNG of 32768 x (32768 + `taller`): its size big-endian.
Bytes Png(std::uint8_t taller, std::size_t keep = 24) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0,    13,
               'I',  'H', 'D', 'R', 0,    0,    0x80, 0,    0, 0, 0x80, taller};
    return Bytes(b.begin(), b.begin() + static_cast<long>(keep));
}

// A GIF8?a's first bytes: its size little-endian.
Bytes Gif(char version, std::uint32_t width, std::uint32_t height) {
    Bytes b = {'G', 'I', 'F', '8', std::uint8_t(version), 'a', 0, 0, 0, 0, 0, 0, 0, 0};
    bmp::PutLe16(b, 6, width);
    bmp::PutLe16(b, 8, height);
    return b;
}

TEST(FormatTest, PicturesAreKnownBySignatureAndTheirStatedSizeCheckedFirst) {
    using K = dib::Kind;
    const struct {
        const char* name;
        Bytes front;
        K kind;
        R refusal = R::None;
    } cases[] = {
        {"PNG 32768 x 32768", Png(0), K::Png},
        {"PNG 32768 x 32769", Png(1), K::Png, R::PictureTooLarge},
        {"PNG cut within its size", Png(0, 23), K::Png, R::HeaderTooShort},
        {"GIF89a 32768 x 32768", Gif('9', 32768, 32768), K::Gif},
        {"GIF87a 32769 wide", Gif('7', 32769, 0), K::Gif, R::PictureTooLarge},
        {"JPEG: its size comes later", {255, 216, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, K::Jpeg},
        {"GIF88a: a bitmap", Gif('8', 256, 256), K::Bitmap, R::HeaderTooShort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dib::Layout l;
        EXPECT_EQ(c.refusal, dib::ReadFront(c.front.data(), c.front.size(), &l));
        EXPECT_EQ(c.kind, l.kind);
    }
    dib::InfoHeader h;
    std::uint32_t bytes = 0;
    EXPECT_EQ(R::None, dib::DecodedHeader(32768, 32768, &h, &bytes));
    EXPECT_EQ(R::PictureTooLarge, dib::DecodedHeader(32769, 1, &h, &bytes));
}

// Alpha blends over the background, rounded; a 32-bit picture's alpha is
// scaled to 8 bits and taken only when any pixel has some. (Pixel-exact
// blending of whole pictures shows under Wine.)
TEST(FormatTest, AlphaBlendsOverTheBackgroundScaledToEightBitsWhenAnyPixelHasIt) {
    const std::uint8_t cases[][4] = {// colour, alpha, background: blended
                                     {200, 255, 17, 200}, {200, 0, 17, 17}, {200, 128, 100, 150},
                                     {255, 1, 0, 1},      {0, 254, 255, 1}, {255, 128, 0, 128},
                                     {0, 127, 255, 128}};
    for (const auto& c : cases) {
        EXPECT_EQ(c[3], dib::Blend(c[0], c[1], c[2])) << int(c[0]) << " " << int(c[1]);
    }
    // Pixels in blue, green, red order; the background as 0x00BBGGRR.
    const std::uint8_t bgra[] = {10, 20, 30, 255, 10, 20, 30, 0};
    std::uint8_t bgr[6];
    dib::BlendRow(bgra, 2, 0x00030201, bgr);
    EXPECT_EQ((Bytes{10, 20, 30, 3, 2, 1}), Bytes(bgr, bgr + 6));
    Bytes file = bmp::Build(Pic(32, "header 124 bitfields alpha", 3, 1));
    for (std::size_t i = 0; i < 3; ++i) {
        bmp::PutLe32(file, file.size() - 12 + 4 * i, 0x00FFFFFF); // no pixel with alpha
    }
    Bytes unblended = Block(file);
    EXPECT_TRUE(dibtest::SameBytes(Bytes(file.end() - 12, file.end()),
                                   Bytes(unblended.end() - 12, unblended.end())))
        << "writers that fill no alpha meant none";
    // 10-10-10-2 masks; full red, opaque; half red and blue, alpha 1 of 3; nothing.
    const std::uint32_t masks[] = {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000};
    const std::uint32_t pixels[] = {0xFFF00000, 0x60000200, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        bmp::PutLe32(file, 14 + 40 + 4 * i, masks[i]);
        bmp::PutLe32(file, file.size() - 12 + 4 * (i % 3), pixels[i % 3]);
    }
    Bytes block = Block(file);
    std::uint8_t b = dib::Blend(128, 85, 0xC0), g = dib::Blend(0, 85, 0xC0);
    std::uint8_t r = dib::Blend(128, 85, 0xC0);
    EXPECT_EQ((Bytes{0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0,    0,    0,
                     0, 0, 255,  0, b, g,    r, 0, 0xC0, 0xC0, 0xC0, 0}),
              Bytes(block.end() - 24, block.end()));
}

TEST(FormatTest, PaletteIsTheColourTableInOrderOrTheCubeOfTwentyFourBits) {
    const struct {
        const char* name;
        bmp::Options o;
        int entries;
    } cases[] = {
        {"8 bits", Pic(8), 256},
        {"4 bits, 5 colours", Pic(4, "5 colours"), 5},
        {"core header: triples widened in order", Pic(8, "core"), 256},
        {"core header without a file header", Pic(4, "core bare"), 16},
        {"bitfields and a table: the table after the masks", Pic(16, "bitfields 5 colours"), 5},
        {"24 bits with a table: not the cube", Pic(24, "5 colours"), 5},
        {"16 bits: none", Pic(16), 0},
        {"32-bit bitfields: none", Pic(32, "bitfields"), 0},
        {"24 bits: 8 reds, 8 greens, 4 blues", Pic(24), 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes block = Block(bmp::Build(c.o));
        ASSERT_FALSE(block.empty());
        Bytes d(dib::PaletteDescriptionBytes(dib::PaletteEntries(block.data())));
        dib::FillPaletteDescription(block.data(), d.data());
        ASSERT_EQ(8u + 4 * c.entries, d.size());
        EXPECT_EQ((Bytes{0, 3, std::uint8_t(c.entries), std::uint8_t(c.entries >> 8)}),
                  Bytes(d.begin(), d.begin() + 4));
        for (int i = 0; i < c.entries; ++i) {
            bmp::Rgb want = bmp::TableColour(c.o, i);
            if (c.o.bitCount == 24 && c.o.colours == 0) {
                want = {std::uint8_t(i % 8 * 32), std::uint8_t(i / 8 % 8 * 32),
                        std::uint8_t(i / 64 * 64)};
            }
            ASSERT_EQ((Bytes{want.red, want.green, want.blue, 0}),
                      Bytes(&d[4 + 4 * i], &d[8 + 4 * i]))
                << "entry " << i;
        }
    }
}

} // namespace
