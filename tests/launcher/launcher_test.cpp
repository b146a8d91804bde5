// The Launcher in the test's own process, on the real platform, with the
// built program's string table: the icon file, and the panel driven as the
// platform drives it, through the main window's procedure: focus and the
// default frame, activation, a change of scale. (What the settings give the
// panel, key by key, shows end to end.)
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "bmp_builder.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"

HINSTANCE g_hInstance = nullptr;

namespace {

// The built program's string table and icon, and a working folder of the
// test's own with a picture of 400 x 300.
class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        built_.assign(path, std::wcsrchr(path, L'\\') + 1);
        resources_ =
            LoadLibraryExW((built_ + L"tandrel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(resources_) << "cannot load tandrel.exe";
        GetCurrentDirectoryW(MAX_PATH, previous_);
        GetTempPathW(MAX_PATH, path);
        folder_ = path + (L"tandrel-launcher-" + std::to_wstring(GetCurrentProcessId()));
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
        ASSERT_TRUE(bmp::WriteFile("panel.bmp", bmp::Build({400, 300})));
    }

    void TearDown() override {
        g_launcher = nullptr;
        DestroyWindow(window_);
        SetCurrentDirectoryW(previous_);
        for (const wchar_t* name : {L"tandrel.ini", L"panel.bmp", L"small.ico"}) {
            DeleteFileW((folder_ + L"\\" + name).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
        FreeLibrary(resources_);
    }

    // The settings of `ini` (UTF-8), as the program reads them.
    Settings Read(const std::string& ini, const char16_t* language = nullptr) {
        EXPECT_TRUE(bmp::WriteFile("tandrel.ini", {ini.begin(), ini.end()}));
        SettingsFile file;
        EXPECT_TRUE(file.Load(resources_));
        Settings settings;
        file.Read(language, &settings);
        return settings;
    }

    // A shown main window like the program's, with its window procedure; any
    // window before goes.
    HWND MakeWindow() {
        DestroyWindow(window_);
        g_hInstance = GetModuleHandleW(nullptr);
        WNDCLASSW windowClass = {0,       MainWndProc, 0,       0,       g_hInstance,
                                 nullptr, nullptr,     nullptr, nullptr, L"LauncherTestWindow"};
        RegisterClassW(&windowClass);
        window_ =
            CreateWindowExW(0, L"LauncherTestWindow", L"", Launcher::kWindowStyle, CW_USEDEFAULT, 0,
                            CW_USEDEFAULT, 0, nullptr, nullptr, g_hInstance, nullptr);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        return window_;
    }

    // Which button has the focus and which the default frame, as "focus 1, framed 1".
    std::string FocusAndFrame() const {
        std::string focus, framed;
        for (int i = 0; Button(i); ++i) {
            focus += Button(i) == GetFocus() ? std::to_string(i) : "";
            bool frame = (GetWindowLongW(Button(i), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
            framed += frame ? std::to_string(i) : "";
        }
        return "focus " + focus + ", framed " + framed;
    }

    HWND Button(int index) const {
        HWND child = GetWindow(window_, GW_CHILD);
        while (child && index-- > 0) {
            child = GetWindow(child, GW_HWNDNEXT);
        }
        return child;
    }

    HMODULE resources_ = nullptr;
    HWND window_ = nullptr;
    wchar_t previous_[MAX_PATH] = {};
    std::wstring built_, folder_;
};

// Buttons of 100 x 30 beside a picture of 400 x 300.
const char kPanel[] = "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
                      "SysMenuIcon=small.ico\r\n[Button_Captions]\r\n";

// The icon file's picture is the window's large icon, which Alt+Tab and the
// taskbar show (its caption shows the small one, seen end to end).
TEST_F(LauncherTest, TheIconFileIsTheLargeIcon) {
    ASSERT_TRUE(CopyFileW((built_ + L"app\\tandrel.ico").c_str(), L"small.ico", FALSE));
    HWND window = MakeWindow();
    Launcher launcher(resources_, window, Read(std::string(kPanel) + "CancelBut=Cancel\r\n"));
    HICON large = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, CreateCompatibleBitmap(screen, 48, 48));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, large, 48, 48, 0, nullptr, DI_NORMAL));
    int green = 0; // the disc's badge
    for (int i = 0; i < 48 * 48; ++i) {
        COLORREF pixel = GetPixel(dc, i % 48, i / 48);
        green +=
            GetGValue(pixel) > GetRValue(pixel) + 40 && GetGValue(pixel) > GetBValue(pixel) + 40;
    }
    EXPECT_GT(green, 20);
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(LauncherTest, KeysStepFromTheFocusedButtonAndActivationFocusesTheOneLastClicked) {
    Launcher launcher(resources_, MakeWindow(),
                      Read(std::string(kPanel) + "InstallBut=I\r\nBrowseBut=B\r\nCancelBut=C\r\n"));
    g_launcher = &launcher;
    ASSERT_EQ("focus 0, framed 0", FocusAndFrame());
    // A click on Cancel moves neither the focus nor the frame; the next step
    // starts from the focused button.
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(Button(2)));
    SendMessageW(Button(0), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ("focus 1, framed 1", FocusAndFrame());

    // Activation puts the focus and the frame on the button last clicked, and
    // the buttons redraw with or without their frame.
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(Button(2)));
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageW(window_, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ("focus 2, framed 2", FocusAndFrame());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(GetUpdateRect(Button(i), nullptr, FALSE)) << "button " << i << " not redrawn";
    }
}

// Runs at each display scale that the tests' prefixes have.
class ScaledLauncherTest : public LauncherTest {};

TEST_F(ScaledLauncherTest, AChangeOfScaleLaysThePanelOutAgainWithTheFontAndFocusKept) {
    // Small enough to fit the screen at twice the scale.
    ASSERT_TRUE(bmp::WriteFile("panel.bmp", bmp::Build({200, 150})));
    Launcher launcher(resources_, MakeWindow(),
                      Read(std::string(kPanel) + "InstallBut=Install\r\nCancelBut=Cancel\r\n"));
    g_launcher = &launcher;
    HWND cancel = Button(1);
    auto fontOfCancel = [cancel] {
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(cancel, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font;
    };
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(std::wstring(metrics.lfMessageFont.lfFaceName), fontOfCancel().lfFaceName);
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, fontOfCancel().lfHeight);
    SendMessageW(Button(0), WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_EQ("focus 1, framed 1", FocusAndFrame());

    // On a monitor of twice the scale, as Windows 8.1 and later tell it: the
    // suggested place, everything twice as large, the focus where it was.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RECT before, client, rect;
    GetWindowRect(cancel, &before);
    GetClientRect(window_, &client);
    const RECT suggested = {30, 40, 830, 640};
    SendMessageW(window_, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(2 * dpi, 2 * dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(window_, &rect);
    EXPECT_EQ((std::vector<long>{30, 40}), (std::vector<long>{rect.left, rect.top}));
    // The client area's height is not compared: Wine keeps the caption of
    // the old scale, where Windows draws it at the new one.
    GetClientRect(window_, &rect);
    EXPECT_EQ(2 * client.right, rect.right);
    GetWindowRect(cancel, &rect);
    EXPECT_EQ(2 * (before.right - before.left), rect.right - rect.left);
    EXPECT_EQ(2 * metrics.lfMessageFont.lfHeight, fontOfCancel().lfHeight);
    EXPECT_EQ("focus 1, framed 1", FocusAndFrame());
}

} // namespace
