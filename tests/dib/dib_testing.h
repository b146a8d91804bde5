// Helpers for the picture's tests: picture files in the temporary folder, and
// a view of a DibImage's inner state.
#ifndef TANDREL_TESTS_DIB_DIB_TESTING_H
#define TANDREL_TESTS_DIB_DIB_TESTING_H

#include "dib/dib_image.h"
#include "bmp_builder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Natively, every test starts with the stand-in's records cleared, fails on
// any read the drawing call would make outside its block, and must leave no
// file, block or palette behind.
class DibTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

// A file name in the temporary folder, unique within the run; the file, if
// any was written, is removed at the end of the scope.
class TempPicture {
  public:
    // `padding` lengthens the file's name, for paths of a given length.
    explicit TempPicture(size_t padding = 0);
    ~TempPicture();
    TempPicture(const TempPicture&) = delete;
    TempPicture& operator=(const TempPicture&) = delete;

    const char* Name() const { return path_.c_str(); }
    bool Write(const std::vector<std::uint8_t>& bytes) const;
    void Remove() const;

  private:
    std::string path_;
};

// A DibImage with its inner state open to the tests. (Not derived from it:
// the product is built without RTTI, the tests with it.)
class DibImageProbe {
  public:
    explicit DibImageProbe(const char* bitmapFile) : image_(bitmapFile) {}

    int GetSize(int* width, int* height) { return image_.GetSize(width, height); }
    HPALETTE GetPalette() { return image_.GetPalette(); }
    int Draw(HDC dc, int xDest, int yDest, int width, int height, int xSrc, int ySrc) {
        return image_.Draw(dc, xDest, yDest, width, height, xSrc, ySrc);
    }
    int GetInfoHeader(BITMAPINFOHEADER* out) const { return image_.GetInfoHeader(out); }
    static WORD NumColors(const void* header) { return DibImage::NumColors(header); }
    static WORD PaletteBytes(const void* header) { return DibImage::PaletteBytes(header); }

    int Valid() const { return image_.valid; }
    const char* FileName() const { return image_.fileName; }
    HGLOBAL Block() const { return image_.packedDib; }
    // The block's bytes, header to last pixel (empty when none is held).
    std::vector<std::uint8_t> BlockBytes() const;
    // Whether the block, if any, is unlocked, as every operation leaves it.
    bool Unlocked() const;

  private:
    DibImage image_;
};

// Options for a picture of the given depth and size, the rest as by default.
inline bmp::Options Opt(int bitCount, int width = 5, int height = 4) {
    bmp::Options o;
    o.bitCount = bitCount;
    o.width = width;
    o.height = height;
    return o;
}

// A colour entry of the block, widened to RGB.
bmp::Rgb BlockColour(const std::vector<std::uint8_t>& block, std::size_t tableAt, int index);

#endif
