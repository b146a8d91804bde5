// Starting and stopping the panel: the gate that refuses to show a panel
// without buttons, the About box and the system menu's Close.
#include "panel_fixture.h"

namespace {

class Startup : public PanelTest {};

const WPARAM kAboutCommand = MAKEWPARAM(104, 1); // as the accelerator sends it

TEST_F(Startup, RefusesToShowAPanelWithoutButtons) {
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
        distribution_ = std::make_unique<Distribution>();
        if (c.ini) {
            ASSERT_TRUE(distribution_->WriteIni(c.ini));
        }
        Panel panel;
        ASSERT_TRUE(panel.Start(*distribution_));
        DWORD exitCode = 99;
        EXPECT_TRUE(panel.ExitsWithoutWindow(&exitCode)) << "a window was shown, or no exit";
        EXPECT_EQ(0u, exitCode);
    }
}

TEST_F(Startup, OnlyACancelCaptionShowsTheWindow) {
    LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n");
    EXPECT_EQ("Quillmere Software, Inc.", probe::Text(window_));
    LONG style = probe::Style(window_);
    EXPECT_TRUE(style & WS_DLGFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    ASSERT_EQ(1u, buttons_.size());
    EXPECT_EQ("Cancel", probe::Text(buttons_[0]));
}

TEST_F(Startup, SystemMenuCloseEndsTheProcessWithZero) {
    LaunchWith("[Button_Captions]\r\nInstallBut=Install\r\n");
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitForExitCode(0));
}

TEST_F(Startup, AboutBoxOpensOnItsCommandAndClosesWithOk) {
    LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n");
    HWND window = window_;
    PostMessageA(window, WM_COMMAND, kAboutCommand, 0);
    HWND about = nullptr;
    ASSERT_TRUE(probe::WaitUntil([&] {
        about = probe::FindWindowOfProcess(panel_.ProcessId(), "#32770", true);
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
    EXPECT_TRUE(panel_.IsRunning());
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Startup, AboutAcceleratorOnAFocusedButtonDoesNothing) {
    LaunchWith(PanelIni(kInstallAndCancel));
    ActivateWithFocus();
    ASSERT_EQ(2u, buttons_.size());
    ASSERT_TRUE(FocusAndFrameOn(buttons_[0]));

    probe::PressKeyWithAlt(VK_OEM_2); // Alt and the "/" key
    // Keys are handled in order: once Left has moved the focus, Alt+/ was seen.
    probe::PressKey(VK_LEFT);
    EXPECT_TRUE(FocusAndFrameOn(buttons_[1]));
    EXPECT_FALSE(probe::FindWindowOfProcess(panel_.ProcessId(), "#32770", true));
}

} // namespace
