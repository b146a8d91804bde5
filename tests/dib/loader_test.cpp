// DibImage around its format: natively, what it reads, when, and what it
// leaves behind; under Wine, what the real platform shows of it.
#include "dib_testing.h"

#include "dib/dib_image.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#ifdef _WIN32
#include "dib/dib_decode.h"
#include "wic_files.h"
#endif

namespace {

using dibtest::Bytes;
using dibtest::Pic;
const COLORREF kBackground = 0x00906030;

// A picture file of an ASCII name in the working folder while the object lives.
struct TempPicture {
    explicit TempPicture(const Bytes& bytes = {}, const std::string& stem = "dib_")
        : name(stem + char('a' + count++ % 26) + ".bmp"), wide(name.begin(), name.end()) {
        EXPECT_TRUE(bytes.empty() || bmp::WriteFile(name, bytes));
    }
    ~TempPicture() { std::remove(name.c_str()); }
    const WCHAR* Wide() const { return reinterpret_cast<const WCHAR*>(wide.c_str()); }

    static inline int count = 0;
    std::string name;
    std::u16string wide;
};

#ifndef _WIN32

class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override { compat::Records() = compat::Record(); }
    void TearDown() override {
        EXPECT_EQ(std::vector<int>(5), compat::Living())
            << "files, global blocks, locked ones, local blocks, palettes left";
    }
};

TEST_F(LoaderTest, ReadsTheFileOnceOnFirstNeedIntoTheBlockItsBytesGive) {
    Bytes big = bmp::Build(Pic(8, "", 100, 1000)), gap = big, cut = big;
    gap.insert(gap.begin() + 54 + 1024, 6000, 0xA5); // pixels past the front and a gap
    bmp::PutLe32(gap, 10, 54 + 1024 + 6000);
    cut.resize(60000);
    bmp::Options table = Pic(24, "", 3, 2);
    table.colours = 16383; // a colour table past the front
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {{"pixels past the front", big},
                 {"after a gap past the front", gap},
                 {"cut past the front", cut},
                 {"a colour table past the front", bmp::Build(table)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        compat::Records() = compat::Record();
        TempPicture picture(c.file);
        DibImage image(picture.Wide(), kBackground);
        EXPECT_EQ(0, compat::Records().opens) << "nothing read before it is needed";
        int width = 0, height = 0;
        ASSERT_EQ(1, image.GetSize(&width, &height));
        EXPECT_NE(nullptr, image.GetPalette());
        ASSERT_EQ(1, image.Draw(nullptr, 0, 0, width, height + 5, 0, 0));
        EXPECT_EQ(UINT(height), compat::Records().scanLines) << "rows past the picture drawn";
        EXPECT_EQ(1, compat::Records().opens);
        EXPECT_TRUE(dibtest::SameBytes(dibtest::Block(c.file), compat::Records().drawn));
    }
}

TEST_F(LoaderTest, AMissingPictureIsLookedForOnceAndNamesOfUpTo259Characters) {
    TempPicture missing;
    DibImage image(missing.Wide(), kBackground);
    int width = -1, height = -1;
    EXPECT_EQ(0, image.GetSize(&width, &height));
    EXPECT_EQ((std::array<int, 2>{0, 0}), (std::array<int, 2>{width, height}));
    EXPECT_EQ(dib::Refusal::FileNotFound, image.LastRefusal());
    ASSERT_TRUE(bmp::WriteFile(missing.name, bmp::Build(Pic(8))));
    EXPECT_EQ(nullptr, image.GetPalette());
    EXPECT_EQ(0, image.Draw(nullptr, 0, 0, 5, 4, 0, 0));
    EXPECT_EQ(1, compat::Records().opens) << "every repaint looked for it again";
    EXPECT_EQ(1, DibImage(missing.Wide(), kBackground).GetSize(&width, &height))
        << "a picture named anew is looked for anew";

    std::u16string longest(259, u'a'), tooLong(260, u'a');
    DibImage kept(reinterpret_cast<const WCHAR*>(longest.c_str()), kBackground);
    DibImage refused(reinterpret_cast<const WCHAR*>(tooLong.c_str()), kBackground);
    EXPECT_EQ(0, kept.GetSize(&width, &height));
    EXPECT_EQ(dib::Refusal::FileNotFound, kept.LastRefusal());
    EXPECT_EQ(0, refused.GetSize(&width, &height));
    EXPECT_EQ(dib::Refusal::NameTooLong, refused.LastRefusal());
    EXPECT_EQ(3, compat::Records().opens) << "the 259 characters only";
}

TEST_F(LoaderTest, WithoutMemoryThereIsNoPictureOrOnlyNoPalette) {
    TempPicture picture(bmp::Build(Pic(8, "", 100, 100))); // a block of 11064 bytes
    compat::Records().memory = 11063;
    DibImage image(picture.Wide(), kBackground);
    int width = 0, height = 0;
    EXPECT_EQ(0, image.GetSize(&width, &height));
    EXPECT_EQ(dib::Refusal::NoMemory, image.LastRefusal());
    compat::Records().memory = 0xFFFFFFFF;
    DibImage shown(picture.Wide(), kBackground);
    ASSERT_EQ(1, shown.GetSize(&width, &height));
    compat::Records().memory = 1031; // a palette of 256 entries needs 1032
    EXPECT_EQ(nullptr, shown.GetPalette());
    EXPECT_EQ(1, shown.Draw(nullptr, 0, 0, 100, 100, 0, 0));
}

#else

// Draws on a black 32-bit section one pixel larger each way than the picture,
// where anything drawn past it shows, and compares every pixel with the
// colour wanted (red, green, blue, alpha) as shown over kBackground.
::testing::AssertionResult Shows(const std::function<void(HDC)>& draw, int width, int height,
                                 const std::function<std::array<int, 4>(int, int)>& want,
                                 int tolerance) {
    BITMAPINFO info = {
        {sizeof(BITMAPINFOHEADER), width + 1, -(height + 1), 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    draw(dc);
    GdiFlush();
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    for (int i = 0; i < (width + 1) * (height + 1) && result; ++i) {
        int x = i % (width + 1), y = i / (width + 1);
        std::array<int, 4> w =
            x < width && y < height ? want(x, y) : std::array<int, 4>{0, 0, 0, 255};
        const BYTE* got = static_cast<const BYTE*>(bits) + 4 * i;
        for (int c = 0; c < 3 && result; ++c) {
            int shown = dib::Blend(BYTE(w[c]), BYTE(w[3]), kBackground >> 8 * c & 255);
            if (std::abs(got[2 - c] - shown) > tolerance) {
                result = ::testing::AssertionFailure()
                         << "(" << x << ", " << y << ") has " << int(got[2 - c]) << " in component "
                         << c << ", not " << shown;
            }
        }
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return result;
}

::testing::AssertionResult ShowsImage(DibImage& image, int width, int height,
                                      const std::function<std::array<int, 4>(int, int)>& want,
                                      int tolerance) {
    int w = 0, h = 0;
    if (!image.GetSize(&w, &h) || w != width || h != height) {
        return ::testing::AssertionFailure()
               << "size " << w << " x " << h << ", refusal " << int(image.LastRefusal());
    }
    return Shows([&](HDC dc) { image.Draw(dc, 0, 0, w, h, 0, 0); }, w, h, want, tolerance);
}

TEST(LoaderWineTest, EveryPixelLandsUprightInItsPlace) {
    // Bits per pixel, then words for Pic. That the other later headers give
    // the block of a 40-byte header, the format's tests show.
    for (const char* words :
         {"1", "4", "8", "24", "8 core", "8 top-down, size 0", "16 (5-5-5)", "16 bitfields (5-6-5)",
          "32", "32 bitfields", "8 gap", "24 bare", "4 rle 5 colours", "8 header 16",
          "24 header 64", "16 header 108 bitfields", "8 header 124 rle",
          "32 header 56 bitfields alpha", "32 header 124 bitfields alpha 5 colours"}) {
        SCOPED_TRACE(words);
        bmp::Options o = Pic(std::atoi(words), words, 7, 5);
        TempPicture picture(bmp::Build(o));
        DibImage image(picture.Wide(), kBackground);
        // The platform may fill the low bits of 5- and 6-bit components its own way.
        EXPECT_TRUE(ShowsImage(
            image, 7, 5,
            [&](int x, int y) {
                bmp::Rgb c = bmp::Expected(o, x, y);
                return std::array<int, 4>{c.red, c.green, c.blue, o.alpha ? bmp::Alpha(x, y) : 255};
            },
            o.bitCount == 16 ? 8 : 0));
    }
}

// Blue, green, red, alpha of a picture's pixel: some transparent, some not at
// all, and (when `all`) only either of them.
wic::Pixels Artwork(int width, int height, bool all) {
    wic::Pixels pixels;
    for (int i = 0; i < width * height; ++i) {
        bmp::Rgb rgb = bmp::Expected(Pic(24), i % width, i / width);
        std::uint8_t a = bmp::Alpha(i % width, i / width);
        pixels.insert(pixels.end(),
                      {rgb.blue, rgb.green, rgb.red, all ? BYTE(a < 128 ? 0 : 255) : a});
    }
    return pixels;
}

// The imaging component where the system has one; else the older picture
// loader, which knows JPEG and GIF but no PNG. A tall picture passes through
// several strips of converted rows.
TEST(LoaderWineTest, PngGifAndJpegShowAsTheSystemDecodesThemOverTheBackground) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); // for the encoders
    const struct {
        const char* name;
        GUID kind;
        int width, height;
    } cases[] = {{"PNG", GUID_ContainerFormatPng, 7, 5},
                 {"GIF", GUID_ContainerFormatGif, 7, 5},
                 {"JPEG", GUID_ContainerFormatJpeg, 7, 5},
                 {"PNG of three strips", GUID_ContainerFormatPng, 256, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool gif = c.kind == GUID_ContainerFormatGif, jpeg = c.kind == GUID_ContainerFormatJpeg;
        wic::Pixels pixels = Artwork(c.width, c.height, gif);
        TempPicture picture; // named .bmp: the bytes tell what it is
        ASSERT_TRUE(wic::Write(picture.name, c.kind, c.width, c.height, pixels));
        // A JPEG is compared with the imaging component's own decode of it,
        // within 2 for the rounding of another conversion.
        wic::Pixels want = jpeg ? wic::Read(picture.name) : pixels;
        ASSERT_EQ(pixels.size(), want.size());
        auto expected = [&](int x, int y) {
            const std::uint8_t* p = &want[4 * (c.width * y + x)];
            return std::array<int, 4>{p[2], p[1], p[0], p[3]};
        };
        DibImage image(picture.Wide(), kBackground);
        EXPECT_TRUE(ShowsImage(image, c.width, c.height, expected, jpeg * 2));

        HANDLE file = CreateFileW(picture.Wide(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        SetFilePointer(file, 0, nullptr, FILE_END); // wherever the reader of its front left it
        dib::Refusal why = dib::Refusal::None;
        HGLOBAL block = dib::DecodeWith(nullptr, picture.Wide(), file,
                                        gif    ? dib::Kind::Gif
                                        : jpeg ? dib::Kind::Jpeg
                                               : dib::Kind::Png,
                                        kBackground, &why);
        CloseHandle(file);
        BYTE* b = static_cast<BYTE*>(GlobalLock(block));
        if (!gif && !jpeg) {
            EXPECT_EQ(nullptr, block);
            EXPECT_EQ(dib::Refusal::NoDecoder, why) << "a PNG without the imaging component";
            continue;
        }
        ASSERT_NE(nullptr, b) << "refusal " << int(why);
        auto info = reinterpret_cast<BITMAPINFO*>(b);
        EXPECT_TRUE(
            Shows([&](HDC dc) { SetDIBitsToDevice(dc, 0, 0, 7, 5, 0, 0, 0, 5, b + 40, info, 0); },
                  7, 5, expected, jpeg * 2))
            << "through the older loader";
        GlobalUnlock(block);
        GlobalFree(block);
    }
    CoUninitialize();
}

TEST(LoaderWineTest, NamesInAnyLettersAndLongPathsAreOpenedAndDamagedPicturesRefused) {
    dibtest::Bytes garbage(24);
    std::memcpy(garbage.data(), "\x89PNG\r\n\x1A\n", 8);
    // A distribution unpacked into a deep folder has long paths.
    TempPicture broken(garbage), deep(bmp::Build(Pic(8)), std::string(150, 'p'));
    TempPicture png;
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_TRUE(wic::Write(png.name, GUID_ContainerFormatPng, 7, 5, Artwork(7, 5, false)));
    CoUninitialize();
    const WCHAR* greek = L"\u03B5\u03B9\u03BA\u03CC\u03BD\u03B1.png";
    ASSERT_TRUE(MoveFileW(png.Wide(), greek));
    const struct {
        const char* name;
        const WCHAR* file;
        dib::Refusal refusal;
        int width, height;
    } cases[] = {{"a damaged PNG", broken.Wide(), dib::Refusal::DecoderFailed, 0, 0},
                 {"a BMP in a deep folder", deep.Wide(), dib::Refusal::None, 5, 4},
                 {"a PNG named in Greek", greek, dib::Refusal::None, 7, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DibImage image(c.file, kBackground);
        int width = -1, height = -1;
        EXPECT_EQ(c.width != 0, image.GetSize(&width, &height));
        EXPECT_EQ(c.refusal, image.LastRefusal());
        EXPECT_EQ((std::array<int, 2>{c.width, c.height}), (std::array<int, 2>{width, height}));
    }
    DeleteFileW(greek);
}

#endif

} // namespace
