// The picture's palette: its colour table in order, the colour cube for
// 24-bit pictures without one, none otherwise; built once, retried while none.
#include "dib_testing.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
    UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(count);
    if (count != 0) {
        GetPaletteEntries(palette, 0, count, entries.data());
    }
    return entries;
}

class DibPaletteTest : public DibTest {};

TEST_F(DibPaletteTest, ColourTableBecomesThePaletteInOrder) {
    struct Case {
        const char* name;
        bmp::Options options;
        UINT entries;
    };
    bmp::Options core = Opt(8);
    core.coreHeader = true;
    bmp::Options five = Opt(4);
    five.colours = 5;
    bmp::Options table24 = Opt(24);
    table24.colours = 16;
    const Case cases[] = {
        {"8 bits", Opt(8), 256},          {"1 bit", Opt(1), 2},
        {"4 bits, biClrUsed 5", five, 5}, {"24 bits with a 16-entry table", table24, 16},
        {"core header", core, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempPicture picture;
        ASSERT_TRUE(picture.Write(bmp::Build(c.options)));
        DibImageProbe image(picture.Name());
        HPALETTE palette = image.GetPalette();
        ASSERT_NE(nullptr, palette);
        EXPECT_TRUE(image.Unlocked());
        std::vector<PALETTEENTRY> entries = Entries(palette);
        ASSERT_EQ(c.entries, entries.size());
        for (UINT i = 0; i < c.entries; ++i) {
            bmp::Rgb colour = bmp::TableColour(c.options, static_cast<int>(i));
            const PALETTEENTRY& e = entries[i];
            if (e.peRed != colour.red || e.peGreen != colour.green || e.peBlue != colour.blue ||
                e.peFlags != 0) {
                ADD_FAILURE() << "entry " << i << " is " << int(e.peRed) << "," << int(e.peGreen)
                              << "," << int(e.peBlue) << " flags " << int(e.peFlags);
                break;
            }
        }
        // Kept, not rebuilt.
        EXPECT_EQ(palette, image.GetPalette());
    }
}

TEST_F(DibPaletteTest, TwentyFourBitPicturesGetTheColourCube) {
    TempPicture picture;
    ASSERT_TRUE(picture.Write(bmp::Build(Opt(24))));
    DibImageProbe image(picture.Name());
    std::vector<PALETTEENTRY> entries = Entries(image.GetPalette());
    ASSERT_EQ(256u, entries.size());
    const struct {
        int entry, red, green, blue;
    } telling[] = {{0, 0, 0, 0},      {1, 32, 0, 0},  {7, 224, 0, 0},      {8, 0, 32, 0},
                   {63, 224, 224, 0}, {64, 0, 0, 64}, {255, 224, 224, 192}};
    for (const auto& t : telling) {
        SCOPED_TRACE(t.entry);
        const PALETTEENTRY& e = entries[t.entry];
        EXPECT_EQ(t.red, e.peRed);
        EXPECT_EQ(t.green, e.peGreen);
        EXPECT_EQ(t.blue, e.peBlue);
        EXPECT_EQ(0, e.peFlags);
    }
}

TEST_F(DibPaletteTest, DirectColourPicturesHaveNone) {
    bmp::Options bitfields = Opt(16);
    bitfields.bitfields = true;
    const bmp::Options cases[] = {Opt(16), Opt(32), bitfields};
    for (const bmp::Options& o : cases) {
        SCOPED_TRACE(o.bitCount);
        TempPicture picture;
        ASSERT_TRUE(picture.Write(bmp::Build(o)));
        DibImageProbe image(picture.Name());
        EXPECT_EQ(nullptr, image.GetPalette());
        EXPECT_EQ(nullptr, image.GetPalette());
        int width = 0, height = 0;
        EXPECT_EQ(1, image.GetSize(&width, &height));
    }
}

TEST_F(DibPaletteTest, MissingPictureHasNoPaletteUntilItAppears) {
    TempPicture picture;
    DibImageProbe image(picture.Name());
    EXPECT_EQ(nullptr, image.GetPalette());
    EXPECT_EQ(0, image.Draw(nullptr, 0, 0, 5, 4, 0, 0));
    ASSERT_TRUE(picture.Write(bmp::Build(Opt(8))));
    HPALETTE palette = image.GetPalette();
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(256u, Entries(palette).size());
}

} // namespace
