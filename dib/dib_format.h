// A picture file's first bytes and a Windows bitmap's headers as arithmetic on
// bytes in memory: what kind of picture a file holds, how a bitmap's header
// becomes the 40-byte form that the loaded block keeps (or why it is
// refused), how alpha is blended away, and what such a block then offers: its
// colour table, its palette, the rows a draw may take. Nothing here calls the
// platform; DibImage reads, decodes, allocates and draws around it, and tests
// and the fuzzer hand it a whole file in memory.
#ifndef TANDREL_DIB_DIB_FORMAT_H
#define TANDREL_DIB_DIB_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace dib {

constexpr std::size_t kFileHeaderBytes = 14;
// The block's header: a BITMAPINFOHEADER, little-endian.
constexpr std::size_t kInfoHeaderBytes = 40;
// What the loader reads of a file before it knows what it holds: every
// header, and the colour table of any picture of up to 8 bits with it.
constexpr std::size_t kFrontBytes = 4096;
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

// What a file's front says: its kind and, for a bitmap, where the file's
// parts go into the block. File offsets count from the file's first byte.
struct Layout {
    Kind kind;
    InfoHeader header;        // settled: as the block keeps it
    std::uint32_t masks[3];   // red, green, blue, when the header holds them
    std::uint32_t alphaMask;  // non-zero: 32-bit pixels that may carry alpha
    bool headerMasks;         // the block's masks come from the header
    std::uint32_t tableAt;    // the masks or colour table that follow the header
    std::uint16_t tableBytes; // masks and colour entries as the file stores them
    std::uint16_t colours;
    bool tripleEntries;       // 3-byte entries, widened in the block
    std::uint32_t pixelsAt;   // bfOffBits, or right after the table
    std::uint32_t blockBytes; // header, masks, colour table and rows
};

// `front` holds a file's first `length` bytes, kFrontBytes unless the file is
// shorter. A PNG, JPEG or GIF is told by its signature, never by its name, and
// a PNG's or GIF's stated size is checked before any decoder runs; anything
// else is read as a bitmap, whose headers must lie within the front.
Refusal ReadFront(const std::uint8_t* front, std::size_t length, Layout* out);

// The way to the bytes of a file past its front: `read` copies up to `bytes`
// from `offset` to `to` and returns how many arrived (fewer at the file's end).
struct FileReader {
    std::uint32_t (*read)(void* file, std::uint32_t offset, std::uint8_t* to, std::uint32_t bytes);
    void* file;
};

// A bitmap's block, from the front that ReadFront read and, for what lies
// past it, from `rest` (none when the front is the whole file): the 40-byte
// header, masks, the colour table widened to 4-byte entries, the rows, and
// alpha blended over `background` (a COLORREF, 0x00BBGGRR). `block` holds
// layout.blockBytes zero bytes; those that the file does not supply stay zero.
void BuildBlock(const Layout& layout, const std::uint8_t* front, std::size_t length,
                const FileReader* rest, std::uint32_t background, std::uint8_t* block);

// The header of a decoded picture's block, 24 bits, top-down, no table, and
// the block's size.
Refusal DecodedHeader(std::uint32_t width, std::uint32_t height, InfoHeader* out,
                      std::uint32_t* blockBytes);

// kInfoHeaderBytes, little-endian whatever the host.
void StoreHeader(const InfoHeader& header, std::uint8_t* out);
InfoHeader LoadHeader(const std::uint8_t* stored);

// Straight (not premultiplied) alpha over an opaque background, rounded.
std::uint8_t Blend(std::uint8_t colour, std::uint8_t alpha, std::uint8_t background);
// `width` pixels of blue, green, red, alpha to blue, green, red over
// `background`, a COLORREF.
void BlendRow(const std::uint8_t* bgra, std::uint32_t width, std::uint32_t background,
              std::uint8_t* bgr);

// The rest take a block: a stored header, then masks, colour table and rows.
// Bytes between the header and the rows.
std::uint16_t PaletteBytes(const std::uint8_t* block);
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
