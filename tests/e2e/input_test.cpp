// Keys, clicks and what the buttons do, as the real program gets them: through
// the focused button; the installer, the file browser, closing. (Which key
// steps where, the panel's tests show.)
#include "panel_fixture.h"

namespace {

using Actions = PanelTest;

// The installer is a stand-in in a folder whose name has a blank and letters
// of any script.
const char kFolder[] = "Установка файлы", kInstaller[] = "\"Установка файлы\\setup.exe\" /lang ru";

// Install starts the installer in the distribution's folder and closes the
// panel, or, when it cannot start, leaves the panel usable and shows nothing
// else (the key after Enter is handled after Enter's own Space press).
TEST_F(Actions, InstallEscapeAndCancelCloseUnlessTheInstallerCannotStart) {
    const struct {
        const char* name;
        const char* installer;
        std::vector<WORD> keys;
        bool staysOpen = false;
    } cases[] = {
        {"Install", kInstaller, {VK_RETURN}},
        {"Install without an installer", "", {VK_RETURN}},
        {"Install that cannot start", "missing.exe /q", {VK_RETURN, VK_DOWN}, true},
        {"Escape", kInstaller, {VK_ESCAPE}},
        {"Cancel", kInstaller, {VK_UP, VK_RETURN}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(distribution_->MakeFolder(kFolder));
        ASSERT_TRUE(
            distribution_->CopyProgram("stand_in.exe", kFolder + std::string("\\setup.exe")));
        ASSERT_NO_FATAL_FAILURE(LaunchActive(c.installer));
        for (WORD key : c.keys) {
            probe::PressKey(key);
        }
        if (c.staysOpen) {
            EXPECT_TRUE(FocusAndFrameOn(1)) << "the panel did not stay usable";
            EXPECT_EQ(std::vector<HWND>{window_}, probe::WindowsOf(panel_.ProcessId()))
                << "the panel is not the only window";
            continue;
        }
        EXPECT_TRUE(panel_.ExitsWith(0));
        // The installer records its command line and its folder.
        std::string record = kFolder + std::string("\\setup.exe");
        std::string want = std::string(c.name) != "Install"
                               ? ""
                               : std::string(kInstaller) + "\n" + distribution_->Path() + "\n";
        EXPECT_TRUE(probe::WaitUntil([&] { return Record(record) == want; })) << Record(record);
    }
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
