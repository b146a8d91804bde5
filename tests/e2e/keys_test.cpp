// Moving the focus and the default frame with the keyboard, clicks, and the
// focus coming back when the window is activated again.
#include "panel_fixture.h"

namespace {

class Keys : public PanelTest {};

// Another window of the test's own, to take the activation away from the panel.
class OtherWindow {
  public:
    OtherWindow() {
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0,
                                  50, 50, nullptr, nullptr, nullptr, nullptr);
    }
    ~OtherWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

  private:
    HWND window_;
};

TEST_F(Keys, ThreeButtonsStepAndWrap) {
    LaunchWith(PanelIni(kThreeCaptions));
    ActivateWithFocus();
    HWND install = buttons_[0];
    HWND browse = buttons_[1];
    HWND cancel = buttons_[2];
    ASSERT_TRUE(FocusAndFrameOn(install));

    struct Step {
        WORD key;
        HWND to;
        const char* name;
    };
    const Step steps[] = {
        {VK_UP, cancel, "Up from Install wraps to Cancel"},
        {VK_TAB, install, "Tab from Cancel wraps to Install"},
        {VK_LEFT, cancel, "Left from Install wraps to Cancel"},
        {VK_UP, browse, "Up from Cancel"},
        {VK_DOWN, cancel, "Down from Browse"},
        {VK_RIGHT, install, "Right from Cancel wraps to Install"},
        {VK_TAB, browse, "Tab from Install"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        probe::PressKey(step.key);
        EXPECT_TRUE(FocusAndFrameOn(step.to));
    }
}

TEST_F(Keys, EmptySlotStopsTheMove) {
    LaunchWith(PanelIni(kInstallAndCancel));
    ActivateWithFocus();
    HWND install = buttons_[0];
    HWND cancel = buttons_[1];
    ASSERT_TRUE(FocusAndFrameOn(install));

    probe::PressKey(VK_TAB); // into the empty Browse slot: nothing
    probe::PressKey(VK_LEFT);
    EXPECT_TRUE(FocusAndFrameOn(cancel)) << "Tab must not have moved, Left must";
    probe::PressKey(VK_UP); // into the empty Browse slot again
    probe::PressKey(VK_DOWN);
    EXPECT_TRUE(FocusAndFrameOn(install));
}

TEST_F(Keys, OnlyCancelKeepsTheFocusWhateverTheKey) {
    LaunchWith(PanelIni("CancelBut=Cancel\r\n"));
    ActivateWithFocus();
    ASSERT_TRUE(FocusAndFrameOn(buttons_[0]));
    for (WORD key : {WORD(VK_TAB), WORD(VK_UP), WORD(VK_DOWN)}) {
        probe::PressKey(key);
    }
    EXPECT_TRUE(FocusAndFrameOn(buttons_[0]));
    probe::PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForExitCode(0));
}

TEST_F(Keys, ClickMovesNeitherFrameNorFocusUntilReactivation) {
    AddPicture(400, 300);
    LaunchWith(PanelIni(kThreeCaptions));
    ActivateWithFocus();
    HWND install = buttons_[0];
    HWND browse = buttons_[1];
    ASSERT_TRUE(FocusAndFrameOn(install));

    probe::ClickCenterOf(browse);
    ASSERT_TRUE(probe::WaitUntil([&] {
        return !distribution_->RecordedCommandLine("explorer.exe").empty();
    })) << "the click did not reach Browse";
    EXPECT_EQ(std::vector<HWND>{install}, FramedButtons()) << "the frame stays on Install";

    OtherWindow other;
    ASSERT_TRUE(probe::Activate(other.Handle()));
    ASSERT_TRUE(probe::Activate(window_));
    EXPECT_TRUE(FocusAndFrameOn(browse));
}

TEST_F(Keys, ReactivationRestoresTheLastFocusedButton) {
    LaunchWith(PanelIni(kThreeCaptions));
    ActivateWithFocus();
    probe::PressKey(VK_UP);
    ASSERT_TRUE(FocusAndFrameOn(buttons_[2]));

    OtherWindow other;
    ASSERT_TRUE(probe::Activate(other.Handle()));
    EXPECT_EQ(nullptr, probe::ActiveOf(window_));
    ASSERT_TRUE(probe::Activate(window_));
    EXPECT_TRUE(FocusAndFrameOn(buttons_[2]));
}

} // namespace
