// The panel at each display scale that the tests' prefixes have: 96, 144 and 192 DPI.
#include "panel_fixture.h"

namespace {

// A 24-bit picture of one colour (0xRRGGBB).
std::vector<std::uint8_t> SolidPicture(int width, int height, DWORD rgb) {
    bmp::Options options;
    options.width = width;
    options.height = height;
    std::vector<std::uint8_t> file = bmp::Build(options);
    const size_t pixels = bmp::LayoutOf(options).pixelsAt;
    for (size_t at = pixels; at < file.size(); ++at) {
        file[at] = static_cast<std::uint8_t>(rgb >> (at - pixels) % 3 * 8);
    }
    return file;
}

class Scaled : public PanelTest {};

TEST_F(Scaled, PanelPictureAndButtonsFollowTheDisplayScale) {
    // A 200 x 150 picture, its sharp twin of 400 x 300 in another colour, and
    // buttons of 100 x 30.
    const struct {
        int dpi, clientWidth, clientHeight, pictureWidth, x, buttonWidth, buttonHeight, ys[3];
        DWORD picture; // the sharp one wherever the display is scaled up
    } cases[] = {
        {96, 350, 150, 200, 225, 100, 30, {15, 55, 105}, 0xC00000},
        {144, 525, 225, 300, 337, 150, 45, {22, 82, 158}, 0x0000C0},
        {192, 700, 300, 400, 450, 200, 60, {30, 110, 210}, 0x0000C0},
    };
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    auto c = std::begin(cases);
    while (c != std::end(cases) && c->dpi != dpi) {
        ++c;
    }
    ASSERT_NE(std::end(cases), c) << "no figures for " << dpi << " DPI";

    ASSERT_TRUE(distribution_->WriteFile("panel.bmp", SolidPicture(200, 150, 0xC00000)));
    ASSERT_TRUE(distribution_->WriteFile("sharp.bmp", SolidPicture(400, 300, 0x0000C0)));
    const std::string ini = "[General]\r\nBmp=panel.bmp\r\nBmp2x=sharp.bmp\r\nButtonWidth=100\r\n"
                            "ButtonHeight=30\r\n[Button_Captions]\r\n" +
                            std::string(kThreeCaptions);
    ASSERT_TRUE(LaunchWith(ini.c_str(), 3));
    RECT client = probe::ClientRectOnScreen(window_);
    EXPECT_EQ(c->clientWidth, client.right - client.left);
    EXPECT_EQ(c->clientHeight, client.bottom - client.top);
    for (int i = 0; i < 3; ++i) {
        RECT r = probe::WindowRect(buttons_[i]);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ((std::vector<LONG>{c->x, c->ys[i], c->buttonWidth, c->buttonHeight}),
                  (std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}))
            << "button " << i;
    }

    // The picture fills its place exactly, in the colour of the file drawn.
    int wrong = 0;
    EXPECT_TRUE(probe::WaitUntil([&] {
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        std::vector<DWORD> pixels = probe::CapturePixels(
            RECT{client.left, client.top, client.left + c->pictureWidth + 1, client.bottom});
        wrong = pixels.empty() ? 1 : 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            wrong +=
                (pixels[i] == c->picture) != (int(i % (c->pictureWidth + 1)) < c->pictureWidth);
        }
        return wrong == 0;
    })) << wrong
        << " pixels wrong";
}

} // namespace
