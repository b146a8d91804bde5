// What both contenders of bench_startup show: tandrel.exe reads this picture
// from a file beside it, the minimal window makes the same pixels in memory.
// One formula for both, so that the benchmark can also tell from the screen
// that either of them has painted it. And the header of the bitmap files that
// the benchmarks write.
#ifndef TANDREL_BENCH_BENCH_PICTURE_H
#define TANDREL_BENCH_BENCH_PICTURE_H

namespace bench {

const int kPictureWidth = 400;
const int kPictureHeight = 300;
// The panel's button column is one and a half button widths; the minimal
// window takes the same client area so that both put as many pixels on screen.
const int kButtonWidth = 130;
const int kButtonHeight = 30;
const int kClientWidth = kPictureWidth + kButtonWidth * 3 / 2;
const int kClientHeight = kPictureHeight;

const char kFloorClass[] = "TANDREL_BENCH_FLOOR";

// The colour of column x, row y counted from the top, as 0x00RRGGBB. Every
// channel varies, so that a half-drawn or shifted picture does not match.
inline unsigned long PictureColour(int x, int y) {
    unsigned long red = static_cast<unsigned long>(x * 5 + y) & 0xFFu;
    unsigned long green = static_cast<unsigned long>(y * 3 + x / 7) & 0xFFu;
    unsigned long blue = static_cast<unsigned long>(x ^ y) & 0xFFu;
    return red << 16 | green << 8 | blue;
}

const int kBitmapHeaderBytes = 54;

// The file and info headers of a bottom-up 24-bit bitmap file, whose rows
// (blue, green, red, padded to 4 bytes) follow them.
inline void BitmapHeader(int width, int height, unsigned char* out) {
    unsigned long rowsBytes =
        static_cast<unsigned long>((width * 3 + 3) / 4 * 4) * static_cast<unsigned long>(height);
    const unsigned long fields[][2] = {// offset, value; 2 bytes for "BM", planes, bits
                                       {0, 0x4D42},
                                       {2, kBitmapHeaderBytes + rowsBytes},
                                       {10, kBitmapHeaderBytes},
                                       {14, 40},
                                       {18, static_cast<unsigned long>(width)},
                                       {22, static_cast<unsigned long>(height)},
                                       {26, 1},
                                       {28, 24},
                                       {34, rowsBytes}};
    for (int i = 0; i < kBitmapHeaderBytes; ++i) {
        out[i] = 0;
    }
    for (const auto& field : fields) {
        int bytes = field[0] == 0 || field[0] == 26 || field[0] == 28 ? 2 : 4;
        for (int b = 0; b < bytes; ++b) {
            out[field[0] + b] = static_cast<unsigned char>(field[1] >> (8 * b));
        }
    }
}

} // namespace bench

#endif
