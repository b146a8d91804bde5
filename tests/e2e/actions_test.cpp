// What the buttons do: the installer, the file browser, closing.
#include "panel_fixture.h"

namespace {

const char kInstaller[] = "\"setup files\\setup.exe\" /lang en";

class Actions : public PanelTest {
  protected:
    // A panel whose installer, if any, is a stand-in in a folder whose name
    // has a blank; Install has the focus.
    void Launch(const std::string& installer, bool addInstaller = true) {
        ASSERT_TRUE(AddPicture(PanelPicture()));
        if (addInstaller) {
            ASSERT_TRUE(distribution_->MakeFolder("setup files"));
            ASSERT_TRUE(distribution_->CopyProgram("stand_in.exe", "setup files\\setup.exe"));
        }
        ASSERT_TRUE(LaunchWith(PanelIni(kThreeCaptions, installer).c_str(), 3));
        ASSERT_TRUE(Activate());
        ASSERT_TRUE(FocusAndFrameOn(0));
    }
    std::string Record(const char* program) const {
        return distribution_->RecordedCommandLine(program);
    }
};

TEST_F(Actions, EnterOnInstallStartsTheInstallerAndCloses) {
    ASSERT_NO_FATAL_FAILURE(Launch(kInstaller));
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(ExitsWith(0));
    ASSERT_TRUE(probe::WaitUntil([&] { return !Record("setup files\\setup.exe").empty(); }))
        << "the installer did not run";
    EXPECT_EQ(kInstaller, Record("setup files\\setup.exe"));
    EXPECT_EQ(distribution_->Path(), distribution_->RecordedDirectory("setup files\\setup.exe"));
}

TEST_F(Actions, InstallerThatCannotStartLeavesThePanelOpen) {
    ASSERT_NO_FATAL_FAILURE(Launch("\"setup files\\missing.exe\" /q", false));
    probe::PressKey(VK_RETURN);
    // The next key is handled only after Enter and the Space press it made,
    // so once it has moved the focus the panel has dealt with Install.
    probe::PressKey(VK_DOWN);
    EXPECT_TRUE(FocusAndFrameOn(1)) << "the panel did not stay usable";
    EXPECT_TRUE(panel_.IsRunning());
    EXPECT_EQ(std::vector<HWND>{window_}, probe::VisibleWindowsOfProcess(panel_.ProcessId()))
        << "nothing else is shown";
}

TEST_F(Actions, InstallWithoutAnInstallerCloses) {
    ASSERT_NO_FATAL_FAILURE(Launch("", false));
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(ExitsWith(0));
}

TEST_F(Actions, EscapeAndCancelCloseWithoutStartingAnything) {
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        ASSERT_NO_FATAL_FAILURE(Launch(kInstaller));
        if (!escape) {
            probe::PressKey(VK_UP);
            ASSERT_TRUE(FocusAndFrameOn(2));
        }
        probe::PressKey(escape ? VK_ESCAPE : VK_RETURN);
        EXPECT_TRUE(ExitsWith(0));
        EXPECT_EQ("", Record("setup files\\setup.exe"));
        distribution_ = std::make_unique<Distribution>();
    }
}

TEST_F(Actions, EnterOnBrowseOpensTheFolderAndStaysOpen) {
    ASSERT_NO_FATAL_FAILURE(Launch(""));
    probe::PressKey(VK_DOWN);
    ASSERT_TRUE(FocusAndFrameOn(1));
    probe::PressKey(VK_RETURN);
    ASSERT_TRUE(probe::WaitUntil([&] { return !Record("explorer.exe").empty(); }))
        << "the file browser did not start";
    EXPECT_EQ("explorer.exe \"" + distribution_->Path() + "\"", Record("explorer.exe"));
    EXPECT_TRUE(panel_.IsRunning());
    EXPECT_TRUE(FocusAndFrameOn(1));
}

TEST_F(Actions, HeldEnterOnBrowseOpensTheFolderOnce) {
    ASSERT_NO_FATAL_FAILURE(Launch(""));
    probe::PressKey(VK_DOWN);
    ASSERT_TRUE(FocusAndFrameOn(1));
    // A held Enter's key-downs, as they reach the focused button: bit 30 set
    // on the keyboard's repeats.
    for (LPARAM repeat : {0, 1, 1, 1, 1}) {
        PostMessageA(buttons_[1], WM_KEYDOWN, VK_RETURN, repeat << 30 | 0x1C0001);
    }
    ASSERT_TRUE(probe::WaitUntil([&] { return distribution_->Starts("explorer.exe") >= 1; }));
    // Down is handled after every Space press that the held key made, so after
    // every start of the browser; each start has counted once all have ended.
    probe::PressKey(VK_DOWN);
    ASSERT_TRUE(FocusAndFrameOn(2));
    ASSERT_TRUE(probe::WaitUntil([&] { return !panel_.ChildRuns(); }));
    EXPECT_EQ(1u, distribution_->Starts("explorer.exe"));
}

} // namespace
