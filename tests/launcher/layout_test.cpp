// The panel's geometry: window size and place, and the button column.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "launcher/layout.h"

namespace {

// A frame like Wine's for a dialog-framed window with a caption.
const int kFrameWidth = 6;
const int kFrameHeight = 25;

LayoutInput Input(int pictureWidth, int pictureHeight, int buttonWidth) {
    LayoutInput input = {};
    input.frameWidth = kFrameWidth;
    input.frameHeight = kFrameHeight;
    input.pictureWidth = pictureWidth;
    input.pictureHeight = pictureHeight;
    input.buttonWidth = buttonWidth;
    input.currentLeft = 40;
    input.currentTop = 50;
    input.haveDesktop = true;
    input.desktopWidth = 1024;
    input.desktopHeight = 768;
    return input;
}

TEST(Layout, WindowHoldsThePictureAndTheButtonColumn) {
    struct Case {
        const char* name;
        int pictureWidth, pictureHeight, buttonWidth;
        int width, height; // window size
        bool move;
    };
    const Case cases[] = {
        {"picture and 100-pixel buttons", 400, 300, 100, 556, 325, true},
        {"odd button width truncates", 400, 300, 101, 557, 325, true},
        {"zero-width buttons", 400, 300, 0, 406, 325, true},
        {"negative button width truncates toward zero", 400, 300, -3, 402, 325, true},
        {"negative width column eats the picture", 10, 300, -100, -134, 325, false},
        {"no picture: only as tall as the frame", 0, 0, 100, 156, 25, true},
        {"negative picture height", 400, -300, 100, 556, -275, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowPlacement placement =
            PlaceWindow(Input(c.pictureWidth, c.pictureHeight, c.buttonWidth));
        EXPECT_EQ(c.width, placement.width);
        EXPECT_EQ(c.height, placement.height);
        EXPECT_EQ(c.move, placement.move);
    }
}

TEST(Layout, WindowIsCentredWithTruncatedHalves) {
    struct Case {
        const char* name;
        int width, height; // window size wanted
        int left, top;
    };
    const Case cases[] = {
        {"fits", 556, 325, 234, 222},
        {"one pixel wider than the desktop", 1025, 325, 0, 222},
        {"two pixels wider: both axes go to 0", 1026, 325, 0, 0},
        {"two pixels taller: both axes go to 0", 556, 770, 0, 0},
        {"odd sizes", 555, 325, 235, 222},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The window size is made from the frame alone here.
        LayoutInput input = Input(0, 0, 0);
        input.frameWidth = c.width;
        input.frameHeight = c.height;
        WindowPlacement placement = PlaceWindow(input);
        EXPECT_EQ(c.left, placement.left);
        EXPECT_EQ(c.top, placement.top);
    }
}

TEST(Layout, WithoutADesktopTheWindowKeepsItsPlace) {
    LayoutInput input = Input(400, 300, 100);
    input.haveDesktop = false;
    WindowPlacement placement = PlaceWindow(input);
    EXPECT_EQ(40, placement.left);
    EXPECT_EQ(50, placement.top);
    EXPECT_EQ(556, placement.width);
}

TEST(Layout, HostileButtonWidthWrapsLikeThirtyTwoBitArithmetic) {
    // INT_MAX * 3 wraps to INT_MAX - 2 in 32 bits; half of it is added.
    WindowPlacement placement = PlaceWindow(Input(400, 300, INT_MAX));
    EXPECT_EQ(kFrameWidth + 400 + (INT_MAX - 2) / 2, placement.width);
    EXPECT_EQ(0, placement.left);
    EXPECT_EQ(0, placement.top);

    placement = PlaceWindow(Input(INT_MAX, 300, INT_MAX));
    EXPECT_LT(placement.width, 0);
    EXPECT_FALSE(placement.move);
}

TEST(Layout, WindowIsCentredOnTheWorkAreaOfItsMonitor) {
    struct Case {
        const char* name;
        int workLeft, workTop, workRight, workBottom, width, height, left, top;
    };
    const Case cases[] = {
        {"taskbar at the bottom", 0, 0, 1024, 728, 556, 325, 234, 202},
        {"taskbar at the top", 0, 40, 1024, 768, 556, 325, 234, 242},
        {"taskbar on the left", 60, 0, 1024, 768, 556, 325, 264, 222},
        {"taskbar on the right", 0, 0, 964, 768, 555, 325, 205, 222},
        {"monitor left of and above the primary", -1280, -1024, 0, -40, 556, 325, -918, -694},
        {"wider than the work area", -1280, 0, 0, 984, 1281, 325, -1280, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The window's size is made from the frame alone; the desktop is ignored.
        LayoutInput input = {c.width, c.height,   0,         0,           0,
                             40,      50,         true,      1024,        768,
                             true,    c.workLeft, c.workTop, c.workRight, c.workBottom};
        WindowPlacement placement = PlaceWindow(input);
        EXPECT_EQ(c.left, placement.left);
        EXPECT_EQ(c.top, placement.top);
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
    struct Case {
        const char* name;
        int clientRight, clientBottom, pictureWidth, buttonWidth, buttonHeight;
        int x, firstY, secondY, cancelY;
    };
    const Case cases[] = {
        {"picture 400 x 300, buttons 100 x 30", 550, 300, 400, 100, 30, 425, 15, 55, 255},
        {"button height 31", 550, 300, 400, 100, 31, 425, 15, 56, 254},
        {"odd column and button widths truncate", 551, 300, 400, 101, 30, 425, 15, 55, 255},
        {"no picture: buttons below a tiny client area", 150, 2, 0, 100, 30, 25, 15, 55, -43},
        {"zero-size buttons", 400, 300, 400, 0, 0, 400, 0, 0, 300},
        {"negative sizes truncate toward zero", 400, 300, 400, -3, -31, 401, -15, -56, 346},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.x, ButtonColumnX(0, c.clientRight, c.pictureWidth, c.buttonWidth));
        int y = FirstButtonY(c.buttonHeight);
        EXPECT_EQ(c.firstY, y);
        EXPECT_EQ(c.secondY, NextButtonY(y, c.buttonHeight));
        EXPECT_EQ(c.cancelY, CancelButtonY(c.clientBottom, c.buttonHeight));
    }
}

} // namespace
