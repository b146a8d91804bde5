// Bytes of Windows bitmap files for tests, with a pattern whose every pixel
// can be predicted and that has no symmetry, so that a test can write a
// picture, have it drawn, and see any pixel out of place.
#ifndef TANDREL_TESTS_SUPPORT_BMP_BUILDER_H
#define TANDREL_TESTS_SUPPORT_BMP_BUILDER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bmp {

struct Rgb {
    std::uint8_t red, green, blue;
};

struct Options {
    int width = 5;
    int height = 4;
    int bitCount = 24;             // 1, 4, 8, 16, 24 or 32
    bool coreHeader = false;       // 12-byte header and 3-byte colour entries (1, 4, 8, 24 bits)
    std::uint32_t headerSize = 40; // else: 16 or 64 (OS/2), 52, 56, 108 or 124, masks within
    bool fileHeader = true;        // the 14-byte "BM" header in front
    bool topDown = false;          // negative height; the first row stored is the top one
    // 16 and 32 bits: BI_BITFIELDS with three masks after the header, chosen
    // unlike the platform's defaults (5-6-5; red in the low byte at 32 bits).
    bool bitfields = false;
    bool alpha = false;          // 32-bit bitfields: an alpha mask, and alpha in every pixel
    bool rle = false;            // 8 or 4 bits: run-length encoded, a run for each pixel
    bool statedSizeImage = true; // biSizeImage written, else left 0
    // Colour-table entries written, also put in biClrUsed. 0: all 2^bitCount
    // up to 8 bits (biClrUsed 0), no table above.
    std::uint32_t colours = 0;
    std::uint32_t gap = 0; // filler before the pixels, which bfOffBits points past
};

// Where things are in the built file (offsets from the file's start).
struct Layout {
    std::size_t headerAt, tableAt, pixelsAt; // the table after any masks
    std::size_t stride;                      // bytes a row, padded to 4; encoded: none
    std::size_t size;
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

// Alpha of that pixel when the picture has any.
std::uint8_t Alpha(int x, int y);

// Little-endian stores, for tests that bend a header.
void PutLe16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
void PutLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
// True when all bytes were written to a new file.
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace bmp

#endif
