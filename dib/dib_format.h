// A picture file's first bytes and a Windows bitmap's headers as arithmetic on
// bytes in memory: what kind of picture a file holds, how a bitmap's header
// becomes the 40-byte form that the loaded block keeps (or why it is
// refused), how alpha is blended away, and what such a block then offers: its
// colour table, its palette, the rows a draw may take. Nothing here calls the
// platform; DibImage reads, decodes, allocates and draws around it, and tests
// and the fuzzer hand it bytes directly.
#ifndef TANDREL_DIB_DIB_FORMAT_H
#define TANDREL_DIB_DIB_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace dib {

constexpr std::size_t kFileHeaderBytes = 14;
// Taken from the file for every kind of header, so that a file without a file
// header needs 40 bytes even when it starts with a 12- or 16-byte header.
constexpr std::size_t kHeaderReadBytes = 40;
// A BITMAPV5HEADER, the longest header read.
constexpr std::size_t kLongestHeaderBytes = 124;
// The block's header: a BITMAPINFOHEADER, little-endian.
constexpr std::size_t kInfoHeaderBytes = 40;
// Enough of a file's start to tell its kind and, for PNG and GIF, its size.
constexpr std::size_t kSniffBytes = 24;
// Decoded pictures larger than this on a side are refused before decoding.
constexpr std::uint32_t kLongestDecodedSide = 32768;

// Why a picture is not loaded; a publisher wants to know which it was.
enum class Refusal {
    None,
    HeaderTooShort,         // the file ends within its headers
    HeaderSizeNotSupported, // a bitmap header of a size not read
    HeightTooLarge,         // -2^31: no row count to report
    NegativeWidth,
    SizeOverflow,        // the rows or the whole block pass 32 bits
    NoColourTable,       // up to 8 bits per pixel, yet no entries stored
    ColourTableTooLarge, // its size in bytes passes 16 bits
    CompressionNotShown, // the platform draws no such compression
    BitCountNotShown,    // nor this bit count with it
    PictureTooLarge,     // PNG, JPEG or GIF past kLongestDecodedSide
    NameTooLong,         // 260 characters or more: never opened
    FileNotFound,        // the file cannot be opened
    NoMemory,
    NoDecoder,     // this system has no decoder for the kind
    DecoderFailed, // the decoder did not take the file
};

enum class Kind { Bitmap, Png, Jpeg, Gif };

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
    std::uint32_t masks[3];   // red, green, blue, when the header holds them
    std::uint32_t alphaMask;  // non-zero: 32-bit pixels that may carry alpha
    bool headerMasks;         // the block's masks come from the header
    std::uint32_t tableAt;    // the masks or colour table that follow the header
    std::uint16_t tableBytes; // masks and colour entries as the file stores them
    std::uint16_t colours;
    bool tripleEntries;       // 3-byte entries, widened in the block
    std::uint32_t bitsOffset; // the pixels; 0: right after the table
};

// By signature, never by name: anything not PNG, JPEG or GIF is read as a bitmap.
Kind SniffKind(const std::uint8_t* data, std::size_t length);
// The size a PNG or GIF states in its first kSniffBytes, checked before any
// decoder runs; None for a JPEG, which states it further in.
Refusal StatedSize(Kind kind, const std::uint8_t* data, std::size_t length);
// The header of a decoded picture's block: 24 bits, top-down, no table.
Refusal DecodedHeader(std::uint32_t width, std::uint32_t height, InfoHeader* out);

bool HasFileHeader(const std::uint8_t* data, std::size_t length);
// After kHeaderReadBytes of a header: how many more a longer header takes.
std::uint32_t MoreHeaderBytes(const std::uint8_t* data, std::size_t length);

// `data` holds the file's first bytes: its file header, if any, then at least
// kHeaderReadBytes from the picture's header on, and the whole header when it
// is longer.
Refusal ReadHeaders(const std::uint8_t* data, std::size_t length, Layout* out);
// Writes the header and any masks it held to a new block; returns the offset
// where the file's table goes.
std::uint32_t StartBlock(const Layout& layout, std::uint8_t* block);

// kInfoHeaderBytes, little-endian whatever the host.
void StoreHeader(const InfoHeader& header, std::uint8_t* out);
InfoHeader LoadHeader(const std::uint8_t* stored);

// Widens n 3-byte entries at the table's start to 4-byte ones in place.
void WidenTriples(std::uint8_t* table, std::uint16_t n);

// Straight (not premultiplied) alpha over an opaque background, rounded.
std::uint8_t Blend(std::uint8_t colour, std::uint8_t alpha, std::uint8_t background);
// `width` pixels of blue, green, red, alpha to blue, green, red over
// `background`, a COLORREF (0x00BBGGRR).
void BlendRow(const std::uint8_t* bgra, std::uint32_t width, std::uint32_t background,
              std::uint8_t* bgr);

// The rest take a block: a stored header, then masks, colour table and rows.
// Bytes between the header and the rows.
std::uint16_t PaletteBytes(const std::uint8_t* block);
// False when the block would pass 32 bits; never so for a settled header.
bool BlockBytes(const std::uint8_t* block, std::uint32_t* bytes);
// As reported: a top-down picture's height is positive too.
void PictureSize(const std::uint8_t* block, int* width, int* height);
// Never more than the block holds rows; none for a height of 0 or less.
std::uint32_t ScanLines(const std::uint8_t* block, int drawHeight);
// A 32-bit bitfields block whose pixels carry alpha under `alphaMask`: each
// pixel blended over `background` (a COLORREF) and stored with 8-bit masks.
// False, with nothing changed, when every alpha is 0: such writers meant none.
bool BlendBitfields(std::uint8_t* block, std::uint32_t alphaMask, std::uint32_t background);

// Entries of the picture's palette: its colour table, or a colour cube for a
// 24-bit picture without one; 0 when it has none.
std::uint16_t PaletteEntries(const std::uint8_t* block);
// A LOGPALETTE for that many entries; the structure counts one of them.
std::size_t PaletteDescriptionBytes(std::uint16_t entries);
// Fills a zeroed description of PaletteDescriptionBytes(PaletteEntries(block)).
void FillPaletteDescription(const std::uint8_t* block, std::uint8_t* description);

} // namespace dib

#endif
