// The panel's geometry: the window's size and place, the picture and the
// button column, at every display scale.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "launcher/layout.h"

namespace {

// Sizes at `dpi`, in a frame like Wine's for a caption and a dialog frame at
// 96 DPI (6 x 25), all three buttons, and no area: the window stays at (40, 50).
PanelInput Input(int pictureWidth, int pictureHeight, int buttonWidth, int buttonHeight, int dpi) {
    PanelInput in = {};
    in.pictureWidth = pictureWidth, in.pictureHeight = pictureHeight;
    in.buttonWidth = buttonWidth, in.buttonHeight = buttonHeight, in.dpi = dpi;
    in.buttons[kInstallSlot] = in.buttons[kBrowseSlot] = in.buttons[kCancelSlot] = true;
    in.frame = {-3, -22, 3, 3};
    in.areaKind = ScreenArea::kNone, in.placeLeft = 40, in.placeTop = 50;
    return in;
}

std::vector<int> Edges(const Box& b) {
    return {b.left, b.top, b.right - b.left, b.bottom - b.top};
}

TEST(Layout, WindowHoldsThePictureAndTheButtonColumnCentredWithTruncatedHalves) {
    // The area: the 1024 x 768 desktop, or the edges of a work area, or none.
    const std::vector<int> desk = {0, 0, 1024, 768};
    const struct {
        const char* name;
        std::vector<int> sizes; // picture width and height, button width
        std::vector<int> area;  // left, top, right, bottom; a fifth: a desktop
        std::vector<int> want;  // left, top, width, height, moved
    } cases[] = {
        {"100-pixel buttons", {400, 300, 100}, desk, {234, 222, 556, 325, 1}},
        {"odd button width truncates", {400, 300, 101}, desk, {234, 222, 557, 325, 1}},
        {"zero-width buttons", {400, 300, 0}, desk, {309, 222, 406, 325, 1}},
        {"negative button width", {400, 300, -3}, desk, {311, 222, 402, 325, 1}},
        {"column eats the picture", {10, 300, -100}, desk, {579, 222, -134, 325, 0}},
        {"no picture", {0, 0, 100}, desk, {434, 372, 156, 25, 1}},
        {"negative picture height", {400, -300, 100}, desk, {234, 521, 556, -275, 0}},
        {"no area: stays", {400, 300, 100}, {}, {40, 50, 556, 325, 1}},
        {"as wide as the work area", {1018, 300, 0}, desk, {0, 222, 1024, 325, 1}},
        {"as tall as the work area", {400, 743, 0}, desk, {309, 0, 406, 768, 1}},
        {"a pixel wider", {1019, 300, 0}, desk, {0, 0, 1025, 325, 1}},
        {"desktop: one wider, stays", {1019, 300, 0}, {0, 0, 1024, 768, 1}, {0, 222, 1025, 325, 1}},
        {"desktop: two wider to 0, 0", {1020, 300, 0}, {0, 0, 1024, 768, 1}, {0, 0, 1026, 325, 1}},
        {"desktop: two taller to 0, 0", {550, 745, 0}, {0, 0, 1024, 768, 1}, {0, 0, 556, 770, 1}},
        {"taskbar at the bottom", {550, 300, 0}, {0, 0, 1024, 728}, {234, 202, 556, 325, 1}},
        {"taskbar at the top", {550, 300, 0}, {0, 40, 1024, 768}, {234, 242, 556, 325, 1}},
        {"taskbar on the left", {550, 300, 0}, {60, 0, 1024, 768}, {264, 222, 556, 325, 1}},
        {"taskbar on the right", {549, 300, 0}, {0, 0, 964, 768}, {205, 222, 555, 325, 1}},
        {"monitor up left", {550, 300, 0}, {-1280, -1024, 0, -40}, {-918, -694, 556, 325, 1}},
        {"over the work area", {1275, 300, 0}, {-1280, 0, 0, 984}, {-1280, 0, 1281, 325, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelInput in = Input(c.sizes[0], c.sizes[1], c.sizes[2], 30, kDefaultDpi);
        if (!c.area.empty()) {
            in.areaKind = c.area.size() == 5 ? ScreenArea::kDesktop : ScreenArea::kWorkArea;
            in.area = {c.area[0], c.area[1], c.area[2], c.area[3]};
        }
        PanelLayout out = LayOutPanel(in);
        std::vector<int> got = Edges(out.window);
        got.push_back(out.moveWindow);
        EXPECT_EQ(c.want, got);
    }
}

TEST(Layout, PictureAndButtonsInTheClientAreaAtEveryScale) {
    const struct {
        std::vector<int> in;      // DPI, picture width and height, button width and height
        const char* slots;        // the buttons the panel has, "-" for none; "+": with a sharp twin
        std::vector<int> picture; // width, height, drawn sharp, stretched
        std::vector<int> buttons; // left, width, height, then the top of each button
    } cases[] = {
        {{96, 400, 300, 100, 30}, "IBC", {400, 300, 0, 0}, {425, 100, 30, 15, 55, 255}},
        {{96, 400, 300, 100, 31}, "IBC", {400, 300, 0, 0}, {425, 100, 31, 15, 56, 254}},
        {{96, 400, 300, 100, 30}, "-BC", {400, 300, 0, 0}, {425, 100, 30, 0, 15, 255}},
        {{96, 400, 300, 101, 30}, "--C", {400, 300, 0, 0}, {425, 101, 30, 0, 0, 255}},
        {{96, 0, 0, 100, 30}, "I-C", {0, 0, 0, 0}, {25, 100, 30, 15, 0, -45}}, // Cancel above
        {{96, 400, 300, -3, -31}, "IBC", {400, 300, 0, 0}, {399, -3, -31, -15, -56, 346}},
        // Scaled: halves round away from zero; the sharp twin drawn above 100 % only.
        {{144, 401, 300, 100, 31}, "IBC", {602, 450, 0, 1}, {639, 150, 47, 23, 85, 380}},
        {{120, 400, 300, 100, 30}, "I-C+", {500, 375, 1, 1}, {531, 125, 38, 19, 0, 318}},
        {{192, 200, 150, 100, 30}, "IBC+", {400, 300, 1, 1}, {450, 200, 60, 30, 110, 210}},
        {{96, 200, 150, 100, 30}, "--C+", {200, 150, 0, 0}, {225, 100, 30, 0, 0, 105}},
        {{72, 200, 150, 100, 30}, "--C+", {150, 113, 0, 1}, {169, 75, 23, 0, 0, 79}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.slots << " at " << c.in[0] << " DPI, buttons "
                                        << c.in[3] << " x " << c.in[4]);
        PanelInput in = Input(c.in[1], c.in[2], c.in[3], c.in[4], c.in[0]);
        in.sharpPicture = c.slots[3] == '+';
        for (int slot = 0; slot < kSlotCount; ++slot) {
            in.buttons[slot] = c.slots[slot] != '-';
        }
        PanelLayout out = LayOutPanel(in);
        std::vector<int> picture = Edges(out.picture);
        picture.insert(picture.end(), {out.drawSharp, out.stretch});
        std::vector<int> want = {0, 0, c.picture[0], c.picture[1], c.picture[2], c.picture[3]};
        EXPECT_EQ(want, picture);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::vector<int>& b = c.buttons;
            want = in.buttons[slot] ? std::vector<int>{b[0], b[3 + slot], b[1], b[2]}
                                    : std::vector<int>(4);
            EXPECT_EQ(want, Edges(out.buttons[slot])) << "button " << slot;
        }
    }
    EXPECT_EQ(-47, ScaleLength(-31, 144, 96));
}

// Sizes from a hostile settings file or picture: the arithmetic never
// overflows (the sanitizers watch the native run), and a window whose size
// makes no sense is not moved.
TEST(Layout, HostileSizesNeverOverflow) {
    for (int a : {INT_MAX, INT_MIN, -1, 0}) {
        for (int b : {INT_MAX, INT_MIN, 7}) {
            for (int dpi : {96, 192, 1}) {
                PanelInput in = Input(a, b, b, a, dpi);
                in.areaKind = ScreenArea::kWorkArea;
                in.area = {0, 0, 1024, 768};
                const Box w = LayOutPanel(in).window;
                // The sides as the machine subtracts, wrapping around.
                int width = static_cast<int32_t>(static_cast<uint32_t>(w.right) - w.left);
                int height = static_cast<int32_t>(static_cast<uint32_t>(w.bottom) - w.top);
                EXPECT_EQ(LayOutPanel(in).moveWindow, width > 0 && height > 0)
                    << a << " " << b << " " << dpi;
            }
        }
    }
}

} // namespace
