// Builds the bytes of Windows bitmap files for tests, with a known pattern
// whose every pixel can be predicted, so that a test can write a picture,
// have it drawn, and compare each pixel. Platform-free: plain bytes out.
//
//   bmp::Options options;            // 5 x 4, 24 bits, file header, bottom-up
//   options.bitCount = 8;
//   std::vector<std::uint8_t> file = bmp::Build(options);
//   bmp::WriteFile("picture.bmp", file);
//   bmp::Rgb corner = bmp::Expected(options, 0, 0);   // top-left as shown
//
// The pattern is not symmetric, and where there are at least four colours its
// four corners differ, so flips and offsets show.
#ifndef TANDREL_TESTS_SUPPORT_BMP_BUILDER_H
#define TANDREL_TESTS_SUPPORT_BMP_BUILDER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bmp {

struct Rgb {
    std::uint8_t red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

struct Options {
    int width = 5;
    int height = 4;
    int bitCount = 24;       // 1, 4, 8, 16, 24 or 32
    bool coreHeader = false; // 12-byte header and 3-byte colour entries (1, 4, 8, 24 bits)
    bool fileHeader = true;  // the 14-byte "BM" header in front
    bool topDown = false;    // negative height; the first row stored is the top one
    // 16 and 32 bits: BI_BITFIELDS with three masks after the header, chosen
    // unlike the platform's defaults (5-6-5; red in the low byte at 32 bits).
    bool bitfields = false;
    bool statedSizeImage = true; // biSizeImage written, else left 0
    // Colour-table entries written, also put in biClrUsed. 0: all 2^bitCount
    // up to 8 bits (biClrUsed 0), no table above.
    std::uint32_t colours = 0;
    // Filler bytes between the colour table and the pixels; bfOffBits points
    // past them. Needs the file header.
    std::uint32_t gap = 0;
    bool zeroOffBits = false; // bfOffBits 0: pixels right after the table
};

// Where things are in the built file (offsets from the file's start).
struct Layout {
    std::size_t headerAt; // the core or info header
    std::size_t tableAt;  // the colour table (after any masks)
    std::size_t pixelsAt;
    std::size_t stride; // bytes a row, padded to 4
    std::size_t size;   // whole file
    std::uint32_t tableEntries;
};

Layout LayoutOf(const Options& options);
std::vector<std::uint8_t> Build(const Options& options);

// Colour of entry `index` of the file's colour table.
Rgb TableColour(const Options& options, int index);

// Colour of the pixel in column x and row y counted from the top, as the
// picture is meant to be shown. At 16 bits a component's bits are widened to
// 8 by repeating its high bits; platforms may differ in the low bits.
Rgb Expected(const Options& options, int x, int y);

// Little-endian stores into a built file, for tests that bend a header.
void PutLe16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
void PutLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// Writes the bytes to a new file; true when all were written.
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace bmp

#endif
