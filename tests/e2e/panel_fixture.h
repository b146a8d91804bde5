// A test case with one panel: its distribution folder, its process and its window.
#ifndef TANDREL_TESTS_E2E_PANEL_FIXTURE_H
#define TANDREL_TESTS_E2E_PANEL_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "distribution.h"
#include "probe.h"

class PanelTest : public ::testing::Test {
  protected:
    // Starts the panel in the distribution folder (or `currentDirectory`) and
    // waits for its window; the test fails when no window comes.
    void Launch(const std::string& currentDirectory = "") {
        ASSERT_TRUE(panel_.Start(*distribution_, currentDirectory));
        window_ = panel_.WaitForWindow();
        ASSERT_TRUE(window_) << "no panel window";
        buttons_ = probe::Buttons(window_);
    }

    // Writes a plain picture of the given size, as panel.bmp unless named.
    void AddPicture(int width, int height, bool topDown = false,
                    const std::string& name = "panel.bmp") {
        bmp::Options options;
        options.width = width;
        options.height = height;
        options.topDown = topDown;
        ASSERT_TRUE(bmp::WriteFile(distribution_->PathOf(name), bmp::Build(options)));
    }

    // Writes the settings file, then launches.
    void LaunchWith(const std::string& ini) {
        ASSERT_TRUE(distribution_->WriteIni(ini));
        Launch();
    }

    // Brings the panel to the foreground and waits for a focused button.
    void ActivateWithFocus() {
        ASSERT_TRUE(probe::Activate(window_));
        ASSERT_TRUE(probe::WaitUntil([this] { return probe::FocusOf(window_) != nullptr; }));
    }

    HWND Focus() const { return probe::FocusOf(window_); }

    static bool HasDefaultFrame(HWND button) { return (probe::Style(button) & 0x0F) == 1; }

    // The buttons carrying the default frame.
    std::vector<HWND> FramedButtons() const {
        std::vector<HWND> framed;
        for (HWND button : buttons_) {
            if (HasDefaultFrame(button)) {
                framed.push_back(button);
            }
        }
        return framed;
    }

    // Waits until `button` has both the focus and the only default frame.
    bool FocusAndFrameOn(HWND button) {
        return probe::WaitUntil(
            [&] { return Focus() == button && FramedButtons() == std::vector<HWND>{button}; });
    }

    bool WaitForExitCode(DWORD expected) {
        DWORD exitCode = 0xDEAD;
        return panel_.WaitForExit(&exitCode, probe::kWaitMs) && exitCode == expected;
    }

    std::unique_ptr<Distribution> distribution_ = std::make_unique<Distribution>();
    Panel panel_;
    HWND window_ = nullptr;
    std::vector<HWND> buttons_;
};

// Settings of a panel with 100 x 30 buttons, the given captions and
// installer, and panel.bmp as its picture (without the file, the buttons lie
// outside the window's tiny client area, which keys can still reach).
inline std::string PanelIni(const std::string& captions, const std::string& installer = "") {
    return "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\nInstaller=" +
           installer + "\r\n[Button_Captions]\r\n" + captions;
}

const char kThreeCaptions[] = "InstallBut=Install\r\nBrowseBut=Browse\r\nCancelBut=Cancel\r\n";
const char kInstallAndCancel[] = "InstallBut=Install\r\nCancelBut=Cancel\r\n";

#endif
