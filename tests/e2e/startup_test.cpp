// Starting and stopping the panel: the gate that refuses to show a panel
// without buttons, the About box and Close.
#include "panel_fixture.h"

namespace {

class Startup : public PanelTest {};

TEST_F(Startup, RefusesToShowAPanelWithoutButtons) {
    const char* const cases[] = {
        nullptr, // no settings file
        "[General]\r\nTitleBar=Nothing here\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
        "[Button_Captions]\r\nInstallBut=\r\nBrowseBut=\r\nCancelBut=\r\n",
        "[General]\r\nInstallBut=Install\r\nCancelBut=Cancel\r\n", // the wrong section
    };
    for (const char* ini : cases) {
        SCOPED_TRACE(ini ? ini : "no settings file");
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(!ini || distribution_->WriteIni(ini));
        Panel panel;
        ASSERT_TRUE(panel.Start(*distribution_));
        DWORD exitCode = 99;
        EXPECT_TRUE(panel.ExitsWithoutWindow(&exitCode)) << "a window was shown, or no exit";
        EXPECT_EQ(0u, exitCode);
    }
}

TEST_F(Startup, CloseEndsTheProcessWithZero) {
    ASSERT_TRUE(LaunchWith("[Button_Captions]\r\nInstallBut=Install\r\n", 1));
    EXPECT_EQ("Quillmere Software, Inc.", probe::Text(window_));
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(ExitsWith(0));
}

TEST_F(Startup, OnePanelAFolder) {
    ASSERT_TRUE(LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n", 1));
    HWND other = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0,
                                 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(probe::Activate(other));
    // The folder named in other letters is the same folder.
    std::string folder = distribution_->Path();
    CharUpperBuffA(&folder[0], static_cast<DWORD>(folder.size()));
    Panel second;
    ASSERT_TRUE(second.Start(*distribution_, folder));
    DWORD exitCode = 99;
    EXPECT_TRUE(second.ExitsWithoutWindow(&exitCode)) << "a window was shown, or no exit";
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == window_; }))
        << "the first panel is not in front";
    DestroyWindow(other);

    Distribution elsewhere;
    ASSERT_TRUE(elsewhere.WriteIni("[Button_Captions]\r\nCancelBut=Cancel\r\n"));
    ASSERT_TRUE(second.Start(elsewhere));
    EXPECT_TRUE(second.WaitForWindow() && panel_.IsRunning()) << "not two panels";
}

TEST_F(Startup, AboutBoxClosesWithOkAndWithEscape) {
    ASSERT_TRUE(LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n", 1));
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "OK");
        // The command as the accelerator sends it.
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(104, 1), 0);
        HWND about = nullptr;
        ASSERT_TRUE(probe::WaitUntil([&] {
            about = probe::FindWindowOfProcess(panel_.ProcessId(), "#32770", true);
            return about != nullptr;
        })) << "no About box";
        EXPECT_EQ("About", probe::Text(about));
        EXPECT_EQ(window_, GetWindow(about, GW_OWNER));
        HWND ok = GetDlgItem(about, IDOK);
        ASSERT_TRUE(ok);
        EXPECT_EQ("OK", probe::Text(ok));
        ASSERT_TRUE(probe::Activate(about));
        if (escape) {
            probe::PressKey(VK_ESCAPE);
        } else {
            probe::ClickCenterOf(ok);
        }
        EXPECT_TRUE(probe::WaitUntil([&] { return !IsWindow(about); })) << "the About box stayed";
        EXPECT_TRUE(panel_.IsRunning());
    }
}

TEST_F(Startup, AboutAcceleratorOnAFocusedButtonDoesNothing) {
    ASSERT_TRUE(AddPicture(PanelPicture()));
    ASSERT_TRUE(LaunchWith(PanelIni(kThreeCaptions).c_str(), 3));
    ASSERT_TRUE(Activate());
    ASSERT_TRUE(FocusAndFrameOn(0));
    probe::PressKeyWithAlt(VK_OEM_2); // Alt and the "/" key
    // Keys are handled in order: once Down has moved the focus, Alt+/ was seen.
    probe::PressKey(VK_DOWN);
    EXPECT_TRUE(FocusAndFrameOn(1));
    EXPECT_FALSE(probe::FindWindowOfProcess(panel_.ProcessId(), "#32770", true));
}

} // namespace
