// What the picture asks of the platform, as the native stand-in records it:
// reads in pieces, failures of each call, and the arguments of the drawing.
#include "dib_testing.h"

#include "compat_control.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class DibPlatformTest : public DibTest {
  protected:
    void Write(const bmp::Options& options) { ASSERT_TRUE(picture_.Write(bmp::Build(options))); }
    const char* Name() const { return picture_.Name(); }

  private:
    TempPicture picture_;
};

TEST_F(DibPlatformTest, ReadsHeadersWholeAndPixelsInPiecesOf32768) {
    Write(Opt(8, 100, 1000)); // 100000 pixel bytes
    DibImageProbe image(Name());
    EXPECT_EQ(0, compat::OpenFileCalls()) << "nothing is opened before it is needed";
    int width = 0, height = 0;
    ASSERT_EQ(1, image.GetSize(&width, &height));
    const std::vector<UINT> expected = {14, 40, 1024, 32768, 32768, 32768, 1696};
    EXPECT_EQ(expected, compat::ReadRequests());
    EXPECT_EQ(Name(), compat::LastOpenedName());
}

TEST_F(DibPlatformTest, RejectedNamesAreNeverOpened) {
    std::string tooLong(260, 'a');
    DibImageProbe image(tooLong.c_str());
    int width, height;
    image.GetSize(&width, &height);
    image.GetPalette();
    image.Draw(nullptr, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(0, compat::OpenFileCalls());
}

TEST_F(DibPlatformTest, FailedCallsLeaveNoPictureAndTheNextRequestRetries) {
    struct Case {
        const char* name;
        compat::Call call;
        int skip;
        int loads; // whether the failing request still gives a picture
        int blocksLeft;
        int opens; // after a second request: a held block is kept, else the file is opened afresh
    };
    const Case cases[] = {
        {"OpenFile (the file is opened the other way)", compat::Call::OpenFile, 0, 1, 1, 2},
        {"reading the file header", compat::Call::Read, 0, 0, 0, 2},
        {"reading the info header", compat::Call::Read, 1, 0, 0, 2},
        {"reading the colour table (entries stay zero)", compat::Call::Read, 2, 1, 1, 1},
        {"reading the first pixels (pixels stay zero)", compat::Call::Read, 3, 1, 1, 1},
        {"GlobalAlloc", compat::Call::GlobalAlloc, 0, 0, 0, 2},
        {"GlobalReAlloc", compat::Call::GlobalReAlloc, 0, 0, 0, 2},
        {"lock while reading the header", compat::Call::GlobalLock, 0, 0, 0, 2},
        {"lock while taking the header copy", compat::Call::GlobalLock, 1, 0, 0, 2},
        {"lock while reading the pixels", compat::Call::GlobalLock, 2, 0, 0, 2},
        {"lock while reporting the size", compat::Call::GlobalLock, 3, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(Opt(8));
        compat::Reset();
        DibImageProbe image(Name());
        compat::FailCall(c.call, c.skip);
        int width = -1, height = -1;
        EXPECT_EQ(c.loads, image.GetSize(&width, &height));
        EXPECT_EQ(c.loads ? 5 : 0, width);
        EXPECT_EQ(0, compat::OpenFiles());
        EXPECT_EQ(c.blocksLeft, compat::LiveGlobalBlocks());
        EXPECT_TRUE(image.Unlocked());

        EXPECT_EQ(1, image.GetSize(&width, &height));
        EXPECT_EQ(5, width);
        EXPECT_EQ(c.opens, compat::OpenFileCalls());
    }
}

TEST_F(DibPlatformTest, FailedPaletteStepsGiveNoneAndAreRetried) {
    const compat::Call calls[] = {compat::Call::LocalAlloc, compat::Call::CreatePalette,
                                  compat::Call::GlobalLock};
    for (compat::Call call : calls) {
        SCOPED_TRACE(static_cast<int>(call));
        Write(Opt(24));
        DibImageProbe image(Name());
        int width, height;
        ASSERT_EQ(1, image.GetSize(&width, &height));
        compat::FailCall(call);
        EXPECT_EQ(nullptr, image.GetPalette());
        EXPECT_EQ(0, compat::LiveLocalBlocks());
        EXPECT_TRUE(image.Unlocked());
        EXPECT_NE(nullptr, image.GetPalette());
        EXPECT_EQ(1, compat::LivePalettes());
    }
}

TEST_F(DibPlatformTest, DrawFailsWhenTheBlockCannotBeLocked) {
    Write(Opt(8));
    DibImageProbe image(Name());
    int width, height;
    ASSERT_EQ(1, image.GetSize(&width, &height));
    compat::FailCall(compat::Call::GlobalLock);
    EXPECT_EQ(0, image.Draw(nullptr, 0, 0, width, height, 0, 0));
    EXPECT_TRUE(compat::DrawCalls().empty());
    EXPECT_EQ(1, image.Draw(nullptr, 0, 0, width, height, 0, 0));
    EXPECT_EQ(1u, compat::DrawCalls().size());
}

TEST_F(DibPlatformTest, DrawHandsOverHeaderTableAndRowsInPlace) {
    struct Case {
        const char* name;
        bmp::Options options;
        int drawHeight;
        std::size_t bitsOffset;
        LONG headerHeight;
        UINT scanLines;
    };
    bmp::Options topDown = Opt(24);
    topDown.topDown = true;
    bmp::Options topDownUnstated = topDown;
    topDownUnstated.statedSizeImage = false;
    bmp::Options bitfields = Opt(16);
    bitfields.bitfields = true;
    bmp::Options core = Opt(4);
    core.coreHeader = true;
    const Case cases[] = {
        {"8 bits", Opt(8), 4, 40 + 1024, 4, 4},
        {"core 4 bits", core, 4, 40 + 64, 4, 4},
        {"16-bit bitfields: rows after the masks", bitfields, 4, 40 + 12, 4, 4},
        {"top-down, stated size", topDown, 4, 40, -4, 4},
        {"top-down, size 0", topDownUnstated, 4, 40, -4, 4},
        {"taller than the picture: rows it has", Opt(24), 9, 40, 4, 4},
        {"shorter than the picture", Opt(24), 2, 40, 4, 2},
        {"negative height: no rows", Opt(24), -4, 40, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.options);
        compat::Reset();
        DibImageProbe image(Name());
        HDC dc = reinterpret_cast<HDC>(0x1234);
        EXPECT_EQ(1, image.Draw(dc, 2, 3, 5, c.drawHeight, 0, 0));
        ASSERT_EQ(1u, compat::DrawCalls().size());
        const compat::DrawCall& call = compat::DrawCalls()[0];
        EXPECT_EQ(dc, call.deviceContext);
        EXPECT_EQ(2, call.xDest);
        EXPECT_EQ(3, call.yDest);
        EXPECT_EQ(5u, call.width);
        EXPECT_EQ(static_cast<DWORD>(c.drawHeight), call.height);
        EXPECT_EQ(0u, call.startScan);
        EXPECT_EQ(c.scanLines, call.scanLines);
        EXPECT_EQ(c.bitsOffset, call.bitsOffset);
        EXPECT_EQ(c.headerHeight, call.header.biHeight);
        EXPECT_TRUE(image.Unlocked());
    }
}

int violations = 0;
void CountViolation(const char*) {
    ++violations;
}

// The stand-in's drawing call is what catches a header that promises more
// than its block holds; make sure it does.
TEST_F(DibPlatformTest, StandInReportsReadsOutsideTheBlock) {
    struct Case {
        const char* name;
        SIZE_T blockBytes;
        WORD bitCount;
        DWORD compression, clrUsed;
        LONG height;
        UINT lines;
        int violations;
    };
    const Case cases[] = {
        {"8 bits, table and rows inside", 40 + 1024 + 4 * 3, 8, BI_RGB, 0, 3, 3, 0},
        {"8 bits, 256 entries promised by biClrUsed 0", 40 + 16, 8, BI_RGB, 0, 1, 1, 1},
        {"bitfields, masks missing", 40 + 4, 32, BI_BITFIELDS, 0, 1, 1, 1},
        {"one row too many", 40 + 4 * 3, 32, BI_RGB, 0, 4, 4, 1},
        {"top-down, rows inside", 40 + 4 * 3, 32, BI_RGB, 0, -3, 9, 0},
    };
    compat::SetViolationHandler(CountViolation);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        violations = 0;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, c.blockBytes);
        BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
        ASSERT_NE(nullptr, header);
        header->biSize = 40;
        header->biWidth = 1;
        header->biHeight = c.height;
        header->biPlanes = 1;
        header->biBitCount = c.bitCount;
        header->biCompression = c.compression;
        header->biClrUsed = c.clrUsed;
        std::size_t bitsAt = c.bitCount == 8 ? 40 + 1024 : 40;
        const BYTE* bits = reinterpret_cast<const BYTE*>(header) +
                           (bitsAt < c.blockBytes ? bitsAt : c.blockBytes - 4);
        SetDIBitsToDevice(nullptr, 0, 0, 1, 3, 0, 0, 0, c.lines, bits,
                          reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
        EXPECT_EQ(c.violations, violations);
        GlobalUnlock(block);
        GlobalFree(block);
    }
}

} // namespace
