// Feeds arbitrary bytes to the reader as a whole picture file and builds its
// block as the loader does, exactly as large as it says, and checks what
// drawing relies on: a settled header never promises the platform more colour
// entries or rows than the block holds, no size wraps 32 bits, the size
// reported is not negative, and the palette stays inside its table. The block
// built from a front and the rest of the file read on request is the block
// built from the whole file.
#include "dib/dib_format.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Past the few kilobytes of an input a block holds zeros, or the background
// where alpha is blended; larger blocks are left out, as a machine without
// the memory would, so that every run stays quick.
constexpr std::uint32_t kLargestBlock = 1u << 18;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_dib: %s\n", what);
        std::abort();
    }
}

struct Memory {
    const std::uint8_t* data;
    std::size_t size;
};

std::uint32_t ReadMemory(void* file, std::uint32_t offset, std::uint8_t* to, std::uint32_t bytes) {
    const Memory* m = static_cast<const Memory*>(file);
    std::size_t n = offset < m->size ? m->size - offset : 0;
    n = n < bytes ? n : bytes;
    if (n > 0) {
        std::memcpy(to, m->data + offset, n);
    }
    return static_cast<std::uint32_t>(n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dib::Layout l;
    if (dib::ReadFront(data, size, &l) != dib::Refusal::None || l.kind != dib::Kind::Bitmap) {
        return 0;
    }
    const dib::InfoHeader& h = l.header;
    if (l.blockBytes > kLargestBlock) {
        return 0;
    }
    auto* block = static_cast<std::uint8_t*>(std::calloc(l.blockBytes, 1));
    auto* again = static_cast<std::uint8_t*>(std::calloc(l.blockBytes, 1));
    Check(block && again, "no memory");
    dib::BuildBlock(l, data, size, nullptr, 0x00C0C0C0, block);
    // The loader's way: a front of the file's first bytes, the rest on request.
    Memory file = {data, size};
    const dib::FileReader rest = {ReadMemory, &file};
    std::size_t front = size < dib::kFrontBytes ? size / 2 : dib::kFrontBytes;
    dib::BuildBlock(l, data, front, &rest, 0x00C0C0C0, again);
    Check(std::memcmp(block, again, l.blockBytes) == 0, "a front and the rest differ");

    std::uint64_t pixelsAt = dib::kInfoHeaderBytes + std::uint64_t{dib::PaletteBytes(block)};
    Check(pixelsAt + h.sizeImage == l.blockBytes, "block size wraps 32 bits");
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
    for (int drawn : {all, INT_MAX, -1, 0}) {
        std::uint32_t lines = dib::ScanLines(block, drawn);
        bool rowFormat = h.compression == 0 || h.compression == 3;
        Check(lines <= rows &&
                  pixelsAt + (rowFormat ? lines * stride : h.sizeImage) <= l.blockBytes,
              "rows drawn past the block");
    }
    int width = -1, height = -1;
    dib::PictureSize(block, &width, &height);
    Check(width >= 0 && height >= 0, "negative size reported");

    std::uint16_t n = dib::PaletteEntries(block);
    Check(n <= l.colours || (l.colours == 0 && n == 256), "palette past the table");
    auto* description = static_cast<std::uint8_t*>(std::calloc(dib::PaletteDescriptionBytes(n), 1));
    dib::FillPaletteDescription(block, description);
    std::free(description);
    std::free(again);
    std::free(block);
    return 0;
}
