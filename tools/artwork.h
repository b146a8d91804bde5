// What the icon and the sample picture share: the disc's colours, matching a
// colour to a palette, and little-endian output for the files they write.
#ifndef TANDREL_TOOLS_ARTWORK_H
#define TANDREL_TOOLS_ARTWORK_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace artwork {

struct Rgb {
    double r, g, b;
};

inline Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The disc and its badge. The disc's darkest silver stays brighter, and the
// badge's lightest green darker, than the icon's black-and-white threshold, so
// that the 1-bit images keep the disc white and the badge black.
constexpr Rgb kOutline{38, 46, 62};
constexpr Rgb kSilverDark{160, 170, 188};
constexpr Rgb kSilverLight{240, 243, 250};
constexpr Rgb kHub{212, 218, 228};
constexpr Rgb kHubLine{118, 126, 142};
constexpr Rgb kBadgeTop{64, 168, 64};
constexpr Rgb kBadgeBottom{22, 112, 40};
constexpr Rgb kBadgeEdge{8, 56, 20}; // dark enough to turn black, not green, in 16 colours
constexpr Rgb kWhite{255, 255, 255};

using Palette = std::vector<Rgb>;

inline int nearest(const Palette& palette, Rgb c) {
    int best = 0;
    double bestDistance = 1e30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        // Weighted like the eye's sensitivity, so greens do not snap to greys too eagerly.
        const double dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
        const double distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

inline void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

} // namespace artwork

#endif
