// Keys and clicks as the real program gets them: through the focused button,
// with the default frame following the focus, and the focus coming back when
// the window is activated again.
#include "panel_fixture.h"

namespace {

class Keys : public PanelTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AddPicture(PanelPicture()));
        ASSERT_TRUE(LaunchWith(PanelIni(kThreeCaptions).c_str(), 3));
        ASSERT_TRUE(Activate());
        ASSERT_TRUE(FocusAndFrameOn(0));
    }
};

TEST_F(Keys, FocusAndFrameStepAndWrap) {
    const struct {
        WORD key;
        size_t to;
    } steps[] = {{VK_UP, 2}, {VK_TAB, 0}, {VK_RIGHT, 1}, {VK_LEFT, 0}, {VK_DOWN, 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        probe::PressKey(step.key);
        EXPECT_TRUE(FocusAndFrameOn(step.to));
    }
}

TEST_F(Keys, ClickLeavesTheFrameUntilTheWindowIsActivatedAgain) {
    probe::ClickCenterOf(buttons_[1]);
    ASSERT_TRUE(probe::WaitUntil([&] {
        return !distribution_->RecordedCommandLine("explorer.exe").empty();
    })) << "the click did not reach Browse";
    EXPECT_EQ("focus 1, framed 0", FocusAndFrame());

    // Another window of the test's own takes the activation away.
    HWND other = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0,
                                 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(probe::Activate(other));
    EXPECT_TRUE(probe::WaitUntil([&] { return probe::ActiveOf(window_) == nullptr; }))
        << "the panel stayed active";
    ASSERT_TRUE(Activate());
    EXPECT_TRUE(FocusAndFrameOn(1));
    DestroyWindow(other);
}

} // namespace
