// DibImage around its format: natively, what it asks of the stand-in platform
// (when it opens the file, how it reads, what a failed call leaves behind,
// what it draws with); under Wine, what only the real platform shows.
#include "dib_testing.h"

#include "dib/dib_image.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>

#ifdef _WIN32
#include "dib/dib_decode.h"
#include "wic_files.h"
#endif

namespace {

using dibtest::Pic;

// A picture file in the working folder while the object lives; `padding`
// lengthens its name.
struct TempPicture {
    explicit TempPicture(const dibtest::Bytes& bytes = {}, std::size_t padding = 0)
        : name("dib_" + std::to_string(++count) + std::string(padding, 'p') + ".bmp") {
        EXPECT_TRUE(bytes.empty() || bmp::WriteFile(name, bytes));
    }
    ~TempPicture() { std::remove(name.c_str()); }

    static inline int count = 0;
    std::string name;
};

#ifndef _WIN32

using compat::Call;

class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override { compat::Records() = compat::Record(); }
    void TearDown() override { EXPECT_EQ(std::vector<int>(5), compat::Living()) << "objects left"; }
};

TEST_F(LoaderTest, OpensOnFirstNeedReadsPixelsInPiecesOf32768AndDrawsTheRowsItHas) {
    TempPicture picture(bmp::Build(Pic(8, "", 100, 1000))); // 100000 pixel bytes
    DibImage image(picture.name.c_str());
    EXPECT_EQ(0, compat::Records().opens);
    int width = 0, height = 0;
    ASSERT_EQ(1, image.GetSize(&width, &height));
    EXPECT_EQ(picture.name, compat::Records().lastOpened);
    EXPECT_EQ((std::vector<UINT>{14, 40, 1024, 32768, 32768, 32768, 1696}),
              compat::Records().reads);
    HDC dc = reinterpret_cast<HDC>(0x1234);
    EXPECT_EQ(2, image.Draw(dc, 2, 3, 100, 1200, 6, 7) + image.Draw(dc, 0, 0, 100, 900, 0, 0));
    EXPECT_EQ(1, compat::Records().opens) << "a loaded picture is kept";
    EXPECT_EQ(0, compat::Living()[2]) << "locked blocks";
    ASSERT_EQ(2u, compat::Records().draws.size());
    EXPECT_EQ((std::vector<long>{0x1234, 2, 3, 100, 1200, 6, 7, 0, 1000}),
              compat::Records().draws[0].args);
    EXPECT_EQ(900, compat::Records().draws[1].args[8]);
}

TEST_F(LoaderTest, EveryRequestAfterAFailedLoadOpensTheFileAfreshNamesOfUpTo259Characters) {
    TempPicture missing;
    std::string longest(259, 'a'), tooLong(260, 'a');
    DibImage image(missing.name.c_str()), kept(longest.c_str()), refused(tooLong.c_str());
    int width = 0, height = 0;
    EXPECT_EQ(0, image.GetSize(nullptr, &height) + image.GetSize(&width, nullptr));
    EXPECT_EQ(0, compat::Records().opens) << "a null pointer loads nothing";
    EXPECT_EQ(0, image.GetSize(&width, &height));
    EXPECT_EQ(2, compat::Records().opens) << "OpenFile, then _lopen";
    EXPECT_EQ(dib::Refusal::FileNotFound, image.LastRefusal());
    EXPECT_EQ(nullptr, image.GetPalette());
    EXPECT_EQ(4, compat::Records().opens);
    ASSERT_TRUE(bmp::WriteFile(missing.name, bmp::Build(Pic(8))));
    EXPECT_NE(nullptr, image.GetPalette());
    EXPECT_EQ(5, compat::Records().opens);
    EXPECT_EQ(0, kept.GetSize(&width, &height));
    EXPECT_EQ(longest, compat::Records().lastOpened);
    EXPECT_EQ(0, refused.GetSize(&width, &height) + refused.Draw(nullptr, 0, 0, 1, 1, 0, 0));
    EXPECT_EQ(nullptr, refused.GetPalette());
    EXPECT_EQ(dib::Refusal::NameTooLong, refused.LastRefusal());
    EXPECT_EQ(7, compat::Records().opens) << "the 259 characters only, both ways";
}

TEST_F(LoaderTest, ShortFilesLoadWithZerosForWhatIsMissing) {
    const struct {
        const char* name;
        bmp::Options o;
        std::size_t keep;
    } cases[] = {
        {"colour table cut within entry 100", Pic(8), 54 + 4 * 100 + 2},
        {"core colour table cut within entry 100", Pic(8, "core"), 26 + 3 * 100 + 2},
        {"pixels cut within the first row", Pic(24, "", 100, 50), 54 + 17},
        {"pixels cut within the third piece", Pic(8, "", 100, 1000), 54 + 1024 + 70000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dibtest::Bytes file = bmp::Build(c.o);
        file.resize(c.keep);
        TempPicture picture(file);
        DibImage image(picture.name.c_str());
        ASSERT_EQ(1, image.Draw(nullptr, 0, 0, 1, 1, 0, 0));
        dib::Layout l;
        ASSERT_EQ(dib::Refusal::None, dib::ReadHeaders(file.data(), file.size(), &l));
        EXPECT_TRUE(dibtest::BlockOf(file, l) == compat::Records().draws.back().block);
    }
}

TEST_F(LoaderTest, FailedCallsLeaveNoPictureAndTheNextRequestTriesAgain) {
    TempPicture picture(bmp::Build(Pic(8)));
    const struct {
        const char* name;
        Call call;
        int skip, palette, blocks, opens; // after the failure; opens also after a retry
    } cases[] = {
        {"OpenFile: _lopen opens it", Call::OpenFile, 0, 1, 1, 2},
        {"reading the file header", Call::Read, 0, 0, 0, 2},
        {"reading the info header", Call::Read, 1, 0, 0, 2},
        {"reading the colour table: entries stay zero", Call::Read, 2, 1, 1, 1},
        {"reading the pixels: they stay zero", Call::Read, 3, 1, 1, 1},
        {"GlobalAlloc", Call::GlobalAlloc, 0, 0, 0, 2},
        {"GlobalReAlloc", Call::GlobalReAlloc, 0, 0, 0, 2},
        {"lock for the header", Call::GlobalLock, 0, 0, 0, 2},
        {"lock for the header copy", Call::GlobalLock, 1, 0, 0, 2},
        {"lock for the pixels", Call::GlobalLock, 2, 0, 0, 2},
        {"lock for the palette", Call::GlobalLock, 3, 0, 1, 1},
        {"LocalAlloc", Call::LocalAlloc, 0, 0, 1, 1},
        {"CreatePalette", Call::Palette, 0, 0, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        compat::Records() = compat::Record();
        compat::Records().skip[static_cast<int>(c.call)] = c.skip;
        DibImage image(picture.name.c_str());
        EXPECT_EQ(c.palette, image.GetPalette() != nullptr);
        EXPECT_EQ((std::vector<int>{0, c.blocks, 0, 0, c.palette}), compat::Living())
            << "files, blocks, locked blocks, local blocks, palettes";
        HPALETTE palette = image.GetPalette();
        EXPECT_NE(nullptr, palette);
        EXPECT_EQ(palette, image.GetPalette()) << "kept";
        EXPECT_EQ(c.opens, compat::Records().opens);
        // A picture whose block cannot be locked has no size and is not drawn.
        int width = -1, height = -1;
        compat::Records().skip[static_cast<int>(Call::GlobalLock)] = 0;
        EXPECT_EQ(0, image.GetSize(&width, &height));
        compat::Records().skip[static_cast<int>(Call::GlobalLock)] = 0;
        EXPECT_EQ(0, image.Draw(nullptr, 0, 0, 5, 4, 0, 0));
        EXPECT_EQ(0, compat::Living()[2]) << "locked blocks";
    }
}

#else

// Draws on a black 24-bit section one pixel larger each way than 7 x 5, where
// anything drawn past the picture shows, and compares every pixel with the
// colour wanted (red, green, blue, alpha) as the panel shows it.
::testing::AssertionResult Shows(const std::function<void(HDC)>& draw,
                                 const std::function<std::array<int, 4>(int, int)>& want,
                                 int tolerance) {
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), 8, 6, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    draw(dc);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < 8 * 6 && result; ++i) {
        int x = i % 8, y = i / 8;
        std::array<int, 4> w = x < 7 && y < 5 ? want(x, y) : std::array<int, 4>{0, 0, 0, 255};
        COLORREF got = GetPixel(dc, x, y);
        for (int c = 0; c < 3 && result; ++c) {
            int shown = dib::Blend(std::uint8_t(w[c]), std::uint8_t(w[3]), back >> 8 * c & 255);
            if (std::abs(int(got >> 8 * c & 255) - shown) > tolerance) {
                result = ::testing::AssertionFailure()
                         << "(" << x << ", " << y << ") is " << std::hex << got << "; component "
                         << c << " not " << shown;
            }
        }
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return result;
}

TEST(LoaderWineTest, EveryPixelLandsUprightInItsPlace) {
    // Bits per pixel, then words for Pic.
    for (const char* words :
         {"1", "4", "8", "24", "8 core", "24 core", "24 top-down", "8 top-down, size 0",
          "16 (5-5-5)", "16 bitfields (5-6-5)", "32", "32 bitfields", "8 gap", "24 bare",
          "8 header 16", "24 header 64", "24 header 124", "16 header 108 bitfields",
          "32 header 124 bitfields alpha"}) {
        SCOPED_TRACE(words);
        bmp::Options o = Pic(std::atoi(words), words, 7, 5);
        TempPicture picture(bmp::Build(o));
        DibImage image(picture.name.c_str());
        int width = 0, height = 0;
        ASSERT_EQ(1, image.GetSize(&width, &height));
        ASSERT_EQ(7 * 5, width * height);
        auto want = [&](int x, int y) {
            bmp::Rgb c = bmp::Expected(o, x, y);
            return std::array<int, 4>{c.red, c.green, c.blue, o.alpha ? bmp::Alpha(x, y) : 255};
        };
        // The platform may fill the low bits of 5- and 6-bit components its own way.
        EXPECT_TRUE(Shows([&](HDC dc) { EXPECT_EQ(1, image.Draw(dc, 0, 0, width, height, 0, 0)); },
                          want, o.bitCount == 16 ? 8 : 0));
    }
}

TEST(LoaderWineTest, PngGifAndJpegShowAsTheSystemDecodesThemOverTheBackground) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); // for the encoders
    // A JPEG is compared with the imaging component's own decode of it,
    // within 2 for the rounding of another conversion.
    for (const GUID& kind :
         {GUID_ContainerFormatPng, GUID_ContainerFormatGif, GUID_ContainerFormatJpeg}) {
        bool gif = kind == GUID_ContainerFormatGif, jpeg = kind == GUID_ContainerFormatJpeg;
        SCOPED_TRACE(gif ? "GIF" : jpeg ? "JPEG" : "PNG");
        wic::Pixels pixels;
        for (int i = 0; i < 7 * 5; ++i) {
            bmp::Rgb rgb = bmp::Expected(Pic(24), i % 7, i / 7);
            std::uint8_t a = bmp::Alpha(i % 7, i / 7), all = a < 128 ? 0 : 255; // or none
            pixels.insert(pixels.end(), {rgb.blue, rgb.green, rgb.red, gif ? all : a});
        }
        TempPicture picture; // named .bmp: the bytes tell what it is
        ASSERT_TRUE(wic::Write(picture.name, kind, 7, 5, pixels));
        wic::Pixels want = jpeg ? wic::Read(picture.name) : pixels;
        ASSERT_EQ(pixels.size(), want.size());
        auto expected = [&](int x, int y) {
            const std::uint8_t* p = &want[4 * (7 * y + x)];
            return std::array<int, 4>{p[2], p[1], p[0], p[3]};
        };
        DibImage image(picture.name.c_str());
        EXPECT_TRUE(Shows([&](HDC dc) { image.Draw(dc, 0, 0, 7, 5, 0, 0); }, expected, jpeg * 2));
        if (!gif && !jpeg) {
            continue; // where the imaging component is missing: the same through OleLoadPicture
        }
        HFILE file = _lopen(picture.name.c_str(), OF_READ);
        dib::Refusal why = dib::Refusal::None;
        HGLOBAL block = dib::DecodeWithOlePicture(GetModuleHandleA("ole32.dll"), file,
                                                  GetSysColor(COLOR_BTNFACE), &why);
        _lclose(file);
        BYTE* b = static_cast<BYTE*>(GlobalLock(block));
        ASSERT_NE(nullptr, b) << static_cast<int>(why);
        auto info = reinterpret_cast<BITMAPINFO*>(b);
        EXPECT_TRUE(
            Shows([&](HDC dc) { SetDIBitsToDevice(dc, 0, 0, 7, 5, 0, 0, 0, 5, b + 40, info, 0); },
                  expected, jpeg * 2));
        GlobalUnlock(block);
        GlobalFree(block);
    }
    CoUninitialize();
}

TEST(LoaderWineTest, APictureNoDecoderTakesIsNoneAndALongPathIsNoObstacle) {
    dibtest::Bytes garbage(24);
    std::memcpy(garbage.data(), "\x89PNG\r\n\x1A\n", 8);
    // A distribution unpacked into a deep folder: the full path passes the
    // 128 bytes that OpenFile can hold.
    TempPicture broken(garbage), deep(bmp::Build(Pic(8)), 150);
    DibImage notDecoded(broken.name.c_str()), fromDeep(deep.name.c_str());
    int width = -1, height = -1;
    EXPECT_EQ(0, notDecoded.GetSize(&width, &height) + width + height);
    EXPECT_EQ(dib::Refusal::DecoderFailed, notDecoded.LastRefusal());
    EXPECT_EQ(1, fromDeep.GetSize(&width, &height));
    EXPECT_EQ(5 * 4, width * height);
}

#endif

} // namespace
