// The panel as it appears: window size and place, buttons, title, icon and
// the picture on screen, pixel for pixel against the file it came from.
#include "panel_fixture.h"

namespace {

class PanelLook : public PanelTest {
  protected:
    SIZE ClientSize() const {
        RECT client = probe::ClientRectOnScreen(window_);
        return SIZE{client.right - client.left, client.bottom - client.top};
    }

    // Makes the panel paint now, then waits until `area` (in screen
    // coordinates) has no pixel that `wrong` counts, or says how many it saw.
    ::testing::AssertionResult Shows(const RECT& area,
                                     const std::function<int(const std::vector<DWORD>&)>& wrong) {
        int wrongPixels = 0;
        bool shown = probe::WaitUntil([&] {
            RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            wrongPixels = wrong(probe::CapturePixels(area));
            return wrongPixels == 0;
        });
        if (shown) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << wrongPixels << " pixels differ";
    }

    // One picture of each header kind that the panel reads, at odd sizes so
    // that row padding and every edge show; the reader's own tests cover the
    // pixel formats.
    void ExpectPicture(bmp::Options options) {
        options.width = 61;
        options.height = 37;
        ASSERT_TRUE(AddPicture(options));
        ASSERT_TRUE(LaunchWith("[General]\r\nBmp=panel.bmp\r\nButtonWidth=60\r\n"
                               "ButtonHeight=20\r\n[Button_Captions]\r\nCancelBut=Cancel\r\n",
                               1));
        RECT client = probe::ClientRectOnScreen(window_);
        RECT picture = {client.left, client.top, client.left + options.width,
                        client.top + options.height};
        EXPECT_TRUE(Shows(picture, [&](const std::vector<DWORD>& pixels) {
            int wrong = pixels.size() == size_t(options.width * options.height) ? 0 : 1;
            for (size_t i = 0; i < pixels.size(); ++i) {
                bmp::Rgb want =
                    bmp::Expected(options, int(i) % options.width, int(i) / options.width);
                wrong += pixels[i] != DWORD(want.red << 16 | want.green << 8 | want.blue);
            }
            return wrong;
        }));
    }
};

TEST_F(PanelLook, WindowHoldsThePictureAndTheButtonsCentredOnTheDesktop) {
    ASSERT_TRUE(AddPicture(PanelPicture()));
    ASSERT_TRUE(LaunchWith(PanelIni(kThreeCaptions).c_str(), 3));
    SIZE client = ClientSize();
    EXPECT_EQ(550, client.cx);
    EXPECT_EQ(300, client.cy);
    RECT desktop = probe::WindowRect(GetDesktopWindow());
    RECT rect = probe::WindowRect(window_);
    EXPECT_EQ((desktop.right - desktop.left) / 2 - (rect.right - rect.left) / 2, rect.left);
    EXPECT_EQ((desktop.bottom - desktop.top) / 2 - (rect.bottom - rect.top) / 2, rect.top);
    LONG style = probe::Style(window_);
    EXPECT_EQ(WS_DLGFRAME | WS_SYSMENU,
              style & (WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    EXPECT_EQ("Install", probe::Text(buttons_[0]));

    // Beside the picture, between the buttons: the button face's colour.
    RECT area = probe::ClientRectOnScreen(window_);
    area = {area.left + 405, area.top + 120, area.left + 545, area.top + 200};
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    DWORD want = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    EXPECT_TRUE(Shows(area, [&](const std::vector<DWORD>& pixels) {
        int wrong = 0;
        for (DWORD pixel : pixels) {
            wrong += pixel != want;
        }
        return wrong;
    }));
}

TEST_F(PanelLook, WithoutAPictureTheWindowIsOnlyItsFrameUnderItsTitle) {
    ASSERT_TRUE(LaunchWith("[General]\r\nTitleBar=Quillmere Studio 1.0 Setup\r\nButtonWidth=100\r\n"
                           "[Button_Captions]\r\nCancelBut=Cancel\r\n",
                           1));
    EXPECT_EQ("Quillmere Studio 1.0 Setup", probe::Text(window_));
    EXPECT_EQ(150, ClientSize().cx);
    // The platform keeps a captioned window a little taller than its frame.
    EXPECT_LT(ClientSize().cy, 15);
}

TEST_F(PanelLook, CaptionShowsTheProgramsOwnIcon) {
    ASSERT_TRUE(LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n", 1));
    ASSERT_TRUE(Activate());
    // The left end of the caption, where the small icon is drawn: the disc's
    // green badge shows there, which no stock icon has.
    RECT rect = probe::WindowRect(window_);
    RECT client = probe::ClientRectOnScreen(window_);
    EXPECT_TRUE(Shows(RECT{rect.left, rect.top, rect.left + 28, client.top},
                      [](const std::vector<DWORD>& pixels) {
                          int green = 0;
                          for (DWORD pixel : pixels) {
                              int r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
                              green += g > r + 40 && g > b + 40 ? 1 : 0;
                          }
                          return green >= 6 ? 0 : 1;
                      }));
}

TEST_F(PanelLook, CoreHeaderPictureAppearsAtTheClientOriginAsStored) {
    bmp::Options options;
    options.bitCount = 8;
    options.coreHeader = true;
    ExpectPicture(options);
}

TEST_F(PanelLook, InfoHeaderPictureAppearsAtTheClientOriginAsStored) {
    bmp::Options options;
    options.topDown = true;
    options.fileHeader = false;
    ExpectPicture(options);
}

} // namespace
