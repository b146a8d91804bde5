#include "dib/dib_format.h"

#include <climits>
#include <cstring>

namespace dib {
namespace {

constexpr std::uint16_t kFileSignature = 0x4D42; // "BM"
// Taken from the file for every kind of header, so that a file without a file
// header needs 40 bytes even when it starts with a 12- or 16-byte header.
constexpr std::size_t kHeaderReadBytes = 40;
constexpr std::uint32_t kBitfields = 3;
constexpr std::uint32_t kAlphaBitfields = 6; // as kBitfields, with an alpha mask too
constexpr std::uint32_t kMaskBytes = 3 * 4;
constexpr std::uint32_t kMaxTableBytes = 0xFFFF; // the table's size is a 16-bit count
constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
constexpr std::uint16_t kPaletteVersion = 0x300;
constexpr std::uint16_t kCubeEntries = 256;

static_assert(sizeof(InfoHeader) == kInfoHeaderBytes, "InfoHeader has no padding");
// A file header, the longest header (a BITMAPV5HEADER) and 256 entries.
static_assert(kFrontBytes >= kFileHeaderBytes + 124 + 4 * 256, "the front holds 8-bit tables");

std::uint16_t Le16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t Le32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(Le16(at)) | static_cast<std::uint32_t>(Le16(at + 2)) << 16;
}

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    Put16(at, value);
    Put16(at + 2, value >> 16);
}

std::uint32_t Be32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3];
}

// Negative heights mark top-down pictures.
std::uint32_t RowCount(std::int32_t height) {
    std::uint32_t rows = static_cast<std::uint32_t>(height);
    return height < 0 ? 0u - rows : rows;
}

std::uint16_t ColoursForBits(std::uint16_t bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

// A stated count wins, by its low 16 bits, whatever the bit count says.
std::uint16_t NumColors(const InfoHeader& h) {
    return h.clrUsed != 0 ? static_cast<std::uint16_t>(h.clrUsed & 0xFFFF)
                          : ColoursForBits(h.bitCount);
}

// BI_BITFIELDS masks sit between the header and the colour table, where the
// platform's bitmap calls look for them.
std::uint32_t MaskBytes(const InfoHeader& h) {
    return h.compression == kBitfields ? kMaskBytes : 0;
}

bool IsRowFormat(std::uint32_t compression) {
    return compression == 0 || compression == kBitfields;
}

InfoHeader FromCore(const std::uint8_t* raw) {
    InfoHeader h = {};
    h.size = kInfoHeaderBytes;
    h.width = Le16(raw + 4);
    h.height = Le16(raw + 6);
    h.planes = Le16(raw + 8);
    h.bitCount = Le16(raw + 10);
    h.clrUsed = ColoursForBits(h.bitCount);
    h.clrImportant = h.clrUsed;
    return h;
}

// OS/2 2.x's shortest header: the first fields of an info header, the rest 0.
InfoHeader FromOs2Short(const std::uint8_t* raw) {
    InfoHeader h = LoadHeader(raw);
    h.compression = h.sizeImage = h.clrUsed = h.clrImportant = 0;
    h.xPelsPerMeter = h.yPelsPerMeter = 0;
    return h;
}

constexpr std::uint32_t kAnyCompression = 0xFFFFFFFFu;
constexpr std::uint32_t kPlainCompressions = 0x7; // none, RLE8, RLE4
constexpr std::uint32_t kMaskCompressions =
    kPlainCompressions | 1u << kBitfields | 1u << kAlphaBitfields;

// Each kind of header the reader takes, by its size field, and how it becomes
// the 40-byte form. Another kind is another row.
struct HeaderKind {
    std::uint32_t size;
    bool tripleEntries;
    InfoHeader (*normalise)(const std::uint8_t* raw);
    // Compressions read, as bits; the first two kinds pass theirs to the
    // platform unexamined. OS/2's 3 and 4 are Huffman and RLE24.
    std::uint32_t compressions;
    int masks; // masks after the header's first 40 bytes: red, green, blue[, alpha]
};

const HeaderKind kHeaderKinds[] = {
    {12, true, FromCore, kAnyCompression, 0},
    {40, false, LoadHeader, kAnyCompression, 0},
    {16, false, FromOs2Short, kPlainCompressions, 0},
    {52, false, LoadHeader, kMaskCompressions, 3},
    {56, false, LoadHeader, kMaskCompressions, 4},
    {64, false, LoadHeader, kPlainCompressions, 0},
    {108, false, LoadHeader, kMaskCompressions, 4},
    {124, false, LoadHeader, kMaskCompressions, 4},
};

const HeaderKind* FindKind(std::uint32_t size) {
    for (const HeaderKind& kind : kHeaderKinds) {
        if (kind.size == size) {
            return &kind;
        }
    }
    return nullptr;
}

constexpr std::uint64_t Bit(int n) {
    return std::uint64_t{1} << n;
}

// What the platform draws, by compression (none, RLE8, RLE4, bitfields): the
// bit counts as bits.
const std::uint64_t kShownBitCounts[] = {Bit(1) | Bit(4) | Bit(8) | Bit(16) | Bit(24) | Bit(32),
                                         Bit(8), Bit(4), Bit(16) | Bit(32)};

// The later kinds' masks move into the block's mask bytes, where a 40-byte
// bitfields picture keeps the masks it is followed by.
Refusal TakeMasks(const HeaderKind& kind, const std::uint8_t* raw, Layout* l) {
    InfoHeader& h = l->header;
    if (kind.compressions == kAnyCompression) {
        return Refusal::None;
    }
    if (h.compression > 31 || !(kind.compressions >> h.compression & 1)) {
        return Refusal::CompressionNotShown;
    }
    if (h.compression == kAlphaBitfields) {
        h.compression = kBitfields;
    }
    if (h.bitCount > 32 || !(kShownBitCounts[h.compression] >> h.bitCount & 1)) {
        return Refusal::BitCountNotShown;
    }
    l->headerMasks = h.compression == kBitfields;
    for (int i = 0; l->headerMasks && i < 3; ++i) {
        l->masks[i] = Le32(raw + kInfoHeaderBytes + 4 * i);
    }
    if (l->headerMasks && kind.masks == 4 && h.bitCount == 32) {
        l->alphaMask = Le32(raw + kInfoHeaderBytes + 12);
    }
    return Refusal::None;
}

// The header is what the platform reads when drawing, so it may not promise
// more colour entries or rows than the block will hold, and no size may wrap.
Refusal Settle(InfoHeader* h, std::uint16_t colours) {
    if (h->height == INT32_MIN) {
        return Refusal::HeightTooLarge;
    }
    if (h->width < 0) {
        return Refusal::NegativeWidth;
    }
    std::uint64_t rowBits = static_cast<std::uint64_t>(h->width) * h->bitCount + 31;
    if (rowBits > kMax32) {
        return Refusal::SizeOverflow;
    }
    std::uint64_t rowsBytes = rowBits / 32 * 4 * RowCount(h->height);
    if (rowsBytes > kMax32) {
        return Refusal::SizeOverflow;
    }
    // Rows take what they need whatever the size stated (some writers leave it
    // stale, some overstate it wildly); compressed data keeps its length.
    if (h->sizeImage == 0 || IsRowFormat(h->compression)) {
        h->sizeImage = static_cast<std::uint32_t>(rowsBytes);
    }
    h->clrUsed = colours;
    // Else the platform would read 2^bits entries that are not there.
    if (h->bitCount <= 8 && colours == 0) {
        return Refusal::NoColourTable;
    }
    std::uint32_t tableBytes = MaskBytes(*h) + 4u * colours;
    if (tableBytes > kMaxTableBytes) {
        return Refusal::ColourTableTooLarge;
    }
    if (kInfoHeaderBytes + tableBytes + static_cast<std::uint64_t>(h->sizeImage) > kMax32) {
        return Refusal::SizeOverflow;
    }
    return Refusal::None;
}

void FillCube(std::uint8_t* entry) {
    // 8 red x 8 green x 4 blue levels, red varying fastest: enough to show a
    // 24-bit picture passably on a 256-colour display.
    std::uint8_t red = 0, green = 0, blue = 0;
    for (int i = 0; i < kCubeEntries; ++i, entry += 4) {
        entry[0] = red;
        entry[1] = green;
        entry[2] = blue;
        entry[3] = 0;
        red = static_cast<std::uint8_t>(red + 32);
        if (red == 0) {
            green = static_cast<std::uint8_t>(green + 32);
            if (green == 0) {
                blue = static_cast<std::uint8_t>(blue + 64);
            }
        }
    }
}

Refusal Sides(std::uint32_t width, std::uint32_t height) {
    return width > kLongestDecodedSide || height > kLongestDecodedSide ? Refusal::PictureTooLarge
                                                                       : Refusal::None;
}

// A component's place in a pixel. Wider ones than 16 bits lose their low bits,
// so that scaling stays within 32 bits.
struct Field {
    std::uint32_t mask, max;
    int shift;
};

Field FieldOf(std::uint32_t mask) {
    int shift = 0;
    while (shift < 31 && !(mask >> shift & 1)) {
        ++shift;
    }
    std::uint32_t max = mask >> shift;
    for (; max > 0xFFFF; max >>= 1) {
        ++shift;
    }
    return {mask, max, shift};
}

// A component of any width, scaled to 8 bits.
std::uint8_t Scaled(std::uint32_t pixel, const Field& f) {
    std::uint32_t v = (pixel & f.mask) >> f.shift;
    return static_cast<std::uint8_t>(f.max == 0 ? 0 : (v * 255 + f.max / 2) / f.max);
}

// By signature, never by name: anything not PNG, JPEG or GIF is read as a bitmap.
Kind SniffKind(const std::uint8_t* data, std::size_t length) {
    static const std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (length >= 8 && std::memcmp(data, kPng, 8) == 0) {
        return Kind::Png;
    }
    if (length >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return Kind::Jpeg;
    }
    if (length >= 6 && std::memcmp(data, "GIF8", 4) == 0 && (data[4] == '7' || data[4] == '9') &&
        data[5] == 'a') {
        return Kind::Gif;
    }
    return Kind::Bitmap;
}

// PNG: width and height open the IHDR chunk; GIF: its logical screen. A JPEG
// states its size further in, where only the decoder looks.
Refusal StatedSize(Kind kind, const std::uint8_t* data, std::size_t length) {
    if (kind == Kind::Png) {
        return length < 24 ? Refusal::HeaderTooShort : Sides(Be32(data + 16), Be32(data + 20));
    }
    if (kind == Kind::Gif) {
        return length < 10 ? Refusal::HeaderTooShort : Sides(Le16(data + 6), Le16(data + 8));
    }
    return Refusal::None;
}

Refusal ReadBitmapHeaders(const std::uint8_t* data, std::size_t length, Layout* l) {
    bool fileHeader = Le16(data) == kFileSignature;
    std::size_t headerAt = fileHeader ? kFileHeaderBytes : 0;
    if (length < headerAt + kHeaderReadBytes) {
        return Refusal::HeaderTooShort;
    }
    const HeaderKind* kind = FindKind(Le32(data + headerAt));
    if (!kind) {
        return Refusal::HeaderSizeNotSupported;
    }
    if (length < headerAt + kind->size) {
        return Refusal::HeaderTooShort;
    }
    l->header = kind->normalise(data + headerAt);
    l->header.size = kInfoHeaderBytes;
    Refusal why = TakeMasks(*kind, data + headerAt, l);
    if (why != Refusal::None) {
        return why;
    }
    l->colours = NumColors(l->header);
    why = Settle(&l->header, l->colours);
    if (why != Refusal::None) {
        return why;
    }
    l->tableAt = static_cast<std::uint32_t>(headerAt + kind->size);
    l->tripleEntries = kind->tripleEntries;
    l->tableBytes = static_cast<std::uint16_t>((l->headerMasks ? 0 : MaskBytes(l->header)) +
                                               l->colours * (l->tripleEntries ? 3 : 4));
    l->pixelsAt = fileHeader ? Le32(data + 10) : 0;
    if (l->pixelsAt == 0) {
        l->pixelsAt = l->tableAt + l->tableBytes;
    }
    // Settle has seen that this fits 32 bits.
    l->blockBytes = static_cast<std::uint32_t>(kInfoHeaderBytes + MaskBytes(l->header) +
                                               4u * l->colours + l->header.sizeImage);
    return Refusal::None;
}

// A file's bytes, from its front in memory and then through its reader.
struct Source {
    const std::uint8_t* front;
    std::size_t length;
    const FileReader* rest;

    // Bytes [at, at + bytes) of the file to `to`; how many there were.
    std::uint32_t Copy(std::uint32_t at, std::uint32_t bytes, std::uint8_t* to) const {
        std::uint32_t copied = 0;
        if (at < length) {
            copied = bytes < length - at ? bytes : static_cast<std::uint32_t>(length - at);
            std::memcpy(to, front + at, copied);
        }
        if (copied < bytes && rest) {
            copied += rest->read(rest->file, at + copied, to + copied, bytes - copied);
        }
        return copied;
    }
};

void WidenTriples(std::uint8_t* table, std::uint16_t n) {
    // Downwards, each entry overwrites only triples already widened.
    for (int i = n - 1; i >= 0; --i) {
        std::uint8_t blue = table[3 * i];
        std::uint8_t green = table[3 * i + 1];
        std::uint8_t red = table[3 * i + 2];
        table[4 * i] = blue;
        table[4 * i + 1] = green;
        table[4 * i + 2] = red;
        table[4 * i + 3] = 0;
    }
}

// A 32-bit bitfields block whose pixels carry alpha under `alphaMask`: each
// pixel blended over `background` and stored with 8-bit masks. Nothing changes
// when no alpha is found in the first `filled` pixel bytes (the rest are
// zero): such writers meant none.
void BlendBitfields(std::uint8_t* block, std::uint32_t alphaMask, std::uint32_t background,
                    std::uint32_t filled) {
    InfoHeader h = LoadHeader(block);
    if (h.bitCount != 32 || h.compression != kBitfields || alphaMask == 0) {
        return;
    }
    std::uint8_t* masks = block + kInfoHeaderBytes;
    std::uint8_t* pixels = block + kInfoHeaderBytes + PaletteBytes(block);
    // A settled 32-bit header states exactly its rows' bytes.
    std::uint32_t count = h.sizeImage / 4, i = 0;
    while (i < filled / 4 && !(Le32(pixels + 4 * i) & alphaMask)) {
        ++i;
    }
    if (i >= filled / 4) {
        return;
    }
    const Field fields[4] = {FieldOf(Le32(masks + 8)), FieldOf(Le32(masks + 4)),
                             FieldOf(Le32(masks)), FieldOf(alphaMask)};
    for (std::uint8_t* at = pixels; at < pixels + 4 * count; at += 4) {
        std::uint32_t v = Le32(at);
        std::uint8_t bgra[4] = {Scaled(v, fields[0]), Scaled(v, fields[1]), Scaled(v, fields[2]),
                                Scaled(v, fields[3])};
        BlendRow(bgra, 1, background, at);
        at[3] = 0;
    }
    Put32(masks, 0xFF0000);
    Put32(masks + 4, 0xFF00);
    Put32(masks + 8, 0xFF);
}

} // namespace

Refusal DecodedHeader(std::uint32_t width, std::uint32_t height, InfoHeader* out,
                      std::uint32_t* blockBytes) {
    if (width == 0 || height == 0) {
        return Refusal::DecoderFailed;
    }
    Refusal why = Sides(width, height);
    if (why != Refusal::None) {
        return why;
    }
    *out = {kInfoHeaderBytes,
            static_cast<std::int32_t>(width),
            -static_cast<std::int32_t>(height),
            1,
            24,
            0,
            0,
            0,
            0,
            0,
            0};
    why = Settle(out, 0);
    // Within 32 bits: no side passes 32768.
    *blockBytes = static_cast<std::uint32_t>(kInfoHeaderBytes + out->sizeImage);
    return why;
}

Refusal ReadFront(const std::uint8_t* front, std::size_t length, Layout* out) {
    *out = {};
    // Too short for any picture's signature and size.
    if (length < kFileHeaderBytes) {
        return Refusal::HeaderTooShort;
    }
    out->kind = SniffKind(front, length);
    return out->kind == Kind::Bitmap ? ReadBitmapHeaders(front, length, out)
                                     : StatedSize(out->kind, front, length);
}

void BuildBlock(const Layout& l, const std::uint8_t* front, std::size_t length,
                const FileReader* rest, std::uint32_t background, std::uint8_t* block) {
    const Source file = {front, length, rest};
    StoreHeader(l.header, block);
    std::uint32_t tableTo = kInfoHeaderBytes;
    for (int i = 0; l.headerMasks && i < 3; ++i, tableTo += 4) {
        Put32(block + tableTo, l.masks[i]);
    }
    // Entries the file does not supply stay zero.
    file.Copy(l.tableAt, l.tableBytes, block + tableTo);
    if (l.tripleEntries) {
        WidenTriples(block + tableTo, l.colours);
    }
    // So do rows past the file's end: a short file still shows.
    std::uint32_t filled =
        file.Copy(l.pixelsAt, l.header.sizeImage, block + kInfoHeaderBytes + PaletteBytes(block));
    BlendBitfields(block, l.alphaMask, background, filled);
}

void StoreHeader(const InfoHeader& h, std::uint8_t* out) {
    Put32(out, h.size);
    Put32(out + 4, static_cast<std::uint32_t>(h.width));
    Put32(out + 8, static_cast<std::uint32_t>(h.height));
    Put16(out + 12, h.planes);
    Put16(out + 14, h.bitCount);
    Put32(out + 16, h.compression);
    Put32(out + 20, h.sizeImage);
    Put32(out + 24, static_cast<std::uint32_t>(h.xPelsPerMeter));
    Put32(out + 28, static_cast<std::uint32_t>(h.yPelsPerMeter));
    Put32(out + 32, h.clrUsed);
    Put32(out + 36, h.clrImportant);
}

InfoHeader LoadHeader(const std::uint8_t* stored) {
    InfoHeader h;
    h.size = Le32(stored);
    h.width = static_cast<std::int32_t>(Le32(stored + 4));
    h.height = static_cast<std::int32_t>(Le32(stored + 8));
    h.planes = Le16(stored + 12);
    h.bitCount = Le16(stored + 14);
    h.compression = Le32(stored + 16);
    h.sizeImage = Le32(stored + 20);
    h.xPelsPerMeter = static_cast<std::int32_t>(Le32(stored + 24));
    h.yPelsPerMeter = static_cast<std::int32_t>(Le32(stored + 28));
    h.clrUsed = Le32(stored + 32);
    h.clrImportant = Le32(stored + 36);
    return h;
}

std::uint8_t Blend(std::uint8_t colour, std::uint8_t alpha, std::uint8_t background) {
    return static_cast<std::uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

void BlendRow(const std::uint8_t* bgra, std::uint32_t width, std::uint32_t background,
              std::uint8_t* bgr) {
    const std::uint8_t back[3] = {static_cast<std::uint8_t>(background >> 16),
                                  static_cast<std::uint8_t>(background >> 8),
                                  static_cast<std::uint8_t>(background)};
    for (std::uint32_t i = 0; i < width; ++i, bgra += 4, bgr += 3) {
        for (int c = 0; c < 3; ++c) {
            bgr[c] = bgra[3] == 0xFF ? bgra[c] : Blend(bgra[c], bgra[3], back[c]);
        }
    }
}

std::uint16_t PaletteBytes(const std::uint8_t* block) {
    InfoHeader h = LoadHeader(block);
    std::uint32_t tableBytes = MaskBytes(h) + 4u * NumColors(h);
    return tableBytes <= kMaxTableBytes ? static_cast<std::uint16_t>(tableBytes) : 0;
}

void PictureSize(const std::uint8_t* block, int* width, int* height) {
    InfoHeader h = LoadHeader(block);
    *width = h.width;
    // A settled header has no height of -2^31, whose row count an int lacks.
    *height = static_cast<int>(RowCount(h.height));
}

std::uint32_t ScanLines(const std::uint8_t* block, int drawHeight) {
    std::uint32_t rows = RowCount(LoadHeader(block).height);
    if (drawHeight <= 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(drawHeight) < rows ? static_cast<std::uint32_t>(drawHeight)
                                                         : rows;
}

std::uint16_t PaletteEntries(const std::uint8_t* block) {
    InfoHeader h = LoadHeader(block);
    std::uint16_t colours = NumColors(h);
    if (colours > 0) {
        return colours;
    }
    return h.bitCount == 24 ? kCubeEntries : 0;
}

std::size_t PaletteDescriptionBytes(std::uint16_t entries) {
    return 8 + 4u * entries;
}

void FillPaletteDescription(const std::uint8_t* block, std::uint8_t* description) {
    InfoHeader h = LoadHeader(block);
    std::uint16_t n = PaletteEntries(block);
    Put16(description, kPaletteVersion);
    Put16(description + 2, n);
    std::uint8_t* entry = description + 4;
    if (NumColors(h) == 0) {
        if (n != 0) {
            FillCube(entry);
        }
        return;
    }
    const std::uint8_t* table = block + kInfoHeaderBytes + MaskBytes(h);
    for (int i = 0; i < n; ++i, entry += 4, table += 4) {
        entry[0] = table[2]; // red
        entry[1] = table[1]; // green
        entry[2] = table[0]; // blue
        entry[3] = 0;
    }
}

} // namespace dib
