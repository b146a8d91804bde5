// For the picture's tests and fuzzer: pictures described in words, and the
// block that DibImage makes of a picture file, made in memory.
#ifndef TANDREL_TESTS_SUPPORT_DIB_TESTING_H
#define TANDREL_TESTS_SUPPORT_DIB_TESTING_H

#include "bmp_builder.h"
#include "dib/dib_format.h"

#include <cstdlib>
#include <cstring>

namespace dibtest {

using Bytes = std::vector<std::uint8_t>;

// The words ask for a "core" header or a "header" of another size,
// "top-down" rows, "size 0" in biSizeImage, "bitfields" with "alpha", no file
// header ("bare"), a "gap" before the pixels, "5 colours".
inline bmp::Options Pic(int bitCount, const char* words = "", int width = 5, int height = 4) {
    auto has = [words](const char* word) { return std::strstr(words, word) != nullptr; };
    const char* header = std::strstr(words, "header ");
    std::uint32_t size = header ? static_cast<std::uint32_t>(std::atoi(header + 7)) : 40;
    std::uint32_t colours = has("5 colours") ? 5 : 0, gap = has("gap") ? 37 : 0;
    return {width,           height,           bitCount,     has("core"),    size,    !has("bare"),
            has("top-down"), has("bitfields"), has("alpha"), !has("size 0"), colours, gap};
}

inline void CopyFrom(const Bytes& file, std::uint64_t at, std::uint64_t bytes, std::uint8_t* to) {
    if (at < file.size()) {
        std::memcpy(to, file.data() + at, bytes < file.size() - at ? bytes : file.size() - at);
    }
}

// Header, the colour table as stored (widened from 3-byte entries), the
// pixels from their offset; zero where the file runs short.
inline Bytes BlockOf(const Bytes& file, const dib::Layout& l) {
    std::uint8_t header[dib::kInfoHeaderBytes];
    dib::StoreHeader(l.header, header);
    std::uint32_t bytes = 0;
    dib::BlockBytes(header, &bytes);
    Bytes block(bytes);
    std::uint32_t tableTo = dib::StartBlock(l, block.data());
    CopyFrom(file, l.tableAt, l.tableBytes, block.data() + tableTo);
    if (l.tripleEntries) {
        dib::WidenTriples(block.data() + tableTo, l.colours);
    }
    std::uint64_t pixelsAt = l.bitsOffset ? l.bitsOffset : l.tableAt + l.tableBytes;
    CopyFrom(file, pixelsAt, l.header.sizeImage,
             block.data() + sizeof header + dib::PaletteBytes(header));
    return block;
}

} // namespace dibtest

#endif
