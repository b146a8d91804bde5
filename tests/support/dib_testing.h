// For the picture's tests and fuzzer: pictures described in words, the block
// that the reader builds of a whole file in memory, and a comparison of
// blocks that says where they part.
#ifndef TANDREL_TESTS_SUPPORT_DIB_TESTING_H
#define TANDREL_TESTS_SUPPORT_DIB_TESTING_H

#include "bmp_builder.h"
#include "dib/dib_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace dibtest {

using Bytes = std::vector<std::uint8_t>;

// The words ask for a "core" header or a "header" of another size,
// "top-down" rows, "size 0" in biSizeImage, "bitfields" with "alpha", "rle",
// no file header ("bare"), a "gap" before the pixels, "5 colours".
inline bmp::Options Pic(int bitCount, const char* words = "", int width = 5, int height = 4) {
    auto has = [words](const char* word) { return std::strstr(words, word) != nullptr; };
    const char* header = std::strstr(words, "header ");
    std::uint32_t size = header ? static_cast<std::uint32_t>(std::atoi(header + 7)) : 40;
    std::uint32_t colours = has("5 colours") ? 5 : 0, gap = has("gap") ? 37 : 0;
    return {width,        height,       bitCount,        has("core"),
            size,         !has("bare"), has("top-down"), has("bitfields"),
            has("alpha"), has("rle"),   !has("size 0"),  colours,
            gap};
}

// The block of a whole file, alpha blended over grey; empty when refused.
inline Bytes Block(const Bytes& file, dib::Refusal* why = nullptr) {
    dib::Layout l;
    dib::Refusal refusal = dib::ReadFront(file.data(), file.size(), &l);
    if (why) {
        *why = refusal;
    }
    Bytes block(refusal == dib::Refusal::None ? l.blockBytes : 0);
    if (!block.empty()) {
        dib::BuildBlock(l, file.data(), file.size(), nullptr, 0x00C0C0C0, block.data());
    }
    return block;
}

inline ::testing::AssertionResult SameBytes(const Bytes& want, const Bytes& got) {
    auto differ = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
    if (differ.first == want.end() && differ.second == got.end()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << want.size() << " bytes wanted, " << got.size() << " came; first difference at "
           << (differ.first - want.begin());
}

} // namespace dibtest

#endif
