// Starting and stopping the panel: the gate that refuses to show a panel
// without buttons, the About box and the system menu's Close.
#include <gtest/gtest.h>

#include "distribution.h"
#include "probe.h"

namespace {

const DWORD kExitMs = probe::kWaitMs;
const WPARAM kAboutCommand = MAKEWPARAM(104, 1); // as the accelerator sends it

TEST(Startup, RefusesToShowAPanelWithoutButtons) {
    struct Case {
        const char* name;
        const char* ini; // null: no settings file at all
    };
    const Case cases[] = {
        {"no settings file", nullptr},
        {"every caption empty",
         "[General]\r\nTitleBar=Nothing here\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
         "[Button_Captions]\r\nInstallBut=\r\nBrowseBut=\r\nCancelBut=\r\n"},
        {"captions in the wrong section",
         "[General]\r\nInstallBut=Install\r\nCancelBut=Cancel\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Distribution distribution;
        if (c.ini) {
            ASSERT_TRUE(distribution.WriteIni(c.ini));
        }
        Panel panel;
        ASSERT_TRUE(panel.Start(distribution));
        DWORD exitCode = 99;
        EXPECT_TRUE(panel.ExitsWithoutWindow(&exitCode)) << "a window was shown, or no exit";
        EXPECT_EQ(0u, exitCode);
    }
}

TEST(Startup, OnlyACancelCaptionShowsTheWindow) {
    Distribution distribution;
    ASSERT_TRUE(distribution.WriteIni("[Button_Captions]\r\nCancelBut=Cancel\r\n"));
    Panel panel;
    ASSERT_TRUE(panel.Start(distribution));
    HWND window = panel.WaitForWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ("Quillmere Software, Inc.", probe::Text(window));
    LONG style = probe::Style(window);
    EXPECT_TRUE(style & WS_DLGFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    std::vector<HWND> buttons = probe::Buttons(window);
    ASSERT_EQ(1u, buttons.size());
    EXPECT_EQ("Cancel", probe::Text(buttons[0]));
}

TEST(Startup, SystemMenuCloseEndsTheProcessWithZero) {
    Distribution distribution;
    ASSERT_TRUE(distribution.WriteIni("[Button_Captions]\r\nInstallBut=Install\r\n"));
    Panel panel;
    ASSERT_TRUE(panel.Start(distribution));
    HWND window = panel.WaitForWindow();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(panel.WaitForExit(&exitCode, kExitMs));
    EXPECT_EQ(0u, exitCode);
}

TEST(Startup, AboutBoxOpensOnItsCommandAndClosesWithOk) {
    Distribution distribution;
    ASSERT_TRUE(distribution.WriteIni("[Button_Captions]\r\nCancelBut=Cancel\r\n"));
    Panel panel;
    ASSERT_TRUE(panel.Start(distribution));
    HWND window = panel.WaitForWindow();
    ASSERT_TRUE(window);

    PostMessageA(window, WM_COMMAND, kAboutCommand, 0);
    HWND about = nullptr;
    ASSERT_TRUE(probe::WaitUntil([&] {
        about = probe::FindWindowOfProcess(panel.ProcessId(), "#32770", true);
        return about != nullptr;
    })) << "no About box";
    EXPECT_EQ("About", probe::Text(about));
    EXPECT_EQ(window, GetWindow(about, GW_OWNER));
    HWND ok = GetDlgItem(about, IDOK);
    ASSERT_TRUE(ok);
    EXPECT_EQ("OK", probe::Text(ok));

    ASSERT_TRUE(probe::Activate(about));
    probe::ClickCenterOf(ok);
    EXPECT_TRUE(probe::WaitUntil([&] { return !IsWindow(about); })) << "the About box stayed";
    EXPECT_TRUE(panel.IsRunning());
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST(Startup, AboutAcceleratorOnAFocusedButtonDoesNothing) {
    Distribution distribution;
    ASSERT_TRUE(
        distribution.WriteIni("[General]\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
                              "[Button_Captions]\r\nInstallBut=Install\r\nCancelBut=Cancel\r\n"));
    Panel panel;
    ASSERT_TRUE(panel.Start(distribution));
    HWND window = panel.WaitForWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(probe::Activate(window));
    std::vector<HWND> buttons = probe::Buttons(window);
    ASSERT_EQ(2u, buttons.size());
    ASSERT_TRUE(probe::WaitUntil([&] { return probe::FocusOf(window) == buttons[0]; }));

    probe::PressKeyWithAlt(VK_OEM_2); // Alt and the "/" key
    // Keys are handled in order: once Left has moved the focus, Alt+/ was seen.
    probe::PressKey(VK_LEFT);
    EXPECT_TRUE(probe::WaitUntil([&] { return probe::FocusOf(window) == buttons[1]; }));
    EXPECT_FALSE(probe::FindWindowOfProcess(panel.ProcessId(), "#32770", true));
}

} // namespace
