// The picture on screen, pixel for pixel against the file it came from.
#include "panel_fixture.h"

#include <cstdio>

#include "bmp_builder.h"

namespace {

class Pixels : public PanelTest {};

std::string Describe(const bmp::Options& options) {
    char text[128];
    snprintf(text, sizeof(text), "%d bits%s%s%s gap %u", options.bitCount,
             options.coreHeader ? ", core header" : "", options.topDown ? ", top-down" : "",
             options.fileHeader ? "" : ", no file header", options.gap);
    return text;
}

TEST_F(Pixels, PictureAppearsAtTheClientOriginAsStored) {
    std::vector<bmp::Options> pictures;
    for (int bits : {1, 4, 8, 24}) {
        bmp::Options options;
        options.bitCount = bits;
        pictures.push_back(options);
    }
    bmp::Options core;
    core.bitCount = 8;
    core.coreHeader = true;
    pictures.push_back(core);
    bmp::Options gap;
    gap.bitCount = 4;
    gap.gap = 37;
    pictures.push_back(gap);
    bmp::Options topDown;
    topDown.topDown = true;
    pictures.push_back(topDown);
    topDown.statedSizeImage = false;
    pictures.push_back(topDown);
    bmp::Options bare;
    bare.bitCount = 8;
    bare.fileHeader = false;
    pictures.push_back(bare);

    for (bmp::Options& options : pictures) {
        // Odd sizes, so that row padding and every edge show.
        options.width = 61;
        options.height = 37;
        SCOPED_TRACE(Describe(options));
        distribution_ = std::make_unique<Distribution>();
        Panel panel;
        ASSERT_TRUE(bmp::WriteFile(distribution_->PathOf("panel.bmp"), bmp::Build(options)));
        ASSERT_TRUE(distribution_->WriteIni(
            "[General]\r\nBmp=panel.bmp\r\nButtonWidth=60\r\nButtonHeight=20\r\n"
            "[Button_Captions]\r\nCancelBut=Cancel\r\n"));
        ASSERT_TRUE(panel.Start(*distribution_));
        HWND window = panel.WaitForWindow();
        ASSERT_TRUE(window);
        ASSERT_TRUE(probe::Activate(window));
        ASSERT_TRUE(panel.WaitForIdle());

        RECT client = probe::ClientRectOnScreen(window);
        RECT picture = {client.left, client.top, client.left + options.width,
                        client.top + options.height};
        std::vector<DWORD> pixels = probe::CapturePixels(picture);
        ASSERT_EQ(static_cast<size_t>(options.width * options.height), pixels.size());
        int wrong = 0;
        for (int y = 0; y < options.height; ++y) {
            for (int x = 0; x < options.width; ++x) {
                bmp::Rgb want = bmp::Expected(options, x, y);
                DWORD got = pixels[y * options.width + x];
                DWORD wanted = want.red << 16 | want.green << 8 | want.blue;
                if (got != wanted && wrong++ == 0) {
                    ADD_FAILURE() << "first wrong pixel at (" << x << ", " << y << "): got "
                                  << std::hex << got << ", want " << wanted;
                }
            }
        }
        EXPECT_EQ(0, wrong) << "pixels that differ";
    }
}

} // namespace
