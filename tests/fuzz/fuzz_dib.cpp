// Feeds arbitrary bytes to the reader's plain functions as the front of a
// picture file and checks what DibImage relies on: a settled header never
// promises the drawing call more colour entries or rows than its block holds,
// no size wraps 32 bits, the size reported is not negative, and the palette,
// made in memory, stays inside its table.
#include "dib_testing.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_dib: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dib::StatedSize(dib::SniffKind(data, size), data, size);
    Check(dib::MoreHeaderBytes(data, size) <= dib::kLongestHeaderBytes - dib::kHeaderReadBytes,
          "header longer than the longest");
    dib::Layout l;
    if (dib::ReadHeaders(data, size, &l) != dib::Refusal::None) {
        return 0;
    }
    const dib::InfoHeader& h = l.header;
    std::uint8_t header[dib::kInfoHeaderBytes];
    dib::StoreHeader(h, header);
    std::uint32_t blockBytes = 0;
    std::uint64_t pixelsAt = dib::kInfoHeaderBytes + std::uint64_t{dib::PaletteBytes(header)};
    Check(dib::BlockBytes(header, &blockBytes) && pixelsAt + h.sizeImage == blockBytes,
          "block size wraps 32 bits");
    Check(l.tableBytes + dib::kInfoHeaderBytes + (l.headerMasks ? 12 : 0) <= pixelsAt,
          "the file's table overruns");

    // As the platform reads them: the masks, up to 2^bits entries (or as many
    // as stated), and rows padded to 4 bytes.
    std::uint64_t most = h.bitCount <= 8 ? 1u << h.bitCount : UINT32_MAX;
    std::uint64_t entries = h.clrUsed != 0 && h.clrUsed < most ? h.clrUsed : most;
    Check((h.bitCount > 8 && h.clrUsed == 0) ||
              dib::kInfoHeaderBytes + (h.compression == 3 ? 12 : 0) + 4 * entries <= pixelsAt,
          "colour entries promised past the table");
    std::uint64_t rows = h.height < 0 ? 0 - std::int64_t{h.height} : h.height;
    std::uint64_t stride =
        (std::uint64_t{static_cast<std::uint32_t>(h.width)} * h.bitCount + 31) / 32 * 4;
    int all = static_cast<int>(rows); // a settled height has no -2^31
    for (int drawn : {all, all < INT_MAX - 7 ? all + 7 : INT_MAX, -1, 0}) {
        std::uint32_t lines = dib::ScanLines(header, drawn);
        bool rowFormat = h.compression == 0 || h.compression == 3;
        Check(lines <= rows && pixelsAt + (rowFormat ? lines * stride : h.sizeImage) <= blockBytes,
              "rows drawn past the block");
    }
    int width = -1, height = -1;
    dib::PictureSize(header, &width, &height);
    Check(width >= 0 && height >= 0, "negative size reported");

    if (blockBytes <= (16u << 20)) {
        dibtest::Bytes block = dibtest::BlockOf(dibtest::Bytes(data, data + size), l);
        std::uint16_t n = dib::PaletteEntries(block.data());
        Check(n <= l.colours || (l.colours == 0 && n == 256), "palette past the table");
        dibtest::Bytes description(dib::PaletteDescriptionBytes(n));
        dib::FillPaletteDescription(block.data(), description.data());
        dib::BlendBitfields(block.data(), l.alphaMask, 0x00C0C0C0);
    }
    return 0;
}
