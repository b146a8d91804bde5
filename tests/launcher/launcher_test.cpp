// The Launcher in the test's own process, on the real platform: the settings
// read with the built program's string table, and set-up, focus and the
// default frame on a window of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "launcher/launcher.h"

namespace {

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string program(path);
        program = program.substr(0, program.find_last_of('\\') + 1) + "tandrel.exe";
        resources_ = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(resources_) << "cannot load " << program;

        GetCurrentDirectoryA(MAX_PATH, previousDirectory_);
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        snprintf(folder_, sizeof(folder_), "%standrel-launcher-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(folder_, nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(folder_));
        bmp::Options picture;
        picture.width = 400;
        picture.height = 300;
        ASSERT_TRUE(bmp::WriteFile("panel.bmp", bmp::Build(picture)));
    }

    void TearDown() override {
        if (window_) {
            DestroyWindow(window_);
        }
        SetCurrentDirectoryA(previousDirectory_);
        for (const char* name : {"tandrel.ini", "panel.bmp", "small.ico"}) {
            DeleteFileA((std::string(folder_) + "\\" + name).c_str());
        }
        RemoveDirectoryA(folder_);
        if (resources_) {
            FreeLibrary(resources_);
        }
    }

    static void WriteFile(const char* name, const std::string& bytes) {
        FILE* file = fopen(name, "wb");
        ASSERT_TRUE(file);
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }

    // A shown main window like the program's, of a class of the test's own.
    HWND MakeWindow() {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "LauncherTestWindow";
        RegisterClassExA(&windowClass);
        window_ =
            CreateWindowExA(0, "LauncherTestWindow", "", WS_DLGFRAME | WS_SYSMENU, CW_USEDEFAULT, 0,
                            CW_USEDEFAULT, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        return window_;
    }

    HMODULE resources_ = nullptr;
    HWND window_ = nullptr;
    char previousDirectory_[MAX_PATH] = {};
    char folder_[MAX_PATH] = {};
};

// Buttons of 100 x 30 beside a picture of 400 x 300.
const char kPanel[] = "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
                      "SysMenuIcon=small.ico\r\n[Button_Captions]\r\n";

// An icon file with one 24 x 24 opaque red image.
std::string IconFile() {
    const uint32_t size = 24, imageBytes = 40 + size * size * 4 + size * 4;
    std::vector<std::uint8_t> file(6 + 16 + imageBytes, 0);
    const uint32_t fields[][2] = {{2, 1},   {4, 1},           {10, 1},        {12, 32},
                                  {22, 40}, {26, size},       {30, 2 * size}, {34, 1},
                                  {36, 32}, {14, imageBytes}, {18, 22}};
    for (const auto& field : fields) {
        bmp::PutLe16(file, field[0], field[1]);
    }
    file[6] = file[7] = size;
    for (uint32_t i = 0; i < size * size * 4; i += 4) {
        file[62 + i + 2] = 0xC0;
        file[62 + i + 3] = 0xFF;
    }
    return std::string(file.begin(), file.end());
}

TEST_F(LauncherTest, ValuesArriveInTheirFields) {
    std::string longTitle(150, 'T');
    WriteFile("tandrel.ini", "[general]\r\nTitleBar=" + longTitle +
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
    EXPECT_STREQ("&Install", launcher.captions[kInstallSlot]);
    EXPECT_STREQ("", launcher.captions[kBrowseSlot]);
    EXPECT_STREQ("", launcher.captions[kCancelSlot]);
}

TEST_F(LauncherTest, AtLeastOneCaptionIsNeeded) {
    struct Case {
        const char* name;
        const char* ini; // null: no settings file
        int accepted;
    };
    const Case cases[] = {
        {"only Cancel", "[Button_Captions]\r\nCancelBut=Cancel\r\n", 1},
        {"no captions", "[General]\r\nTitleBar=Title\r\nBmp=a.bmp\r\n", 0},
        {"empty captions", "[Button_Captions]\r\nInstallBut=\r\nCancelBut=\r\n", 0},
        {"no settings file", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA("tandrel.ini");
        if (c.ini) {
            WriteFile("tandrel.ini", c.ini);
        }
        Launcher launcher(resources_, nullptr);
        EXPECT_EQ(c.accepted, launcher.ReadSettings());
    }
}

TEST_F(LauncherTest, UnknownNameIdsReadNothing) {
    WriteFile("tandrel.ini", "[General]\r\nButtonWidth=100\r\nTitleBar=Title\r\n");
    Launcher launcher(resources_, nullptr);
    EXPECT_EQ(100, launcher.ReadIniInt(111, 120, ".\\tandrel.ini"));
    EXPECT_EQ(0, launcher.ReadIniInt(111, 999, ".\\tandrel.ini"));
    char value[100] = "garbage";
    EXPECT_EQ(0, launcher.ReadIniString(999, 115, value, sizeof(value), ".\\tandrel.ini"));
    EXPECT_STREQ("", value);
}

TEST_F(LauncherTest, EmptySlotsLeaveNoGapAndTheFirstButtonTakesTheFocus) {
    struct Case {
        const char* captions;
        std::vector<int> ys; // of the buttons created, in slot order
        int focused;
    };
    const Case cases[] = {
        {"InstallBut=I\r\nBrowseBut=B\r\nCancelBut=C\r\n", {15, 55, 255}, kInstallSlot},
        {"InstallBut=I\r\nCancelBut=C\r\n", {15, 255}, kInstallSlot},
        {"BrowseBut=B\r\nCancelBut=C\r\n", {15, 255}, kBrowseSlot},
        {"CancelBut=C\r\n", {255}, kCancelSlot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.captions);
        WriteFile("tandrel.ini", std::string(kPanel) + c.captions);
        Launcher launcher(resources_, MakeWindow());
        ASSERT_EQ(1, launcher.valid);
        std::vector<int> ys;
        for (HWND button : launcher.buttons) {
            if (button) {
                RECT rect;
                GetWindowRect(button, &rect);
                MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
                EXPECT_EQ(425, rect.left);
                EXPECT_EQ(100, rect.right - rect.left);
                EXPECT_EQ(30, rect.bottom - rect.top);
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
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

TEST_F(LauncherTest, IconFileBecomesTheClassIcon) {
    WriteFile("small.ico", IconFile());
    WriteFile("tandrel.ini", std::string(kPanel) + "CancelBut=Cancel\r\n");
    Launcher launcher(resources_, MakeWindow());
    ASSERT_NE(nullptr, launcher.icon);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(launcher.icon), GetClassLongPtrA(window_, GCLP_HICON));
}

TEST_F(LauncherTest, FocusStepsFromTheFocusedButtonAndTheFrameFollowsWithARepaint) {
    WriteFile("tandrel.ini",
              std::string(kPanel) + "InstallBut=I\r\nBrowseBut=B\r\nCancelBut=C\r\n");
    Launcher launcher(resources_, MakeWindow());
    ASSERT_EQ(launcher.buttons[kInstallSlot], GetFocus());
    // A click on Cancel moves neither the focus nor the frame; the next step
    // starts from the focused button.
    launcher.currentSlot = kCancelSlot;
    EXPECT_EQ(1, launcher.OnKeyDown(VK_DOWN, 0));
    EXPECT_EQ(launcher.buttons[kBrowseSlot], GetFocus());
    EXPECT_EQ(kBrowseSlot, launcher.currentSlot);

    UpdateWindow(window_);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        UpdateWindow(launcher.buttons[slot]);
    }
    launcher.currentSlot = kCancelSlot;
    launcher.UpdateDefaultStyles();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        HWND button = launcher.buttons[slot];
        bool framed = (GetWindowLongA(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
        EXPECT_EQ(slot == kCancelSlot, framed);
        EXPECT_TRUE(GetUpdateRect(button, nullptr, FALSE)) << "not redrawn with its new frame";
    }
}

// Runs at each display scale that the tests' prefixes have.
class ScaledLauncherTest : public LauncherTest {};

TEST_F(ScaledLauncherTest, ButtonsUseTheMessageFontAtTheWindowsScale) {
    WriteFile("tandrel.ini", std::string(kPanel) + "CancelBut=Cancel\r\n");
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
