// make_sample_picture: draws the panel picture of the sample distribution, the fictional
// "Quillmere Studio 1.0", and writes it as an 8-bit Windows BMP.
//
// Everything is drawn from geometry and a small built-in pixel font, so the sample carries no
// artwork of unknown origin and can be regenerated at will. The disc and its green badge echo
// Tandrel's own icon (make_icon.cpp).
//
// Usage: make_sample_picture <output.bmp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "artwork.h"

namespace {

using namespace artwork;

constexpr int kWidth = 400, kHeight = 300;

// The backdrop is a single ramp from dark to light; the gradient, the glow behind the disc and
// the disc's shadow are all positions on it, so all three quantise without banding or hue
// shifts.
constexpr Rgb kBackDark{8, 18, 44};
constexpr Rgb kBackLight{64, 122, 172};
constexpr Rgb kShadow{4, 10, 28};
constexpr Rgb kVersion{132, 214, 120};
constexpr Rgb kVendor{172, 194, 222};
constexpr Rgb kRule{112, 156, 200};

// Disc geometry in pixels; the badge sits off the lower right as on the icon.
constexpr double kDiscX = 191, kDiscY = 94, kDiscR = 72;
constexpr double kBadgeX = kDiscX + 51, kBadgeY = kDiscY + 51, kBadgeR = 41;
constexpr double kLine = 2, kGap = 3;

double backdrop(double x, double y) {
    const double gx = (x - kDiscX - 20) / 170, gy = (y - kDiscY - 20) / 130;
    const double glow = std::exp(-(gx * gx + gy * gy));
    // The shadow falls down and to the right, as if lit from the top left.
    const double sd = std::hypot(x - kDiscX - 6, y - kDiscY - 9) - kDiscR;
    const double shadow = 0.22 * std::exp(-std::max(0.0, sd) / 8);
    return std::clamp(0.1 + 0.4 * y / kHeight + 0.5 * glow - shadow, 0.0, 1.0);
}

// Play triangle pointing right, in badge-radius units, pushed right of centre because a
// centred triangle looks off-balance to the left.
bool inPlayTriangle(double x, double y) {
    const double left = -0.42, right = 0.58, half = 0.56;
    if (x < left || x > right)
        return false;
    return std::fabs(y) <= half * (right - x) / (right - left);
}

Rgb shade(double x, double y) {
    double dx = x - kBadgeX, dy = y - kBadgeY, d = std::hypot(dx, dy);
    if (d <= kBadgeR) {
        if (d > kBadgeR - kLine)
            return kBadgeEdge;
        if (inPlayTriangle(dx / kBadgeR, dy / kBadgeR))
            return kWhite;
        return mix(kBadgeTop, kBadgeBottom, (dy / kBadgeR + 1) / 2);
    }
    const Rgb back = mix(kBackDark, kBackLight, backdrop(x, y));
    // A clear gap keeps the badge visibly in front of the disc.
    if (d <= kBadgeR + kGap)
        return back;

    dx = x - kDiscX;
    dy = y - kDiscY;
    d = std::hypot(dx, dy);
    const double hole = 0.13 * kDiscR, hub = 0.36 * kDiscR;
    if (d > kDiscR || d < hole)
        return back;
    if (d > kDiscR - kLine || d < hole + kLine)
        return kOutline;
    if (d < hub)
        return d > hub - 1 ? kHubLine : kHub;
    // A disc lit from the viewer's side shows two opposite bright wedges, here along the
    // top-left to bottom-right diagonal, where dx * dy peaks.
    const double sheen = std::pow(0.5 + dx * dy / (d * d), 3);
    return mix(kSilverDark, kSilverLight, 0.2 + 0.8 * sheen);
}

// Adds n colours from a towards b; with inner set, the end points themselves are left out,
// for the blends along edges between two colours the palette already holds.
void addRamp(Palette& palette, Rgb a, Rgb b, int n, bool inner = false) {
    for (int i = 0; i < n; ++i)
        palette.push_back(mix(a, b, inner ? (i + 1.0) / (n + 1) : i / (n - 1.0)));
}

Palette makePalette() {
    Palette p;
    addRamp(p, kBackDark, kBackLight, 128);
    addRamp(p, kSilverDark, kSilverLight, 64);
    addRamp(p, kOutline, kSilverDark, 6, true);
    addRamp(p, kBadgeEdge, kBadgeBottom, 4, true);
    addRamp(p, kBadgeTop, kWhite, 6, true);
    addRamp(p, kBadgeTop, kBadgeBottom, 24);
    addRamp(p, kHubLine, kHub, 4, true);
    for (Rgb c : {kOutline, kHub, kHubLine, kBadgeEdge, kWhite, kShadow, kVersion, kVendor, kRule})
        p.push_back(c);
    // Rounded here, so the matching below sees the colours the file will hold.
    for (Rgb& c : p)
        c = {std::round(c.r), std::round(c.g), std::round(c.b)};
    return p;
}

// 5x7 glyphs, one byte a row with bit 4 the leftmost column. Only the characters the picture
// needs; widths come from the set columns, so 'I', '1' and '.' set narrower.
struct Glyph {
    char ch;
    std::uint8_t rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'0', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
};

const Glyph* findGlyph(char ch) {
    for (const Glyph& g : kFont)
        if (g.ch == ch)
            return &g;
    return nullptr; // drawn as a space
}

using Image = std::vector<Rgb>;

Rgb& at(Image& image, int x, int y) {
    return image[static_cast<std::size_t>(y) * kWidth + x];
}

// Sets s in font pixels of scale x scale from (left, top), with tracking font columns between
// letters; draws only when image is given. Returns the width in pixels.
int setText(Image* image, const std::string& s, int left, int top, int scale, int tracking,
            Rgb colour) {
    int x = left;
    for (char ch : s) {
        const Glyph* g = findGlyph(ch);
        int bits = 0;
        for (int row = 0; g && row < 7; ++row)
            bits |= g->rows[row];
        int first = 0, last = 2; // a space is three columns wide
        if (g) {
            while (!(bits & (0x10 >> first)))
                ++first;
            for (last = 4; !(bits & (0x10 >> last));)
                --last;
        }
        for (int row = 0; image && g && row < 7; ++row)
            for (int col = first; col <= last; ++col)
                if (g->rows[row] & (0x10 >> col))
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            at(*image, x + (col - first) * scale + dx, top + row * scale + dy) =
                                colour;
        x += (last - first + 1 + tracking) * scale;
    }
    return x - left - tracking * scale;
}

// Centred on centreX, over a dark drop shadow that keeps the letters crisp where the backdrop
// grows lighter.
void text(Image& image, const std::string& s, int centreX, int top, int scale, int tracking,
          Rgb colour) {
    const int left = centreX - setText(nullptr, s, 0, 0, scale, tracking, colour) / 2;
    const int offset = std::max(1, scale / 2);
    setText(&image, s, left + offset, top + offset, scale, tracking, kShadow);
    setText(&image, s, left, top, scale, tracking, colour);
}

// A one-pixel rule that fades out from `from` towards `to`.
void rule(Image& image, int from, int to, int y) {
    for (int x = std::min(from, to); x <= std::max(from, to); ++x) {
        const double t = std::abs(x - from) / double(std::abs(to - from));
        at(image, x, y) = mix(kRule, at(image, x, y), t * t);
    }
}

// 4 x 4 samples a pixel smooth the circles' edges; the text goes on afterwards in whole
// pixels and needs no smoothing.
Image render() {
    constexpr int kSamples = 4;
    Image image(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Rgb c = shade(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            const double n = kSamples * kSamples;
            at(image, x, y) = {sum.r / n, sum.g / n, sum.b / n};
        }
    }
    const int centre = kWidth / 2;
    text(image, "QUILLMERE STUDIO", centre, 202, 3, 2, kWhite);
    const int gap = setText(nullptr, "1.0", 0, 0, 2, 1, kVersion) / 2 + 12;
    rule(image, centre - gap, centre - gap - 120, 244);
    rule(image, centre + gap, centre + gap + 120, 244);
    text(image, "1.0", centre, 238, 2, 1, kVersion);
    text(image, "QUILLMERE SOFTWARE", centre, 266, 2, 1, kVendor);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_picture <output.bmp>\n");
        return 2;
    }

    const Image image = render();
    const Palette palette = makePalette();
    const int stride = (kWidth + 3) / 4 * 4;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            bits[static_cast<std::size_t>(kHeight - 1 - y) * stride + x] =
                static_cast<std::uint8_t>(
                    nearest(palette, image[static_cast<std::size_t>(y) * kWidth + x]));

    const auto paletteBytes = static_cast<std::uint32_t>(4 * palette.size());
    const std::uint32_t offBits = 14 + 40 + paletteBytes;
    std::vector<std::uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    put32(file, offBits + static_cast<std::uint32_t>(bits.size())); // bfSize
    put32(file, 0);                                                 // bfReserved1 and 2
    put32(file, offBits);
    put32(file, 40); // biSize
    put32(file, kWidth);
    put32(file, kHeight); // positive: bottom-up
    put16(file, 1);       // biPlanes
    put16(file, 8);       // biBitCount
    put32(file, 0);       // BI_RGB
    put32(file, static_cast<std::uint32_t>(bits.size()));
    put32(file, 2835); // 72 dpi
    put32(file, 2835);
    put32(file, static_cast<std::uint32_t>(palette.size())); // biClrUsed
    put32(file, 0);                                          // biClrImportant: all of them
    for (const Rgb& c : palette) {
        file.push_back(static_cast<std::uint8_t>(c.b));
        file.push_back(static_cast<std::uint8_t>(c.g));
        file.push_back(static_cast<std::uint8_t>(c.r));
        file.push_back(0);
    }
    file.insert(file.end(), bits.begin(), bits.end());

    std::ofstream stream(argv[1], std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
    stream.close();
    if (!stream) {
        std::fprintf(stderr, "make_sample_picture: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("make_sample_picture: wrote %s (%zu bytes, %zu colours)\n", argv[1], file.size(),
                palette.size());
    return 0;
}
