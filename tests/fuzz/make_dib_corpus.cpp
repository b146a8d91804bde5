// Writes the fuzzer's seed corpus: small pictures of every kind the reader
// knows, and some with info header fields it must mend or refuse (RLE8, huge
// counts and sizes, a later kind of header).
#include "dib_testing.h"

#include <string>

int main(int argc, char** argv) {
    int written = 0;
    auto put = [&](const dibtest::Bytes& file) {
        return argc == 2 && bmp::WriteFile(argv[1] + ("/" + std::to_string(written++)), file);
    };
    const char* words[] = {"",     "bare", "top-down",  "top-down size 0",
                           "core", "gap",  "bitfields", "5 colours"};
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (int i = 0; i < 8; ++i) {
            if (!put(bmp::Build(dibtest::Pic(bits, words[i], 3 + i, 2 + i % 3)))) {
                return 1;
            }
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
