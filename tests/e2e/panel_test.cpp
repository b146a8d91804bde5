// The panel as it appears: window size and place, buttons, title and icon.
#include "panel_fixture.h"

#include "bmp_builder.h"

namespace {

class PanelLayout : public PanelTest {
  protected:
    static std::string Ini(const std::string& general, const std::string& captions) {
        return "[General]\r\n" + general + "[Button_Captions]\r\n" + captions;
    }

    SIZE ClientSize() const {
        RECT client = probe::ClientRectOnScreen(window_);
        return SIZE{client.right - client.left, client.bottom - client.top};
    }

    // Where the window is against where the desktop's centre puts a window
    // with a client area of the given height.
    void ExpectCentred(int clientHeight) const {
        RECT desktop = probe::WindowRect(GetDesktopWindow());
        RECT rect = probe::WindowRect(window_);
        int width = rect.right - rect.left;
        int height = rect.bottom - rect.top - ClientSize().cy + clientHeight;
        EXPECT_EQ((desktop.right - desktop.left) / 2 - width / 2, rect.left);
        EXPECT_EQ((desktop.bottom - desktop.top) / 2 - height / 2, rect.top);
    }

    void ExpectButton(size_t index, const char* caption, int x, int y) const {
        SCOPED_TRACE(caption);
        ASSERT_LT(index, buttons_.size());
        HWND button = buttons_[index];
        EXPECT_EQ(caption, probe::Text(button));
        RECT rect = probe::RectInParent(button);
        EXPECT_EQ(x, rect.left);
        EXPECT_EQ(y, rect.top);
        EXPECT_EQ(100, rect.right - rect.left);
        EXPECT_EQ(30, rect.bottom - rect.top);
        EXPECT_EQ(0, GetDlgCtrlID(button));
        EXPECT_EQ(0, probe::Style(button) & WS_TABSTOP);
    }
};

const char kButtonSize[] = "ButtonWidth=100\r\nButtonHeight=30\r\n";

TEST_F(PanelLayout, PictureAndThreeButtons) {
    AddPicture(400, 300);
    LaunchWith(Ini(std::string("Bmp=panel.bmp\r\n") + kButtonSize, kThreeCaptions));
    SIZE client = ClientSize();
    EXPECT_EQ(550, client.cx);
    EXPECT_EQ(300, client.cy);
    ExpectCentred(300);
    ASSERT_EQ(3u, buttons_.size());
    ExpectButton(0, "Install", 425, 15);
    ExpectButton(1, "Browse", 425, 55);
    ExpectButton(2, "Cancel", 425, 255);
    ActivateWithFocus();
    EXPECT_TRUE(FocusAndFrameOn(buttons_[0]));
}

TEST_F(PanelLayout, EmptySlotsLeaveNoGap) {
    struct Case {
        const char* name;
        const char* captions;
        std::vector<int> ys;
    };
    const Case cases[] = {
        {"Install and Cancel", kInstallAndCancel, {15, 255}},
        {"Browse and Cancel", "BrowseBut=Browse\r\nCancelBut=Cancel\r\n", {15, 255}},
        {"only Cancel", "CancelBut=Cancel\r\n", {255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        distribution_ = std::make_unique<Distribution>();
        Panel panel;
        AddPicture(400, 300);
        ASSERT_TRUE(distribution_->WriteIni(
            Ini(std::string("Bmp=panel.bmp\r\n") + kButtonSize, c.captions)));
        ASSERT_TRUE(panel.Start(*distribution_));
        window_ = panel.WaitForWindow();
        ASSERT_TRUE(window_);
        buttons_ = probe::Buttons(window_);
        ASSERT_EQ(c.ys.size(), buttons_.size());
        for (size_t i = 0; i < buttons_.size(); ++i) {
            EXPECT_EQ(c.ys[i], probe::RectInParent(buttons_[i]).top);
        }
        // The first button created has the focus and the frame.
        ASSERT_TRUE(probe::Activate(window_));
        EXPECT_TRUE(FocusAndFrameOn(buttons_[0]));
    }
}

TEST_F(PanelLayout, WithoutAPictureTheWindowIsOnlyItsFrame) {
    LaunchWith(Ini(kButtonSize, kThreeCaptions));
    RECT rect = probe::WindowRect(window_);
    SIZE client = ClientSize();
    EXPECT_EQ(150, client.cx);
    // The platform keeps a captioned window a little taller than its frame;
    // the buttons lie below the client area.
    EXPECT_LT(client.cy, 15) << "window height " << rect.bottom - rect.top;
    // Centred as asked, before the platform made it taller.
    ExpectCentred(0);
}

TEST_F(PanelLayout, PictureLargerThanTheDesktopPutsTheWindowAtTheOrigin) {
    AddPicture(1100, 200);
    LaunchWith(Ini(std::string("Bmp=panel.bmp\r\n") + kButtonSize, kThreeCaptions));
    RECT rect = probe::WindowRect(window_);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top) << "both axes go to 0 when one overflows";
}

TEST_F(PanelLayout, TopDownPictureHasItsTrueSize) {
    AddPicture(400, 300, true);
    LaunchWith(Ini(std::string("Bmp=panel.bmp\r\n") + kButtonSize, kThreeCaptions));
    SIZE client = ClientSize();
    EXPECT_EQ(550, client.cx);
    EXPECT_EQ(300, client.cy);
    ExpectButton(2, "Cancel", 425, 255);
}

TEST_F(PanelLayout, DeepDistributionFolderStillShowsThePicture) {
    // Unpacked deep inside a download folder: the picture's full path is far
    // longer than the 128 bytes of the platform's oldest way of opening files.
    std::string deep = distribution_->MakeFolderOfLength(200);
    ASSERT_FALSE(deep.empty());
    std::string relative = deep.substr(distribution_->Path().size() + 1);
    AddPicture(400, 300, false, relative + "\\panel.bmp");
    ASSERT_TRUE(distribution_->WriteFile(
        relative + "\\tandrel.ini",
        Ini(std::string("Bmp=panel.bmp\r\n") + kButtonSize, kThreeCaptions)));
    Launch(deep);
    SIZE client = ClientSize();
    EXPECT_EQ(550, client.cx);
    EXPECT_EQ(300, client.cy);
}

TEST_F(PanelLayout, TitleBarReplacesTheDefaultTitle) {
    LaunchWith(Ini("TitleBar=Quillmere Studio 1.0 Setup\r\n", "CancelBut=Cancel\r\n"));
    EXPECT_EQ("Quillmere Studio 1.0 Setup", probe::Text(window_));
}

// An icon file with one 24 x 24 image, a size the program's own icon lacks.
std::vector<unsigned char> IconFile24() {
    const int size = 24;
    const uint32_t colourBytes = size * size * 4;
    const uint32_t maskBytes = size * 4; // 1 bit a pixel, rows of 4 bytes
    const uint32_t imageBytes = 40 + colourBytes + maskBytes;
    std::vector<unsigned char> file(6 + 16 + imageBytes, 0);
    bmp::PutLe16(file, 2, 1); // an icon
    bmp::PutLe16(file, 4, 1); // one image
    file[6] = size;
    file[7] = size;
    bmp::PutLe16(file, 10, 1);  // planes
    bmp::PutLe16(file, 12, 32); // bits
    bmp::PutLe32(file, 14, imageBytes);
    bmp::PutLe32(file, 18, 22);
    bmp::PutLe32(file, 22, 40);
    bmp::PutLe32(file, 26, size);
    bmp::PutLe32(file, 30, 2 * size);
    bmp::PutLe16(file, 34, 1);
    bmp::PutLe16(file, 36, 32);
    for (uint32_t i = 0; i < colourBytes; i += 4) {
        file[62 + i + 2] = 0xC0; // opaque red
        file[62 + i + 3] = 0xFF;
    }
    return file;
}

// The left end of the active window's caption, where the platform draws the
// window's small icon.
std::vector<DWORD> CaptionIconArea(HWND window) {
    RECT rect = probe::WindowRect(window);
    RECT client = probe::ClientRectOnScreen(window);
    return probe::CapturePixels(RECT{rect.left, rect.top, rect.left + 28, client.top});
}

TEST_F(PanelLayout, SysMenuIconFileReplacesTheProgramsIcon) {
    ASSERT_TRUE(distribution_->WriteFile("small.ico", IconFile24()));
    struct Case {
        const char* name;
        const char* general;
        std::vector<DWORD> captionIcon;
    };
    Case cases[] = {
        {"no icon file named", "", {}},
        {"missing icon file", "SysMenuIcon=missing.ico\r\n", {}},
        {"icon file", "SysMenuIcon=small.ico\r\n", {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Panel panel;
        ASSERT_TRUE(distribution_->WriteIni(Ini(c.general, "CancelBut=Cancel\r\n")));
        ASSERT_TRUE(panel.Start(*distribution_));
        HWND window = panel.WaitForWindow();
        ASSERT_TRUE(window);
        ASSERT_TRUE(probe::Activate(window));
        ASSERT_TRUE(panel.WaitForIdle());
        c.captionIcon = CaptionIconArea(window);
    }
    EXPECT_EQ(cases[0].captionIcon, cases[1].captionIcon) << "a missing file changed the icon";
    int iconFilePixels = 0;
    for (DWORD pixel : cases[2].captionIcon) {
        iconFilePixels += pixel == 0xC00000 ? 1 : 0;
    }
    EXPECT_GE(iconFilePixels, 100) << "the caption does not show the icon file";
}

} // namespace
