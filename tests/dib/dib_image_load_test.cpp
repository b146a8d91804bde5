// Reading picture files into the block: the kinds of header, what the block
// holds afterwards, refusals, short files, laziness and the name limit.
#include "dib_testing.h"

#include <cstring>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Patch = void (*)(Bytes& file, const bmp::Layout& layout);

struct LoadCase {
    const char* name;
    bmp::Options options;
    Patch patch;
    DWORD clrUsed;   // in the block's header
    WORD tableBytes; // masks and colour table
    DWORD sizeImage;
};

DWORD Rows(const bmp::Options& o) {
    return static_cast<DWORD>(bmp::LayoutOf(o).stride) * static_cast<DWORD>(o.height);
}

std::vector<LoadCase> LoadCases() {
    std::vector<LoadCase> cases;
    auto add = [&](const char* name, bmp::Options o, DWORD clrUsed, WORD tableBytes,
                   Patch patch = nullptr, DWORD sizeImage = 0) {
        cases.push_back({name, o, patch, clrUsed, tableBytes, sizeImage ? sizeImage : Rows(o)});
    };
    bmp::Options o = Opt(8);
    o.fileHeader = false;
    add("info header without file header", o, 256, 1024);
    o = Opt(4);
    o.zeroOffBits = true;
    add("bfOffBits 0", o, 16, 64);
    o = Opt(8, 7, 3);
    o.gap = 37;
    add("gap before bfOffBits", o, 256, 1024);
    o = Opt(1, 13, 9);
    o.coreHeader = true;
    add("core header, 1 bit", o, 2, 8);
    o = Opt(24, 13, 3);
    o.coreHeader = true;
    o.fileHeader = false;
    add("core header, 24 bits, no file header", o, 0, 0);
    o = Opt(4);
    o.colours = 5;
    add("4 bits, biClrUsed 5", o, 5, 20);
    o = Opt(24, 3, 2);
    o.statedSizeImage = false;
    add("24 bits, biSizeImage 0: rows of 12 bytes", o, 0, 0, nullptr, 24);
    o = Opt(24);
    o.colours = 16;
    add("24 bits with a 16-entry table", o, 16, 64);
    o = Opt(24);
    o.topDown = true;
    add("top-down, biSizeImage stated", o, 0, 0);
    o.statedSizeImage = false;
    add("top-down, biSizeImage 0", o, 0, 0);
    o = Opt(16);
    o.bitfields = true;
    add("16-bit bitfields keep their masks", o, 0, 12);
    o.colours = 3;
    add("16-bit bitfields: masks, then a colour table", o, 3, 24);
    o = Opt(32);
    o.bitfields = true;
    add("32-bit bitfields keep their masks", o, 0, 12);
    add("biClrUsed 65536 at 24 bits: no table", Opt(24), 0, 0,
        [](Bytes& f, const bmp::Layout& l) { bmp::PutLe32(f, l.headerAt + 32, 65536); });
    o = Opt(4);
    o.colours = 5;
    add("biClrUsed 0x10005: its low 16 bits", o, 5, 20,
        [](Bytes& f, const bmp::Layout& l) { bmp::PutLe32(f, l.headerAt + 32, 0x10005); });
    add("biSizeImage smaller than the rows: enlarged", Opt(24), 0, 0,
        [](Bytes& f, const bmp::Layout& l) { bmp::PutLe32(f, l.headerAt + 20, 5); });
    add(
        "biSizeImage larger than the rows: kept", Opt(24), 0, 0,
        [](Bytes& f, const bmp::Layout& l) { bmp::PutLe32(f, l.headerAt + 20, 180); }, 180);
    o = Opt(24, 2, 2);
    o.colours = 16383;
    add("16383 colours: the largest table", o, 16383, 65532);
    return cases;
}

class DibLoadTest : public DibTest {};

TEST_F(DibLoadTest, BlockHoldsHeaderTableAndRows) {
    for (const LoadCase& c : LoadCases()) {
        SCOPED_TRACE(c.name);
        const bmp::Options& o = c.options;
        bmp::Layout layout = bmp::LayoutOf(o);
        Bytes file = bmp::Build(o);
        if (c.patch) {
            c.patch(file, layout);
        }
        TempPicture picture;
        ASSERT_TRUE(picture.Write(file));
        DibImageProbe image(picture.Name());

        int width = -1, height = -1;
        ASSERT_EQ(1, image.GetSize(&width, &height));
        EXPECT_EQ(o.width, width);
        EXPECT_EQ(o.height, height);
        EXPECT_TRUE(image.Unlocked());

        Bytes block = image.BlockBytes();
        ASSERT_GE(block.size(), 40u);
        BITMAPINFOHEADER header;
        std::memcpy(&header, block.data(), sizeof header);
        EXPECT_EQ(40u, header.biSize);
        EXPECT_EQ(o.width, header.biWidth);
        EXPECT_EQ(o.topDown ? -o.height : o.height, header.biHeight);
        EXPECT_EQ(o.bitCount, header.biBitCount);
        EXPECT_EQ(o.bitfields ? DWORD(BI_BITFIELDS) : DWORD(BI_RGB), header.biCompression);
        EXPECT_EQ(c.clrUsed, header.biClrUsed);
        EXPECT_EQ(c.sizeImage, header.biSizeImage);
        EXPECT_EQ(c.tableBytes, DibImageProbe::PaletteBytes(&header));
        ASSERT_EQ(40u + c.tableBytes + c.sizeImage, block.size());
        if (o.coreHeader) {
            EXPECT_EQ(c.clrUsed, header.biClrImportant);
            EXPECT_EQ(0, header.biXPelsPerMeter);
            EXPECT_EQ(0, header.biYPelsPerMeter);
        }

        std::size_t maskBytes = o.bitfields ? 12 : 0;
        EXPECT_EQ(0, std::memcmp(block.data() + 40, file.data() + layout.headerAt + 40, maskBytes))
            << "masks";
        for (DWORD i = 0; i < c.clrUsed; ++i) {
            bmp::Rgb colour = BlockColour(block, 40 + maskBytes, static_cast<int>(i));
            if (colour != bmp::TableColour(o, static_cast<int>(i))) {
                ADD_FAILURE() << "colour entry " << i;
                break;
            }
            EXPECT_EQ(0, block[40 + maskBytes + 4 * i + 3]);
        }
        const std::uint8_t* pixels = block.data() + 40 + c.tableBytes;
        std::size_t fileRows = layout.stride * static_cast<std::size_t>(o.height);
        EXPECT_EQ(0, std::memcmp(pixels, file.data() + layout.pixelsAt, fileRows)) << "pixels";
        for (std::size_t i = fileRows; i < c.sizeImage; ++i) {
            ASSERT_EQ(0, pixels[i]) << "beyond the file at " << i;
        }
    }
}

struct RefusalCase {
    const char* name;
    Bytes file;
};

Bytes Bent(bmp::Options o, std::size_t at, std::uint32_t value, int bytes = 4) {
    Bytes file = bmp::Build(o);
    std::size_t field = bmp::LayoutOf(o).headerAt + at;
    if (bytes == 2) {
        bmp::PutLe16(file, field, value);
    } else {
        bmp::PutLe32(file, field, value);
    }
    return file;
}

std::vector<RefusalCase> RefusalCases() {
    bmp::Options core = Opt(1, 1, 1);
    core.coreHeader = true;
    core.fileHeader = false;
    bmp::Options bitfields = Opt(16, 2, 2);
    bitfields.bitfields = true;
    Bytes withFileHeader = bmp::Build(Opt(24));
    Bytes bigCore = bmp::Build(core);
    bmp::PutLe16(bigCore, 4, 65535);
    bmp::PutLe16(bigCore, 6, 65535);
    bmp::PutLe16(bigCore, 10, 24);
    Bytes huge24 = Bent(Opt(24), 4, 65536);
    bmp::PutLe32(huge24, 14 + 8, 65536);
    bmp::PutLe32(huge24, 14 + 20, 0);
    Bytes noMemory = Bent(Opt(24), 4, 30000);
    bmp::PutLe32(noMemory, 14 + 8, 30000);
    std::vector<RefusalCase> cases = {
        {"header size 108", Bent(Opt(24), 0, 108)},
        {"header size 124", Bent(Opt(24), 0, 124)},
        {"header size 0", Bent(Opt(24), 0, 0)},
        {"empty file", {}},
        {"13 bytes of file header", Bytes(withFileHeader.begin(), withFileHeader.begin() + 13)},
        {"39 header bytes after the file header",
         Bytes(withFileHeader.begin(), withFileHeader.begin() + 14 + 39)},
        {"core header without file header, 22 bytes in all", bmp::Build(core)},
        {"negative width", Bent(Opt(24), 4, static_cast<std::uint32_t>(-5))},
        {"height -2^31", Bent(Opt(24), 8, 0x80000000u)},
        {"24 bits, 65536 x 65536: rows wrap to exactly 0", huge24},
        {"core 65535 x 65535 at 24 bits", bigCore},
        {"width 2^31 - 1 at 32 bits", Bent(Opt(32), 4, 0x7FFFFFFF)},
        {"block size of exactly 2^32", Bent(Opt(8), 20, 0xFFFFFFFFu - 40 - 1024 + 1)},
        {"16384 colours", Bent(Opt(8), 32, 16384)},
        {"bitfields with 16381 colours", Bent(bitfields, 32, 16381)},
        {"biClrUsed 65536 at 8 bits: no table stored", Bent(Opt(8), 32, 65536)},
    };
#ifndef _WIN64
    // Only a 32-bit process is sure to have no 2.7 GB block to give.
    cases.push_back({"30000 x 30000 at 24 bits: no such block", noMemory});
#endif
    return cases;
}

TEST_F(DibLoadTest, UnreadableHeadersGiveNoPicture) {
    for (const RefusalCase& c : RefusalCases()) {
        SCOPED_TRACE(c.name);
        TempPicture picture;
        ASSERT_TRUE(picture.Write(c.file));
        DibImageProbe image(picture.Name());
        int width = -1, height = -1;
        EXPECT_EQ(0, image.GetSize(&width, &height));
        EXPECT_EQ(0, width);
        EXPECT_EQ(0, height);
        EXPECT_EQ(nullptr, image.Block());
        EXPECT_EQ(nullptr, image.GetPalette());
        EXPECT_EQ(0, image.Draw(nullptr, 0, 0, 5, 4, 0, 0));
    }
}

TEST_F(DibLoadTest, ShortFilesLoadWithZerosForWhatIsMissing) {
    struct Case {
        const char* name;
        bmp::Options options;
        std::size_t keep; // bytes of the file kept
    };
    bmp::Options core = Opt(8);
    core.coreHeader = true;
    bmp::Layout info8 = bmp::LayoutOf(Opt(8));
    bmp::Layout core8 = bmp::LayoutOf(core);
    bmp::Layout rgb = bmp::LayoutOf(Opt(24, 100, 50));
    bmp::Layout large = bmp::LayoutOf(Opt(8, 100, 1000));
    const Case cases[] = {
        {"colour table cut after 100.5 entries", Opt(8), info8.tableAt + 4 * 100 + 2},
        {"core colour table cut after 100 entries", core, core8.tableAt + 3 * 100 + 2},
        {"pixels cut within the first row", Opt(24, 100, 50), rgb.pixelsAt + 17},
        {"pixels cut within the third piece", Opt(8, 100, 1000), large.pixelsAt + 70000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes whole = bmp::Build(c.options);
        Bytes file(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.keep));
        TempPicture picture;
        ASSERT_TRUE(picture.Write(file));
        DibImageProbe image(picture.Name());
        int width = 0, height = 0;
        ASSERT_EQ(1, image.GetSize(&width, &height));
        EXPECT_EQ(c.options.width, width);

        // Everything the file held is in place, and the rest of the block is zero.
        Bytes block = image.BlockBytes();
        bmp::Layout l = bmp::LayoutOf(c.options);
        std::size_t tableBytes = 4 * l.tableEntries;
        ASSERT_EQ(40 + tableBytes + l.stride * c.options.height, block.size());
        Bytes expected(block.size(), 0);
        std::memcpy(expected.data(), block.data(), 40);
        std::size_t entryBytes = c.options.coreHeader ? 3 : 4;
        for (std::size_t at = l.tableAt; at < c.keep && at < l.pixelsAt; ++at) {
            std::size_t entry = (at - l.tableAt) / entryBytes, part = (at - l.tableAt) % entryBytes;
            expected[40 + 4 * entry + part] = file[at];
        }
        for (std::size_t at = l.pixelsAt; at < c.keep; ++at) {
            expected[40 + tableBytes + at - l.pixelsAt] = file[at];
        }
        EXPECT_TRUE(expected == block);
    }
}

TEST_F(DibLoadTest, ReadsNothingUntilAskedAndRetriesAfterAMissingFile) {
    Bytes file = bmp::Build(Opt(24));
    {
        SCOPED_TRACE("file removed between construction and first request");
        TempPicture picture;
        ASSERT_TRUE(picture.Write(file));
        DibImageProbe image(picture.Name());
        picture.Remove();
        int width = -1, height = -1;
        EXPECT_EQ(0, image.GetSize(&width, &height));
        EXPECT_EQ(0, width);
        EXPECT_EQ(0, height);
    }
    {
        SCOPED_TRACE("file appears after a failed request");
        TempPicture picture;
        DibImageProbe image(picture.Name());
        int width = -1, height = -1;
        EXPECT_EQ(0, image.GetSize(&width, &height));
        ASSERT_TRUE(picture.Write(file));
        EXPECT_EQ(1, image.GetSize(&width, &height));
        EXPECT_EQ(5, width);
        EXPECT_EQ(4, height);
        // Once loaded, the picture no longer needs its file.
        picture.Remove();
        EXPECT_EQ(1, image.GetSize(&width, &height));
        EXPECT_TRUE(image.Unlocked());
    }
    {
        SCOPED_TRACE("null pointers load nothing");
        TempPicture picture;
        ASSERT_TRUE(picture.Write(file));
        DibImageProbe image(picture.Name());
        int value = -1;
        EXPECT_EQ(0, image.GetSize(nullptr, &value));
        EXPECT_EQ(0, image.GetSize(&value, nullptr));
        EXPECT_EQ(-1, value);
        EXPECT_EQ(nullptr, image.Block());
    }
}

TEST_F(DibLoadTest, LoadsFromAPathLongerThanOpenFileTakes) {
    // A distribution unpacked into a deep folder: the full path passes the
    // 128 bytes that OpenFile can hold.
    TempPicture picture(150);
    ASSERT_GT(strlen(picture.Name()), 150u);
    ASSERT_TRUE(picture.Write(bmp::Build(Opt(8, 7, 3))));
    DibImageProbe image(picture.Name());
    int width = 0, height = 0;
    EXPECT_EQ(1, image.GetSize(&width, &height));
    EXPECT_EQ(7, width);
    EXPECT_EQ(3, height);
}

TEST_F(DibLoadTest, NamesUpTo259CharactersAreKept) {
    std::string longest(259, 'a');
    DibImageProbe kept(longest.c_str());
    EXPECT_EQ(1, kept.Valid());
    EXPECT_STREQ(longest.c_str(), kept.FileName());

    std::string tooLong(260, 'a');
    DibImageProbe refused(tooLong.c_str());
    EXPECT_EQ(0, refused.Valid());
    EXPECT_STREQ("", refused.FileName());
    int width = -1, height = -1;
    EXPECT_EQ(0, refused.GetSize(&width, &height));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
}

} // namespace
