// The panel's geometry: window size and place, and the button column.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "launcher/layout.h"

namespace {

TEST(Layout, WindowHoldsThePictureAndTheButtonColumnCentredWithTruncatedHalves) {
    // A frame like Wine's for a dialog frame with a caption, or the whole window;
    // the area: the 1024 x 768 desktop, also the edges of a work area (which
    // take its place), or none. The window is at (40, 50) before.
    const std::vector<int> desk = {1024, 768};
    const struct {
        const char* name;
        std::vector<int> sizes; // frame width and height, picture width and height, button width
        std::vector<int> area;
        std::vector<int> want; // left, top, width, height, moved
    } cases[] = {
        {"100-pixel buttons", {6, 25, 400, 300, 100}, desk, {234, 222, 556, 325, 1}},
        {"odd button width truncates", {6, 25, 400, 300, 101}, desk, {234, 222, 557, 325, 1}},
        {"zero-width buttons", {6, 25, 400, 300, 0}, desk, {309, 222, 406, 325, 1}},
        {"negative button width", {6, 25, 400, 300, -3}, desk, {311, 222, 402, 325, 1}},
        {"column eats the picture", {6, 25, 10, 300, -100}, desk, {579, 222, -134, 325, 0}},
        {"no picture", {6, 25, 0, 0, 100}, desk, {434, 372, 156, 25, 1}},
        {"negative picture height", {6, 25, 400, -300, 100}, desk, {234, 521, 556, -275, 0}},
        {"no desktop: stays", {6, 25, 400, 300, 100}, {}, {40, 50, 556, 325, 1}},
        {"a pixel wider than the desktop", {1025, 325, 0, 0, 0}, desk, {0, 222, 1025, 325, 1}},
        {"two wider: both axes go to 0", {1026, 325, 0, 0, 0}, desk, {0, 0, 1026, 325, 1}},
        {"two taller: both axes go to 0", {556, 770, 0, 0, 0}, desk, {0, 0, 556, 770, 1}},
        // INT_MAX * 3 wraps to INT_MAX - 2 in 32 bits; half of it is added.
        {"hostile button width", {6, 25, 400, 300, INT_MAX}, desk, {0, 0, 1073742228, 325, 1}},
        {"hostile", {6, 25, INT_MAX, 300, INT_MAX}, desk, {536871422, 222, -1073741821, 325, 0}},
        {"taskbar at the bottom", {556, 325, 0, 0, 0}, {0, 0, 1024, 728}, {234, 202, 556, 325, 1}},
        {"taskbar at the top", {556, 325, 0, 0, 0}, {0, 40, 1024, 768}, {234, 242, 556, 325, 1}},
        {"taskbar on the left", {556, 325, 0, 0, 0}, {60, 0, 1024, 768}, {264, 222, 556, 325, 1}},
        {"taskbar on the right", {555, 325, 0, 0, 0}, {0, 0, 964, 768}, {205, 222, 555, 325, 1}},
        {"monitor up left", {556, 325, 0, 0, 0}, {-1280, -1024, 0, -40}, {-918, -694, 556, 325, 1}},
        {"over the work area", {1281, 325, 0, 0, 0}, {-1280, 0, 0, 984}, {-1280, 0, 1281, 325, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int>& s = c.sizes;
        std::vector<int> w = c.area;
        w.resize(4);
        LayoutInput in = {
            s[0], s[1], s[2], s[3], s[4], 40, 50, !c.area.empty(), 1024, 768, c.area.size() == 4,
            w[0], w[1], w[2], w[3]};
        WindowPlacement p = PlaceWindow(in);
        EXPECT_EQ(c.want, (std::vector<int>{p.left, p.top, p.width, p.height, p.move}));
    }
}

TEST(Layout, PanelLengthsFollowTheDisplayScale) {
    // A 401 x 300 picture and 100 x 31 buttons; halves round away from zero.
    const struct {
        int dpi;
        std::vector<int> lengths; // picture width and height, button width and height
    } cases[] = {{96, {401, 300, 100, 31}},
                 {120, {501, 375, 125, 39}},
                 {144, {602, 450, 150, 47}},
                 {192, {802, 600, 200, 62}}};
    for (const auto& c : cases) {
        PanelMetrics m = ScalePanel(401, 300, 100, 31, c.dpi);
        EXPECT_EQ(c.lengths, (std::vector<int>{m.pictureWidth, m.pictureHeight, m.buttonWidth,
                                               m.buttonHeight}))
            << c.dpi << " DPI";
    }
    EXPECT_EQ(-47, ScaleLength(-31, 144, 96));
}

TEST(Layout, ButtonColumn) {
    const struct {
        const char* name;
        int clientRight, clientBottom, pictureWidth, buttonWidth, buttonHeight;
        int x, firstY, secondY, cancelY;
    } cases[] = {
        {"picture 400 x 300, buttons 100 x 30", 550, 300, 400, 100, 30, 425, 15, 55, 255},
        {"button height 31", 550, 300, 400, 100, 31, 425, 15, 56, 254},
        {"odd column and button widths truncate", 551, 300, 400, 101, 30, 425, 15, 55, 255},
        {"no picture: buttons below a tiny client area", 150, 2, 0, 100, 30, 25, 15, 55, -43},
        {"zero-size buttons", 400, 300, 400, 0, 0, 400, 0, 0, 300},
        {"negative sizes truncate toward zero", 400, 300, 400, -3, -31, 401, -15, -56, 346},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.x, ButtonColumnX(0, c.clientRight, c.pictureWidth, c.buttonWidth));
        int y = FirstButtonY(c.buttonHeight);
        EXPECT_EQ(c.firstY, y);
        EXPECT_EQ(c.secondY, NextButtonY(y, c.buttonHeight));
        EXPECT_EQ(c.cancelY, CancelButtonY(c.clientBottom, c.buttonHeight));
    }
}

} // namespace
