// What the buttons do: the installer, the file browser, closing.
#include "panel_fixture.h"

namespace {

const char kInstaller[] = "\"setup files\\setup.exe\" /lang en";

// How long a test watches for something that must not happen.
const DWORD kNothingHappensMs = 1000;

class Actions : public PanelTest {
  protected:
    // A stand-in installer in a folder whose name has a blank.
    void AddInstaller() {
        ASSERT_TRUE(distribution_->MakeFolder("setup files"));
        ASSERT_TRUE(distribution_->CopyProgram("stand_in.exe", "setup files\\setup.exe"));
    }
    std::string InstallerRecord() const {
        return distribution_->RecordedCommandLine("setup files\\setup.exe");
    }
    std::string ExplorerRecord() const {
        return distribution_->RecordedCommandLine("explorer.exe");
    }
};

TEST_F(Actions, EnterOnInstallStartsTheInstallerAndCloses) {
    AddInstaller();
    LaunchWith(PanelIni(kThreeCaptions, kInstaller));
    ActivateWithFocus();
    ASSERT_EQ(buttons_[0], Focus());

    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForExitCode(0));
    ASSERT_TRUE(probe::WaitUntil([&] { return !InstallerRecord().empty(); }))
        << "the installer did not run";
    EXPECT_EQ(kInstaller, InstallerRecord());
    EXPECT_EQ(distribution_->Path(), distribution_->RecordedDirectory("setup files\\setup.exe"));
}

TEST_F(Actions, InstallerThatCannotStartLeavesThePanelOpen) {
    LaunchWith(PanelIni(kThreeCaptions, "\"setup files\\missing.exe\" /q"));
    ActivateWithFocus();
    probe::PressKey(VK_RETURN);
    // Nothing is to happen, so there is nothing to wait for but time: the
    // Space press that Enter makes reaches the panel after the key itself, and
    // the next key must come only after both.
    EXPECT_FALSE(probe::WaitUntil([&] { return !panel_.IsRunning() || Focus() != buttons_[0]; },
                                  kNothingHappensMs))
        << "the panel closed or lost its focus";
    EXPECT_EQ(std::vector<HWND>{window_}, probe::VisibleWindowsOfProcess(panel_.ProcessId()))
        << "nothing else is shown";
    probe::PressKey(VK_DOWN);
    EXPECT_TRUE(FocusAndFrameOn(buttons_[1])) << "the panel did not stay usable";
    EXPECT_EQ("", ExplorerRecord());
}

TEST_F(Actions, InstallWithoutAnInstallerCloses) {
    LaunchWith(PanelIni(kThreeCaptions));
    ActivateWithFocus();
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForExitCode(0));
}

TEST_F(Actions, EscapeClosesWithoutStartingAnything) {
    AddInstaller();
    LaunchWith(PanelIni(kThreeCaptions, kInstaller));
    ActivateWithFocus();
    probe::PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForExitCode(0));
    EXPECT_EQ("", InstallerRecord());
}

TEST_F(Actions, CancelClosesWithoutStartingAnything) {
    AddInstaller();
    LaunchWith(PanelIni(kThreeCaptions, kInstaller));
    ActivateWithFocus();
    probe::PressKey(VK_UP);
    ASSERT_TRUE(FocusAndFrameOn(buttons_[2]));
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForExitCode(0));
    EXPECT_EQ("", InstallerRecord());
}

TEST_F(Actions, EnterOnBrowseOpensTheFolderAndStaysOpen) {
    LaunchWith(PanelIni(kThreeCaptions));
    ActivateWithFocus();
    probe::PressKey(VK_DOWN);
    ASSERT_TRUE(FocusAndFrameOn(buttons_[1]));

    probe::PressKey(VK_RETURN);
    ASSERT_TRUE(probe::WaitUntil([&] { return !ExplorerRecord().empty(); }))
        << "the file browser did not start";
    EXPECT_EQ("explorer.exe \"" + distribution_->Path() + "\"", ExplorerRecord());
    EXPECT_TRUE(panel_.IsRunning());
    EXPECT_TRUE(FocusAndFrameOn(buttons_[1]));
}

// The settings file must be readable from the current directory: its path
// (directory, backslash, "tandrel.ini") fits in 259 characters up to here.
const size_t kLongestUsableDirectory = 259 - 12;

TEST_F(Actions, BrowseFromTheLongestUsableCurrentDirectory) {
    std::string deepest = distribution_->MakeFolderOfLength(kLongestUsableDirectory);
    ASSERT_FALSE(deepest.empty()) << "cannot make the folder";
    std::string relative = deepest.substr(distribution_->Path().size() + 1);
    ASSERT_TRUE(
        distribution_->WriteFile(relative + "\\tandrel.ini", PanelIni("BrowseBut=Browse\r\n")));
    // tandrel.exe and the stand-in stay in the short root of the distribution.
    Launch(deepest);
    ActivateWithFocus();
    probe::PressKey(VK_RETURN);
    ASSERT_TRUE(probe::WaitUntil([&] { return !ExplorerRecord().empty(); }))
        << "the file browser did not start";
    EXPECT_EQ("explorer.exe \"" + deepest + "\"", ExplorerRecord());
    EXPECT_EQ(15 + kLongestUsableDirectory, ExplorerRecord().size());
}

} // namespace
