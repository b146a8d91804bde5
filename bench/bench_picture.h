// What both contenders of bench_startup show: tandrel.exe reads this picture
// from a file beside it, the minimal window makes the same pixels in memory.
// One formula for both, so that the benchmark can also tell from the screen
// that either of them has painted it.
#ifndef TANDREL_TESTS_BENCH_BENCH_PICTURE_H
#define TANDREL_TESTS_BENCH_BENCH_PICTURE_H

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

} // namespace bench

#endif
