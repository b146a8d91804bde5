// The Launcher in the test's own process, on the real platform: the settings
// read with the built program's string table, and set-up, focus and the
// default frame on a window of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "launcher/launcher.h"
#include "launcher/launcher_strings.h"

namespace {

// The built program's string table and icon, and a working folder of the
// test's own with a picture of 400 x 300.
class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        built_.assign(path, std::strrchr(path, '\\') + 1);
        resources_ =
            LoadLibraryExA((built_ + "tandrel.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(resources_) << "cannot load tandrel.exe in " << built_;
        GetCurrentDirectoryA(MAX_PATH, previous_);
        GetTempPathA(MAX_PATH, path);
        folder_ = path + ("tandrel-launcher-" + std::to_string(GetCurrentProcessId()));
        CreateDirectoryA(folder_.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
        ASSERT_TRUE(bmp::WriteFile("panel.bmp", bmp::Build({400, 300})));
    }

    void TearDown() override {
        DestroyWindow(window_);
        SetCurrentDirectoryA(previous_);
        for (const char* name : {"tandrel.ini", "panel.bmp", "small.ico"}) {
            DeleteFileA((folder_ + "\\" + name).c_str());
        }
        RemoveDirectoryA(folder_.c_str());
        FreeLibrary(resources_);
    }

    static void WriteIni(const std::string& text) {
        ASSERT_TRUE(bmp::WriteFile("tandrel.ini", {text.begin(), text.end()}));
    }

    // A shown main window like the program's, of a class of its own; any before goes.
    HWND MakeWindow() {
        DestroyWindow(window_);
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass = {0,       DefWindowProcA, 0,       0,       instance,
                                 nullptr, nullptr,        nullptr, nullptr, "LauncherTestWindow"};
        RegisterClassA(&windowClass);
        window_ =
            CreateWindowExA(0, "LauncherTestWindow", "", WS_DLGFRAME | WS_SYSMENU, CW_USEDEFAULT, 0,
                            CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        return window_;
    }

    HMODULE resources_ = nullptr;
    HWND window_ = nullptr;
    char previous_[MAX_PATH] = {};
    std::string built_, folder_;
};

// Buttons of 100 x 30 beside a picture of 400 x 300.
const char kPanel[] = "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
                      "SysMenuIcon=small.ico\r\n[Button_Captions]\r\n";

TEST_F(LauncherTest, ValuesArriveInTheirFields) {
    std::string longTitle(150, 'T');
    WriteIni("[general]\r\nTitleBar=" + longTitle +
             "\r\nsysmenuicon = disc.ico \r\nBmp=\"art\\panel.bmp\"\r\n"
             "Installer=\"setup files\\setup.exe\" /lang en\r\n"
             "ButtonHeight=31\r\n[Button_Captions]\r\nInstallBut=&Install\r\n"
             "; BrowseBut=Browse\r\n");
    Launcher launcher(resources_, nullptr);
    EXPECT_EQ(0, launcher.valid) << "no window: construction stops before the settings";
    ASSERT_EQ(1, launcher.ReadSettings());
    EXPECT_EQ(longTitle.substr(0, 99), launcher.title);
    EXPECT_STREQ("disc.ico", launcher.iconFile);
    EXPECT_STREQ("art\\panel.bmp", launcher.bitmapFile);
    EXPECT_STREQ("\"setup files\\setup.exe\" /lang en", launcher.installer);
    EXPECT_EQ(0, launcher.buttonWidth) << "missing";
    EXPECT_EQ(31, launcher.buttonHeight);
    EXPECT_EQ((std::vector<std::string>{"&Install", "", ""}),
              (std::vector<std::string>(launcher.captions, launcher.captions + kSlotCount)));
    // Names whose string IDs the program lacks read nothing.
    EXPECT_EQ(0, launcher.ReadIniInt(IDS_SECTION_GENERAL, 999, ".\\tandrel.ini"));
    char value[100] = "garbage";
    EXPECT_EQ(0, launcher.ReadIniString(999, IDS_KEY_TITLE_BAR, value, 100, ".\\tandrel.ini"));
    EXPECT_STREQ("", value);
}

TEST_F(LauncherTest, AtLeastOneCaptionIsNeeded) {
    const struct {
        const char* ini; // null: no settings file
        int accepted;
    } cases[] = {
        {"[Button_Captions]\r\nCancelBut=Cancel\r\n", 1},
        {"[General]\r\nTitleBar=Title\r\nBmp=a.bmp\r\n", 0},
        {"[Button_Captions]\r\nInstallBut=\r\nCancelBut=\r\n", 0},
        {nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini ? c.ini : "no settings file");
        DeleteFileA("tandrel.ini");
        if (c.ini) {
            WriteIni(c.ini);
        }
        Launcher launcher(resources_, nullptr);
        EXPECT_EQ(c.accepted, launcher.ReadSettings());
    }
}

TEST_F(LauncherTest, EmptySlotsLeaveNoGapAndTheFirstButtonTakesTheFocus) {
    const struct {
        const char* captions;
        std::vector<int> ys; // of the buttons created, in slot order
        int focused;
    } cases[] = {
        {"InstallBut=I\r\nBrowseBut=B\r\nCancelBut=C\r\n", {15, 55, 255}, kInstallSlot},
        {"InstallBut=I\r\nCancelBut=C\r\n", {15, 255}, kInstallSlot},
        {"BrowseBut=B\r\nCancelBut=C\r\n", {15, 255}, kBrowseSlot},
        {"CancelBut=C\r\n", {255}, kCancelSlot},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.captions);
        WriteIni(std::string(kPanel) + c.captions);
        Launcher launcher(resources_, MakeWindow());
        ASSERT_EQ(1, launcher.valid);
        std::vector<int> ys;
        for (HWND button : launcher.buttons) {
            if (button) {
                RECT rect;
                GetWindowRect(button, &rect);
                MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
                EXPECT_EQ(
                    (std::vector<long>{425, 100, 30}),
                    (std::vector<long>{rect.left, rect.right - rect.left, rect.bottom - rect.top}));
                ys.push_back(rect.top);
                // An ordinary push button with identifier 0 and no tab stop.
                EXPECT_EQ(0, GetDlgCtrlID(button));
                EXPECT_EQ(WS_CHILD | WS_VISIBLE, GetWindowLongA(button, GWL_STYLE) &
                                                     ~(BS_DEFPUSHBUTTON | WS_CLIPSIBLINGS));
            }
        }
        EXPECT_EQ(c.ys, ys);
        EXPECT_EQ(launcher.buttons[c.focused], GetFocus());
        EXPECT_EQ(c.focused, launcher.currentSlot);
    }
}

TEST_F(LauncherTest, IconFileBecomesTheClassIcon) {
    ASSERT_TRUE(CopyFileA((built_ + "app\\tandrel.ico").c_str(), "small.ico", FALSE));
    WriteIni(std::string(kPanel) + "CancelBut=Cancel\r\n");
    Launcher launcher(resources_, MakeWindow());
    ASSERT_NE(nullptr, launcher.icon);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(launcher.icon), GetClassLongPtrA(window_, GCLP_HICON));
}

TEST_F(LauncherTest, FocusStepsFromTheFocusedButtonAndTheFrameFollowsWithARepaint) {
    WriteIni(std::string(kPanel) + "InstallBut=I\r\nBrowseBut=B\r\nCancelBut=C\r\n");
    Launcher launcher(resources_, MakeWindow());
    ASSERT_EQ(launcher.buttons[kInstallSlot], GetFocus());
    // A click on Cancel moves neither the focus nor the frame; the next step
    // starts from the focused button.
    launcher.currentSlot = kCancelSlot;
    EXPECT_EQ(1, launcher.OnKeyDown(VK_DOWN, 0));
    EXPECT_EQ(launcher.buttons[kBrowseSlot], GetFocus());
    EXPECT_EQ(kBrowseSlot, launcher.currentSlot);

    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    launcher.currentSlot = kCancelSlot;
    launcher.UpdateDefaultStyles();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        HWND button = launcher.buttons[slot];
        EXPECT_EQ(slot == kCancelSlot, (GetWindowLongA(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0);
        EXPECT_TRUE(GetUpdateRect(button, nullptr, FALSE)) << "not redrawn with its new frame";
    }
}

// Runs at each display scale that the tests' prefixes have.
class ScaledLauncherTest : public LauncherTest {};

TEST_F(ScaledLauncherTest, ButtonsUseTheMessageFontAtTheWindowsScale) {
    WriteIni(std::string(kPanel) + "CancelBut=Cancel\r\n");
    Launcher launcher(resources_, MakeWindow());
    HWND cancel = launcher.buttons[kCancelSlot];
    auto fontOfCancel = [cancel] {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(cancel, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font;
    };
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, fontOfCancel().lfFaceName);
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, fontOfCancel().lfHeight);

    // On a monitor of twice the scale: the suggested place, all twice as large.
    RECT before, rect;
    GetWindowRect(cancel, &before);
    const RECT suggested = {30, 40, 830, 640};
    launcher.OnDpiChanged(2 * launcher.dpi, suggested);
    GetWindowRect(window_, &rect);
    EXPECT_TRUE(EqualRect(&suggested, &rect));
    GetWindowRect(cancel, &rect);
    EXPECT_EQ(2 * (before.right - before.left), rect.right - rect.left);
    EXPECT_EQ(2 * metrics.lfMessageFont.lfHeight, fontOfCancel().lfHeight);
}

} // namespace
