// Writes the fuzzer's seed corpus: small pictures of every kind the reader
// knows, run-length encoded ones among them, and some with info header fields
// it must mend or refuse (RLE8 at other bits, huge counts and sizes, a later
// kind of header).
#include "dib_testing.h"

#include <cstring>
#include <string>

int main(int argc, char** argv) {
    int written = 0;
    auto put = [&](const dibtest::Bytes& file) {
        return argc == 2 && bmp::WriteFile(argv[1] + ("/" + std::to_string(written++)), file);
    };
    for (const char* words : {"", "bare", "top-down", "top-down size 0", "core", "gap", "bitfields",
                              "5 colours", "header 16", "header 64", "header 52 bitfields",
                              "header 124 bitfields alpha", "rle", "header 108 rle 5 colours"}) {
        for (int bits : {1, 4, 8, 16, 24, 32}) {
            std::size_t i = std::strlen(words); // for sizes of every kind
            put(bmp::Build(dibtest::Pic(bits, words, 3 + i % 8, 2 + i % 3)));
        }
    }
    const std::uint32_t bent[][2] = {{16, 1}, {32, 65536}, {20, 3}, {0, 108}, {4, 65536}};
    for (const auto& b : bent) {
        dibtest::Bytes file = bmp::Build(dibtest::Pic(8));
        bmp::PutLe32(file, 14 + b[0], b[1]);
        if (!put(file)) {
            return 1;
        }
    }
    return 0;
}
