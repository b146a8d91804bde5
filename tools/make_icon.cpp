// make_icon: draws Tandrel's application icon and writes it as a Windows .ico file.
//
// The picture is an optical disc with a green "launch" badge. It is computed from geometry
// at each size rather than scaled from a master bitmap, so the small sizes keep one-pixel
// outlines instead of blurring them away.
//
// The file holds only the images that Windows shows: 16, 32 and 48 pixels, in 32-bit colour
// with alpha. Windows XP and later draw those at every colour depth. The system picks the size
// nearest the one it needs, at or below it: 16 for captions and lists at 100 %, 32 for the
// large icon at 100 % and the small one at 200 %, 48 for XP's tiles, the larger views of later
// Explorers and the large icon at 150 %; it scales the nearest for the sizes between. Images of
// 16 or 256 colours serve only displays of that many colours, where Windows reduces this one;
// Windows 8 and later run none.
//
// Usage: make_icon <output.ico>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "artwork.h"

namespace {

using namespace artwork;

struct Pixel {
    std::uint8_t r, g, b, a; // straight (not premultiplied) alpha, as .ico expects
};

constexpr double kPi = 3.14159265358979323846;

// A pale rainbow, for the diffraction colours at the edges of the disc's highlight.
Rgb rainbow(double hue) {
    auto channel = [hue](double offset) {
        return 255 * (0.75 + 0.25 * std::cos(2 * kPi * (hue - offset)));
    };
    return {channel(0), channel(1.0 / 3), channel(2.0 / 3)};
}

// Play triangle pointing right, in badge-radius units; pushed right of centre because a
// centred triangle looks off-balance to the left.
bool inPlayTriangle(double x, double y) {
    const double left = -0.5, right = 0.62, half = 0.62;
    if (x < left || x > right)
        return false;
    return std::fabs(y) <= half * (right - x) / (right - left);
}

// Circles centred on pixel corners come out symmetric when sampled once per pixel.
double snap(double v, double px) {
    return std::round(v / px) * px;
}

// Colour of the icon at (x, y), both in [0, 1] with y downwards; px is one pixel in those
// units. Returns false where the icon is transparent.
bool shade(double x, double y, double px, Rgb& out) {
    // Outlines never drop below one pixel, or they would vanish at 16x16.
    const double line = std::max(px, 1.0 / 32);

    const double bx = snap(0.75, px), by = bx, br = 0.25;
    double dx = x - bx, dy = y - by, d = std::hypot(dx, dy);
    if (d <= br) {
        if (d > br - line)
            out = kBadgeEdge;
        else if (inPlayTriangle(dx / br, dy / br))
            out = kWhite;
        else
            out = mix(kBadgeTop, kBadgeBottom, (dy / br + 1) / 2);
        return true;
    }
    // A transparent gap keeps the badge apart from the disc, even in black and white.
    if (d <= br + line)
        return false;

    const double cx = snap(0.44, px), cy = cx, radius = snap(0.44, px);
    dx = x - cx;
    dy = y - cy;
    d = std::hypot(dx, dy);
    const double hole = std::max(0.13 * radius, 1.5 * px);
    const double hub = std::max(0.36 * radius, hole + line + 1.5 * px);
    if (d > radius || d < hole)
        return false;
    if (d > radius - line || d < hole + line) {
        out = kOutline;
        return true;
    }
    if (d < hub) {
        // The clear ring's edge only clutters the smallest size.
        out = px < 1.0 / 24 && d > hub - px ? kHubLine : kHub;
        return true;
    }
    // A disc lit from the viewer's side shows two opposite bright wedges, here along the
    // top-left to bottom-right diagonal, with faint colour fringes at their edges.
    const double angle = std::atan2(dy, dx);
    const double sheen = std::pow(0.5 + 0.5 * std::cos(2 * (angle - kPi / 4)), 3);
    const Rgb metal = mix(kSilverDark, kSilverLight, 0.2 + 0.8 * sheen);
    const double fringe = 0.35 * std::sin(kPi * std::min(1.0, 1.6 * sheen));
    out = mix(metal, rainbow((d - hub) / (radius - hub) + angle / kPi), fringe);
    return true;
}

// Renders the icon at size x size, with 8 x 8 samples per pixel for smooth edges.
std::vector<Pixel> render(int size) {
    const int samples = 8;
    std::vector<Pixel> image(static_cast<std::size_t>(size) * size);
    const double px = 1.0 / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0;
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    Rgb c{};
                    if (shade((x + (sx + 0.5) / samples) * px, (y + (sy + 0.5) / samples) * px, px,
                              c)) {
                        r += c.r;
                        g += c.g;
                        b += c.b;
                        ++hits;
                    }
                }
            }
            Pixel& p = image[static_cast<std::size_t>(y) * size + x];
            if (hits == 0) {
                p = {0, 0, 0, 0};
                continue;
            }
            auto to8 = [](double v) {
                return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
            };
            p = {to8(r / hits), to8(g / hits), to8(b / hits),
                 to8(255.0 * hits / (samples * samples))};
        }
    }
    return image;
}

int stride(int width, int bpp) {
    return (width * bpp + 31) / 32 * 4;
}

// One icon image: BITMAPINFOHEADER (height doubled for the colour and mask bitmaps), the
// 32-bit colour bitmap with its alpha, and the AND mask, both bottom-up. Windows draws
// through the alpha; the mask serves callers that draw without it.
std::vector<std::uint8_t> encodeImage(int size) {
    const std::vector<Pixel> image = render(size);
    const int xorStride = stride(size, 32), andStride = stride(size, 1);
    std::vector<std::uint8_t> xorBits(static_cast<std::size_t>(xorStride) * size);
    std::vector<std::uint8_t> andBits(static_cast<std::size_t>(andStride) * size);

    for (int y = 0; y < size; ++y) {
        std::uint8_t* xorRow = &xorBits[static_cast<std::size_t>(size - 1 - y) * xorStride];
        std::uint8_t* andRow = &andBits[static_cast<std::size_t>(size - 1 - y) * andStride];
        for (int x = 0; x < size; ++x) {
            const Pixel& p = image[static_cast<std::size_t>(y) * size + x];
            if (p.a == 0)
                andRow[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            std::uint8_t* q = &xorRow[x * 4];
            q[0] = p.b;
            q[1] = p.g;
            q[2] = p.r;
            q[3] = p.a;
        }
    }

    std::vector<std::uint8_t> out;
    put32(out, 40); // biSize
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(2 * size));
    put16(out, 1);  // biPlanes
    put16(out, 32); // biBitCount
    put32(out, 0);  // BI_RGB
    put32(out, static_cast<std::uint32_t>(xorBits.size() + andBits.size()));
    put32(out, 0); // biXPelsPerMeter
    put32(out, 0); // biYPelsPerMeter
    put32(out, 0); // biClrUsed
    put32(out, 0); // biClrImportant
    out.insert(out.end(), xorBits.begin(), xorBits.end());
    out.insert(out.end(), andBits.begin(), andBits.end());
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output.ico>\n");
        return 2;
    }

    const int sizes[] = {48, 32, 16};
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : sizes)
        images.push_back(encodeImage(size));

    std::vector<std::uint8_t> file;
    put16(file, 0); // reserved
    put16(file, 1); // type: icon
    put16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        // Width, height, colour count (0: more than 256), reserved, planes, bit count, image
        // size and offset.
        const auto side = static_cast<std::uint8_t>(sizes[i]);
        file.insert(file.end(), {side, side, 0, 0});
        put16(file, 1);
        put16(file, 32);
        put32(file, static_cast<std::uint32_t>(images[i].size()));
        put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());

    std::ofstream stream(argv[1], std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
    stream.close();
    if (!stream) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("make_icon: wrote %s (%zu bytes, %zu images)\n", argv[1], file.size(),
                images.size());
    return 0;
}
