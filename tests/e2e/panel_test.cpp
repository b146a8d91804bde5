// The panel as it appears: window size and place, buttons, title, icon and
// the picture filling its place on screen (the picture's tests under Wine
// compare its every pixel), at each display scale that the tests' prefixes
// have: 96, 144 and 192 DPI.
#include "panel_fixture.h"

#include <climits>

namespace {

class PanelLook : public PanelTest {
  protected:
    // Makes the panel paint now, then waits until `area` (in screen
    // coordinates) has no pixel that `wrong` counts, or says how many it saw.
    ::testing::AssertionResult Shows(const RECT& area,
                                     const std::function<int(const std::vector<DWORD>&)>& wrong) {
        int wrongPixels = 0;
        bool shown = probe::WaitUntil([&] {
            RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            std::vector<DWORD> pixels = probe::CapturePixels(area);
            wrongPixels = pixels.empty() ? 1 : wrong(pixels);
            return wrongPixels == 0;
        });
        if (shown) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << wrongPixels << " pixels wrong";
    }
};

// A window of the taskbar's class along the desktop's top edge: Wine's
// virtual desktop leaves the work area below it, as Windows does below its
// taskbar there, so that the work area and the desktop differ.
std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)> TopTaskbar(int height) {
    WNDCLASSW taskbar = {};
    taskbar.lpfnWndProc = DefWindowProcW;
    taskbar.hInstance = GetModuleHandleW(nullptr);
    taskbar.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&taskbar);
    return {CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                            probe::WindowRect(GetDesktopWindow()).right, height, nullptr, nullptr,
                            nullptr, nullptr),
            DestroyWindow};
}

// Its caption's left end, where the small icon is drawn, shows the disc's
// green badge, which no stock icon has.
TEST_F(PanelLook, WindowHoldsThePictureAndTheButtonsCentredOnTheWorkAreaUnderItsOwnIcon) {
    ASSERT_TRUE(AddPicture());
    auto taskbar = TopTaskbar(100);
    ASSERT_TRUE(LaunchWith(PanelIni(kThreeCaptions), 3));
    RECT client = probe::ClientRectOnScreen(window_), rect = probe::WindowRect(window_);
    RECT desktop = probe::WindowRect(GetDesktopWindow());
    EXPECT_EQ(desktop.right / 2 - (rect.right - rect.left) / 2, rect.left);
    EXPECT_EQ(100 + (desktop.bottom - 100) / 2 - (rect.bottom - rect.top) / 2, rect.top);
    EXPECT_EQ(WS_DLGFRAME | WS_SYSMENU,
              GetWindowLongA(window_, GWL_STYLE) &
                  (WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    // Beside the picture, between the buttons: the button face's colour.
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    DWORD want = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    EXPECT_TRUE(Shows({client.left + 405, client.top + 120, client.left + 545, client.top + 200},
                      [&](const std::vector<DWORD>& pixels) {
                          return int(pixels.size() -
                                     std::count(pixels.begin(), pixels.end(), want));
                      }));
    ASSERT_TRUE(probe::Activate(window_));
    EXPECT_TRUE(Shows({rect.left, rect.top, rect.left + 28, client.top},
                      [&](const std::vector<DWORD>& pixels) {
                          int green = 0;
                          for (DWORD pixel : pixels) {
                              int r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
                              green += g > r + 40 && g > b + 40 ? 1 : 0;
                          }
                          return green >= 6 ? 0 : 1;
                      }));
}

// A 24-bit picture in one colour (0xRRGGBB), or with its columns from `split`
// on in another.
std::vector<std::uint8_t> Painted(int width, int height, DWORD rgb, DWORD right = 0,
                                  int split = INT_MAX) {
    std::vector<std::uint8_t> file = bmp::Build({width, height});
    const bmp::Layout layout = bmp::LayoutOf({width, height});
    for (size_t at = 0; at < file.size() - layout.pixelsAt; ++at) {
        DWORD colour = int(at % layout.stride / 3) < split ? rgb : right;
        file[layout.pixelsAt + at] =
            static_cast<std::uint8_t>(colour >> at % layout.stride % 3 * 8);
    }
    return file;
}

using Scaled = PanelLook;

// A 200 x 150 picture and its sharp twin of 400 x 300 in another colour,
// beside buttons of 100 x 30; then, without its sharp twin (the one
// configured is missing), the picture enlarged to fill its place, smoothly:
// colours mixed where its two halves meet, none of them where they do not.
TEST_F(Scaled, PanelPictureAndButtonsFollowTheDisplayScaleAndTheEnlargedPictureIsSmooth) {
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
    auto c = std::find_if(std::begin(cases), std::end(cases),
                          [&](const auto& f) { return f.dpi == dpi; });
    ASSERT_NE(std::end(cases), c) << "no figures for " << dpi << " DPI";

    ASSERT_TRUE(distribution_->WriteFile("panel.bmp", Painted(200, 150, 0xC00000)));
    ASSERT_TRUE(distribution_->WriteFile("sharp.bmp", Painted(400, 300, 0x0000C0)));
    ASSERT_TRUE(LaunchWith(
        Replaced(PanelIni(kThreeCaptions), "Bmp=panel.bmp", "Bmp=panel.bmp\r\nBmp2x=sharp.bmp"),
        3));
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
    int width = c->pictureWidth + 1;
    EXPECT_TRUE(Shows(RECT{client.left, client.top, client.left + width, client.bottom},
                      [&](const std::vector<DWORD>& pixels) {
                          int wrong = 0;
                          for (size_t i = 0; i < pixels.size(); ++i) {
                              wrong += (pixels[i] == c->picture) != (int(i % width) < width - 1);
                          }
                          return wrong;
                      }));

    // The right half blue, the twin gone.
    ASSERT_TRUE(distribution_->WriteFile("panel.bmp", Painted(40, 30, 0xC00000, 0x0000C0, 20)));
    ASSERT_TRUE(DeleteFileW(probe::Wide(distribution_->PathOf("sharp.bmp")).c_str()));
    ASSERT_TRUE(LaunchWith("", 3));
    client = probe::ClientRectOnScreen(window_);
    width = 40 * (client.bottom - client.top) / 30;
    EXPECT_TRUE(Shows(RECT{client.left, client.top, client.left + width, client.bottom},
                      [&](const std::vector<DWORD>& shown) {
                          int wrong = 0, mixed = 0;
                          for (size_t i = 0; i < shown.size(); ++i) {
                              int x = int(i % width);
                              bool pure = shown[i] == 0xC00000 || shown[i] == 0x0000C0;
                              bool edge = x > width / 2 - 3 && x < width / 2 + 2;
                              wrong += !pure && !edge;
                              mixed += !pure && edge;
                              wrong += x < width / 3 && shown[i] != 0xC00000;
                              wrong += x >= 2 * width / 3 && shown[i] != 0x0000C0;
                          }
                          return wrong + ((dpi != 96) != (mixed > 0));
                      }));
}

} // namespace
