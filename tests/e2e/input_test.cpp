// Keys, clicks and what the buttons do, as the real program gets them: through
// the focused button; the installer, the file browser, closing. (Which key
// steps where, the panel's tests show.)
#include "panel_fixture.h"

namespace {

using Actions = PanelTest;

// The installer is a stand-in in a folder whose name has a blank.
const char kInstaller[] = "\"setup files\\setup.exe\" /lang en";

TEST_F(Actions, InstallEscapeAndCancelClose) {
    const struct {
        const char* name;
        const char* installer;
        std::vector<WORD> keys;
    } cases[] = {
        {"Install", kInstaller, {VK_RETURN}},
        {"Install without an installer", "", {VK_RETURN}},
        {"Escape", kInstaller, {VK_ESCAPE}},
        {"Cancel", kInstaller, {VK_UP, VK_RETURN}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(distribution_->MakeFolder("setup files"));
        ASSERT_TRUE(distribution_->CopyProgram("stand_in.exe", "setup files\\setup.exe"));
        ASSERT_NO_FATAL_FAILURE(LaunchActive(c.installer));
        for (WORD key : c.keys) {
            probe::PressKey(key);
        }
        EXPECT_TRUE(panel_.ExitsWith(0));
        // The installer records its command line and its folder.
        std::string want = std::string(c.name) != "Install"
                               ? ""
                               : std::string(kInstaller) + "\n" + distribution_->Path() + "\n";
        EXPECT_TRUE(probe::WaitUntil([&] { return Record("setup files\\setup.exe") == want; }))
            << Record("setup files\\setup.exe");
    }
}

TEST_F(Actions, InstallerThatCannotStartLeavesThePanelOpen) {
    ASSERT_NO_FATAL_FAILURE(LaunchActive("\"setup files\\missing.exe\" /q"));
    probe::PressKey(VK_RETURN);
    // The next key is handled only after Enter and the Space press it made,
    // so once it has moved the focus the panel has dealt with Install.
    probe::PressKey(VK_DOWN);
    EXPECT_TRUE(FocusAndFrameOn(1)) << "the panel did not stay usable";
    EXPECT_TRUE(panel_.IsRunning());
    EXPECT_EQ(std::vector<HWND>{window_}, probe::WindowsOf(panel_.ProcessId()))
        << "nothing else is shown";
}

// Alt and the "/" key, the About accelerator, do nothing on a focused button
// (an About box would keep the click that follows from Browse). A click on
// Browse opens the folder, moves the focus and leaves the default frame (the
// panel's tests show activation bring it back); the panel stays open, and a
// held Enter opens the folder once more, not once a repeat.
TEST_F(Actions, BrowseOpensTheFolderOnceAPressAndStaysOpen) {
    ASSERT_NO_FATAL_FAILURE(LaunchActive());
    probe::PressKey(VK_OEM_2, true);
    probe::ClickCenterOf(buttons_[1]);
    ASSERT_TRUE(probe::WaitUntil([&] { return !Record("explorer.exe").empty(); }))
        << "the click did not reach Browse";
    EXPECT_EQ(0u, probe::WindowsOf(panel_.ProcessId(), "#32770").size()) << "an About box";
    EXPECT_EQ("focus 1, framed 0", FocusAndFrame());
    EXPECT_EQ(0u, Record("explorer.exe").find("explorer.exe \"" + distribution_->Path() + "\"\n"))
        << Record("explorer.exe");
    // A held Enter's key-downs, as they reach the focused button: bit 30 set
    // on the keyboard's repeats.
    for (LPARAM repeat : {0, 1, 1, 1, 1}) {
        PostMessageA(buttons_[1], WM_KEYDOWN, VK_RETURN, repeat << 30 | 0x1C0001);
    }
    ASSERT_TRUE(probe::WaitUntil([&] { return Starts("explorer.exe") >= 2; }));
    // Down is handled after every Space press that the held key made, so after
    // every start of the browser; each start has counted once all have ended.
    probe::PressKey(VK_DOWN);
    ASSERT_TRUE(FocusAndFrameOn(2));
    ASSERT_TRUE(probe::WaitUntil([&] { return !panel_.ChildRuns(); }));
    EXPECT_EQ(2u, Starts("explorer.exe"));
    EXPECT_TRUE(panel_.IsRunning());
}

} // namespace
