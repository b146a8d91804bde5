// What a bitmap file's headers become: the block's header, its colour table
// and palette, or a refusal with its reason.
#include "dib_testing.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using R = dib::Refusal;
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

Bytes Stored(const dib::InfoHeader& header) {
    Bytes stored(dib::kInfoHeaderBytes);
    dib::StoreHeader(header, stored.data());
    return stored;
}

TEST(FormatTest, HeadersSettleIntoTheBlocksFormOrAreRefusedWithTheirReason) {
    const std::uint32_t kMost = 0xFFFFFFFFu - 40 - 1024; // pixels in a block of 2^32 - 1
    const struct {
        const char* name;
        Fields in;
        R refusal;
        std::uint32_t sizeImage = 0, clrUsed = 0, paletteBytes = 0; // settled
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
        {"stated size above the rows: kept", {40, 3, 2, 24, 0, 180, 0}, R::None, 180, 0, 0},
        {"bitfields below the rows: enlarged", {40, 3, 2, 16, 3, 5, 0}, R::None, 16, 0, 12},
        {"RLE8 keeps its stated size", {40, 3, 2, 8, 1, 5, 0}, R::None, 5, 256, 1024},
        {"RLE8 without a size: the rows'", {40, 3, 2, 8, 1, 0, 0}, R::None, 8, 256, 1024},
        {"bitfields: masks, then 3 colours", {40, 3, 2, 16, 3, 0, 3}, R::None, 16, 3, 24},
        {"biClrUsed 0x10005: its low 16 bits", {40, 5, 4, 4, 0, 0, 0x10005}, R::None, 16, 5, 20},
        {"biClrUsed 65536 at 24 bits", {40, 3, 2, 24, 0, 0, 65536}, R::None, 24, 0, 0},
        {"16383 colours", {40, 3, 2, 24, 0, 0, 16383}, R::None, 24, 16383, 65532},
        {"bitfields, 16380 colours", {40, 3, 2, 16, 3, 0, 16380}, R::None, 16, 16380, 65532},
        {"block of 2^32 - 1 bytes", {40, 4, 2, 8, 0, kMost, 0}, R::None, kMost, 256, 1024},
        {"39 header bytes", {40, 3, 2, 24, 0, 0, 0, true, 53}, R::HeaderTooShort},
        {"file header, 39 header bytes", {40, 3, 2, 24, 0, 0, 0, false, 53}, R::HeaderTooShort},
        {"core header alone in 22 bytes", {12, 3, 2, 8, 0, 0, 0, true, 36}, R::HeaderTooShort},
        {"header size 108", {108, 3, 2, 24, 0, 0, 0}, R::HeaderSizeNotSupported},
        {"header size 124", {124, 3, 2, 24, 0, 0, 0}, R::HeaderSizeNotSupported},
        {"header size 0", {0, 3, 2, 24, 0, 0, 0}, R::HeaderSizeNotSupported},
        {"width -5", {40, -5, 2, 24, 0, 0, 0}, R::NegativeWidth},
        {"width -2^31, 1 bit, 1 row", {40, INT32_MIN, 1, 1, 0, 0, 0}, R::NegativeWidth},
        {"height -2^31", {40, 0, INT32_MIN, 24, 0, 0, 0}, R::HeightTooLarge},
        {"65536 x 65536 x 24: 0 if wrapped", {40, 65536, 65536, 24, 0, 0, 0}, R::SizeOverflow},
        {"core 65535 x 65535 x 24", {12, 65535, 65535, 24, 0, 0, 0}, R::SizeOverflow},
        {"a row of 2^36 bits", {40, INT32_MAX, 1, 32, 0, 0, 0}, R::SizeOverflow},
        {"a row past 2^32 bits by padding", {40, INT32_MAX, 1, 2, 0, 0, 4}, R::SizeOverflow},
        {"block of 2^32 bytes", {40, 4, 2, 8, 0, kMost + 1, 0}, R::SizeOverflow},
        {"8 bits, biClrUsed 65536", {40, 4, 2, 8, 0, 0, 65536}, R::NoColourTable},
        {"2 bits, biClrUsed 0", {40, 4, 2, 2, 0, 0, 0}, R::NoColourTable},
        {"16384 colours", {40, 3, 2, 24, 0, 0, 16384}, R::ColourTableTooLarge},
        {"bitfields, 16381 colours", {40, 3, 2, 16, 3, 0, 16381}, R::ColourTableTooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes front = Front(c.in);
        dib::Layout l;
        ASSERT_EQ(c.refusal, dib::ReadHeaders(front.data(), front.size(), &l));
        if (c.refusal == R::None) {
            Bytes stored = Stored(l.header);
            std::uint32_t blockBytes = 0;
            EXPECT_TRUE(dib::BlockBytes(stored.data(), &blockBytes));
            EXPECT_EQ((std::vector<std::uint32_t>{
                          c.sizeImage, c.clrUsed, c.paletteBytes, 14 + c.in.size,
                          c.in.size == 12 ? 3 * c.clrUsed : c.paletteBytes, 1234, c.in.size == 12}),
                      (std::vector<std::uint32_t>{l.header.sizeImage, l.header.clrUsed,
                                                  dib::PaletteBytes(stored.data()), l.tableAt,
                                                  l.tableBytes, l.bitsOffset, l.tripleEntries}))
                << "biSizeImage, biClrUsed, PaletteBytes; the file's table: offset, bytes, "
                   "triples; bits offset";
        }
    }
}

TEST(FormatTest, CoreHeaderTakesTheFortyByteFormAndAnInfoHeaderKeepsItsFields) {
    dib::Layout l;
    Bytes core = Front({12, 0xFFFF, 0x8001, 8, 0, 0, 0});
    ASSERT_EQ(R::None, dib::ReadHeaders(core.data(), core.size(), &l));
    EXPECT_EQ(Stored({40, 65535, 32769, 1, 8, 0, 65536u * 32769, 0, 0, 256, 256}),
              Stored(l.header));
    Bytes info = Front({40, 3, -2, 8, 1, 6, 5});
    ASSERT_EQ(R::None, dib::ReadHeaders(info.data(), info.size(), &l));
    EXPECT_EQ(Bytes(info.begin() + 14, info.end()), Stored(l.header)) << "as the file has it";
    // Without a file header, the colour table follows the header at once.
    core = Front({12, 3, 2, 8, 0, 0, 0, true});
    ASSERT_EQ(R::None, dib::ReadHeaders(core.data(), core.size(), &l));
    EXPECT_EQ(12u, l.tableAt);
    EXPECT_EQ(0u, l.bitsOffset);
}

// The palette description that a picture file's block gives.
Bytes Description(const bmp::Options& o) {
    Bytes file = bmp::Build(o), description;
    dib::Layout l;
    if (dib::ReadHeaders(file.data(), file.size(), &l) == R::None) {
        Bytes block = dibtest::BlockOf(file, l);
        description.resize(dib::PaletteDescriptionBytes(dib::PaletteEntries(block.data())));
        dib::FillPaletteDescription(block.data(), description.data());
    }
    return description;
}

TEST(FormatTest, PaletteIsTheColourTableInOrder) {
    const struct {
        const char* name;
        bmp::Options o;
        int entries;
    } cases[] = {
        {"8 bits", Pic(8), 256},
        {"4 bits, 5 colours", Pic(4, "5 colours"), 5},
        {"core header: triples widened in order", Pic(8, "core"), 256},
        {"bitfields and a table: the table after the masks", Pic(16, "bitfields 5 colours"), 5},
        {"24 bits with a table: not the cube", Pic(24, "5 colours"), 5},
        {"16 bits: none", Pic(16), 0},
        {"32-bit bitfields: none", Pic(32, "bitfields"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes d = Description(c.o);
        ASSERT_EQ(8u + 4 * c.entries, d.size());
        EXPECT_EQ((Bytes{0, 3, std::uint8_t(c.entries), std::uint8_t(c.entries >> 8)}),
                  Bytes(d.begin(), d.begin() + 4));
        for (int i = 0; i < c.entries; ++i) {
            bmp::Rgb want = bmp::TableColour(c.o, i);
            ASSERT_EQ((Bytes{want.red, want.green, want.blue, 0}),
                      Bytes(&d[4 + 4 * i], &d[8 + 4 * i]))
                << "entry " << i;
        }
    }
}

TEST(FormatTest, TwentyFourBitPicturesGetTheColourCube) {
    Bytes d = Description(Pic(24));
    ASSERT_EQ(8u + 4 * 256, d.size());
    const std::uint8_t telling[][4] = {{0, 0, 0, 0},        {1, 32, 0, 0},     {7, 224, 0, 0},
                                       {8, 0, 32, 0},       {63, 224, 224, 0}, {64, 0, 0, 64},
                                       {255, 224, 224, 192}};
    for (const auto& t : telling) {
        EXPECT_EQ((Bytes{t[1], t[2], t[3], 0}), Bytes(&d[4 + 4 * t[0]], &d[8 + 4 * t[0]]))
            << "entry " << int(t[0]);
    }
}

} // namespace
