// A Windows bitmap file's headers as arithmetic on bytes in memory: whether a
// file header leads, how the picture's header becomes the 40-byte form that
// the loaded block keeps (or why it is refused), and what such a block then
// offers: its colour table, its palette, the rows a draw may take. Nothing
// here calls the platform; DibImage reads, allocates and draws around it, and
// tests and the fuzzer hand it bytes directly.
#ifndef TANDREL_DIB_DIB_FORMAT_H
#define TANDREL_DIB_DIB_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace dib {

constexpr std::size_t kFileHeaderBytes = 14;
// Taken from the file for every kind of header, so that a file without a file
// header needs 40 bytes even when it starts with a 12-byte core header.
constexpr std::size_t kHeaderReadBytes = 40;
// The block's header: a BITMAPINFOHEADER, little-endian.
constexpr std::size_t kInfoHeaderBytes = 40;

// Why a picture is not loaded; a publisher wants to know which it was.
enum class Refusal {
    None,
    HeaderTooShort,
    HeaderSizeNotSupported, // neither a 12-byte core nor a 40-byte info header
    HeightTooLarge,         // -2^31: no row count to report
    NegativeWidth,
    SizeOverflow,        // the rows or the whole block pass 32 bits
    NoColourTable,       // up to 8 bits per pixel, yet no entries stored
    ColourTableTooLarge, // its size in bytes passes 16 bits
};

struct InfoHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height; // negative for a top-down picture
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t clrUsed;
    std::uint32_t clrImportant;
};

// Where a file's parts go into the block. File offsets count from the file's
// first byte.
struct Layout {
    InfoHeader header;        // settled: as the block keeps it
    std::uint32_t tableAt;    // the masks or colour table
    std::uint16_t tableBytes; // masks and colour entries as the file stores them
    std::uint16_t colours;
    bool tripleEntries;       // 3-byte entries, widened in the block
    std::uint32_t bitsOffset; // the pixels; 0: right after the table
};

bool HasFileHeader(const std::uint8_t* data, std::size_t length);

// `data` holds the file's first bytes: its file header, if any, then at least
// kHeaderReadBytes from the picture's header on.
Refusal ReadHeaders(const std::uint8_t* data, std::size_t length, Layout* out);

// kInfoHeaderBytes, little-endian whatever the host.
void StoreHeader(const InfoHeader& header, std::uint8_t* out);
InfoHeader LoadHeader(const std::uint8_t* stored);

// Widens n 3-byte entries at the table's start to 4-byte ones in place.
void WidenTriples(std::uint8_t* table, std::uint16_t n);

// The rest take a block: a stored header, then masks, colour table and rows.
// Bytes between the header and the rows.
std::uint16_t PaletteBytes(const std::uint8_t* block);
// False when the block would pass 32 bits; never so for a settled header.
bool BlockBytes(const std::uint8_t* block, std::uint32_t* bytes);
// As reported: a top-down picture's height is positive too.
void PictureSize(const std::uint8_t* block, int* width, int* height);
// Never more than the block holds rows; none for a height of 0 or less.
std::uint32_t ScanLines(const std::uint8_t* block, int drawHeight);

// Entries of the picture's palette: its colour table, or a colour cube for a
// 24-bit picture without one; 0 when it has none.
std::uint16_t PaletteEntries(const std::uint8_t* block);
// A LOGPALETTE for that many entries; the structure counts one of them.
std::size_t PaletteDescriptionBytes(std::uint16_t entries);
// Fills a zeroed description of PaletteDescriptionBytes(PaletteEntries(block)).
void FillPaletteDescription(const std::uint8_t* block, std::uint8_t* description);

} // namespace dib

#endif
