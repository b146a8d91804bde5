// Writes the fuzzer's seed corpus: small pictures of every kind the reader
// knows, and a few with the headers it must refuse or mend.
#include "bmp_builder.h"

#include <cstdio>
#include <string>

namespace {

int written = 0;

bool Put(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    ++written;
    return bmp::WriteFile(folder + "/" + name + ".bmp", bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = true;
    const int bitCounts[] = {1, 4, 8, 16, 24, 32};
    for (int bits : bitCounts) {
        for (int variant = 0; variant < 6; ++variant) {
            bmp::Options o;
            o.bitCount = bits;
            o.width = 3 + variant;
            o.height = 2 + variant % 3;
            o.fileHeader = variant != 1;
            o.topDown = variant == 2;
            o.statedSizeImage = variant != 3;
            o.gap = variant == 4 ? 5 : 0;
            o.zeroOffBits = variant == 5;
            o.coreHeader = variant == 3 && bits != 16 && bits != 32;
            if (variant == 5 && bits <= 8) {
                o.colours = bits == 1 ? 1 : 3;
            }
            if (bits == 16 || bits == 32) {
                o.bitfields = variant % 2 == 0;
            }
            ok = Put(folder, std::to_string(bits) + "bit_" + std::to_string(variant),
                     bmp::Build(o)) &&
                 ok;
        }
    }
    // Headers at the edges: compressed, oversized, huge counts, truncated.
    bmp::Options o;
    o.bitCount = 8;
    std::vector<uint8_t> bytes = bmp::Build(o);
    bmp::PutLe32(bytes, 14 + 16, 1); // BI_RLE8 with the rows as data
    ok = Put(folder, "rle8", bytes) && ok;
    bytes = bmp::Build(o);
    bmp::PutLe32(bytes, 14 + 32, 65536);
    ok = Put(folder, "clrused_65536", bytes) && ok;
    bytes = bmp::Build(o);
    bmp::PutLe32(bytes, 14 + 20, 3);
    ok = Put(folder, "short_sizeimage", bytes) && ok;
    bytes = bmp::Build(o);
    bmp::PutLe32(bytes, 14, 108);
    ok = Put(folder, "v4_header", bytes) && ok;
    o.bitCount = 24;
    bytes = bmp::Build(o);
    bmp::PutLe32(bytes, 14 + 4, 65536);
    bmp::PutLe32(bytes, 14 + 8, 65536);
    bmp::PutLe32(bytes, 14 + 20, 0);
    ok = Put(folder, "wraps_to_zero", bytes) && ok;
    bytes.resize(60);
    ok = Put(folder, "truncated", bytes) && ok;
    std::printf("make_dib_corpus: %d seeds in %s\n", written, folder.c_str());
    return ok ? 0 : 1;
}
