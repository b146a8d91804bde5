// The panel's geometry: the window's size and place, the picture and the
// button column, at every display scale.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "launcher/layout.h"

namespace {

// A frame like Wine's for a caption and a dialog frame at 96 DPI: 6 x 25.
const Box kFrame = {-3, -22, 3, 3};

std::vector<int> Edges(const Box& b) {
    return {b.left, b.top, b.right - b.left, b.bottom - b.top};
}

TEST(Layout, WindowHoldsThePictureAndTheButtonColumnCentredWithTruncatedHalves) {
    // The area: the 1024 x 768 desktop, or the edges of a work area, or none
    // (the window then stays at (40, 50)).
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
        {"desktop: a pixel wider stays on the other axis",
         {1019, 300, 0},
         {0, 0, 1024, 768, 1},
         {0, 222, 1025, 325, 1}},
        {"desktop: two wider go to (0, 0)",
         {1020, 300, 0},
         {0, 0, 1024, 768, 1},
         {0, 0, 1026, 325, 1}},
        {"desktop: two taller go to (0, 0)",
         {550, 745, 0},
         {0, 0, 1024, 768, 1},
         {0, 0, 556, 770, 1}},
        {"taskbar at the bottom", {550, 300, 0}, {0, 0, 1024, 728}, {234, 202, 556, 325, 1}},
        {"taskbar at the top", {550, 300, 0}, {0, 40, 1024, 768}, {234, 242, 556, 325, 1}},
        {"taskbar on the left", {550, 300, 0}, {60, 0, 1024, 768}, {264, 222, 556, 325, 1}},
        {"taskbar on the right", {549, 300, 0}, {0, 0, 964, 768}, {205, 222, 555, 325, 1}},
        {"monitor up left", {550, 300, 0}, {-1280, -1024, 0, -40}, {-918, -694, 556, 325, 1}},
        {"over the work area", {1275, 300, 0}, {-1280, 0, 0, 984}, {-1280, 0, 1281, 325, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelInput in = {};
        in.pictureWidth = c.sizes[0];
        in.pictureHeight = c.sizes[1];
        in.buttonWidth = c.sizes[2];
        in.buttonHeight = 30;
        in.dpi = kDefaultDpi;
        in.frame = kFrame;
        in.placeLeft = 40;
        in.placeTop = 50;
        in.areaKind = c.area.empty()       ? ScreenArea::kNone
                      : c.area.size() == 5 ? ScreenArea::kDesktop
                                           : ScreenArea::kWorkArea;
        if (!c.area.empty()) {
            in.area = {c.area[0], c.area[1], c.area[2], c.area[3]};
        }
        PanelLayout out = LayOutPanel(in);
        std::vector<int> got = Edges(out.window);
        got.push_back(out.moveWindow);
        EXPECT_EQ(c.want, got);
    }
}

TEST(Layout, PictureAndButtonsInTheClientAreaAtEveryScale) {
    // Buttons: left, top, width, height by slot; none where empty.
    using Boxes = std::vector<std::vector<int>>;
    const struct {
        const char* name;
        int dpi;
        std::vector<int> sizes; // picture width and height, button width and height
        std::vector<bool> slots;
        bool sharp;
        std::vector<int> picture; // left, top, width, height, drawn sharp, stretched
        Boxes buttons;
    } cases[] = {
        {"picture 400 x 300, buttons 100 x 30",
         96,
         {400, 300, 100, 30},
         {1, 1, 1},
         false,
         {0, 0, 400, 300, 0, 0},
         {{425, 15, 100, 30}, {425, 55, 100, 30}, {425, 255, 100, 30}}},
        {"button height 31: steps of 41",
         96,
         {400, 300, 100, 31},
         {1, 1, 1},
         false,
         {0, 0, 400, 300, 0, 0},
         {{425, 15, 100, 31}, {425, 56, 100, 31}, {425, 254, 100, 31}}},
        {"no Install: Browse at the top",
         96,
         {400, 300, 100, 30},
         {0, 1, 1},
         false,
         {0, 0, 400, 300, 0, 0},
         {{}, {425, 15, 100, 30}, {425, 255, 100, 30}}},
        {"Cancel alone at the bottom",
         96,
         {400, 300, 101, 30},
         {0, 0, 1},
         false,
         {0, 0, 400, 300, 0, 0},
         {{}, {}, {425, 255, 101, 30}}},
        {"no picture: Cancel above the client area",
         96,
         {0, 0, 100, 30},
         {1, 0, 1},
         false,
         {0, 0, 0, 0, 0, 0},
         {{25, 15, 100, 30}, {}, {25, -45, 100, 30}}},
        {"negative sizes truncate toward zero",
         96,
         {400, 300, -3, -31},
         {1, 1, 1},
         false,
         {0, 0, 400, 300, 0, 0},
         {{399, -15, -3, -31}, {399, -56, -3, -31}, {399, 346, -3, -31}}},
        {"150 %: halves round away from zero",
         144,
         {401, 300, 100, 31},
         {1, 1, 1},
         false,
         {0, 0, 602, 450, 0, 1},
         {{639, 23, 150, 47}, {639, 85, 150, 47}, {639, 380, 150, 47}}},
        {"125 %: the sharp twin drawn",
         120,
         {400, 300, 100, 30},
         {1, 0, 1},
         true,
         {0, 0, 500, 375, 1, 1},
         {{531, 19, 125, 38}, {}, {531, 318, 125, 38}}},
        {"200 %",
         192,
         {200, 150, 100, 30},
         {1, 1, 1},
         true,
         {0, 0, 400, 300, 1, 1},
         {{450, 30, 200, 60}, {450, 110, 200, 60}, {450, 210, 200, 60}}},
        {"100 %: the twin is not wanted",
         96,
         {200, 150, 100, 30},
         {0, 0, 1},
         true,
         {0, 0, 200, 150, 0, 0},
         {{}, {}, {225, 105, 100, 30}}},
        {"75 %: smaller, never sharp",
         72,
         {200, 150, 100, 30},
         {0, 0, 1},
         true,
         {0, 0, 150, 113, 0, 1},
         {{}, {}, {169, 79, 75, 23}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelInput in = {};
        in.pictureWidth = c.sizes[0];
        in.pictureHeight = c.sizes[1];
        in.buttonWidth = c.sizes[2];
        in.buttonHeight = c.sizes[3];
        in.sharpPicture = c.sharp;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            in.buttons[slot] = c.slots[slot];
        }
        in.dpi = c.dpi;
        in.frame = kFrame;
        PanelLayout out = LayOutPanel(in);
        std::vector<int> picture = Edges(out.picture);
        picture.push_back(out.drawSharp);
        picture.push_back(out.stretch);
        EXPECT_EQ(c.picture, picture);
        Boxes buttons;
        for (const Box& button : out.buttons) {
            buttons.push_back(button.right || button.bottom || button.left || button.top
                                  ? Edges(button)
                                  : std::vector<int>{});
        }
        EXPECT_EQ(c.buttons, buttons);
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
                PanelInput in = {};
                in.pictureWidth = in.buttonHeight = a;
                in.pictureHeight = in.buttonWidth = b;
                in.buttons[kInstallSlot] = in.buttons[kCancelSlot] = true;
                in.dpi = dpi;
                in.frame = kFrame;
                in.areaKind = ScreenArea::kWorkArea;
                in.area = {0, 0, 1024, 768};
                PanelLayout out = LayOutPanel(in);
                const Box& w = out.window;
                auto side = [](int from, int to) {
                    return static_cast<int32_t>(static_cast<uint32_t>(to) -
                                                static_cast<uint32_t>(from));
                };
                EXPECT_EQ(out.moveWindow, side(w.left, w.right) > 0 && side(w.top, w.bottom) > 0)
                    << a << " " << b << " " << dpi;
            }
        }
    }
}

} // namespace
