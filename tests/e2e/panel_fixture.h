// A test case with one panel: its distribution folder, its process and its
// window. Every wait has a deadline, and a wait that fails says what it saw.
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
    // Writes the settings file (unless null), starts the panel in the
    // distribution folder and waits for its window and `buttons` buttons.
    ::testing::AssertionResult LaunchWith(const char* ini, size_t buttons) {
        if (ini && !distribution_->WriteIni(ini)) {
            return ::testing::AssertionFailure() << "cannot write the settings file";
        }
        if (!panel_.Start(*distribution_)) {
            return ::testing::AssertionFailure() << "cannot start tandrel.exe";
        }
        window_ = panel_.WaitForWindow();
        if (!window_) {
            return ::testing::AssertionFailure()
                   << "no panel window; running: " << panel_.IsRunning();
        }
        buttons_ = probe::Buttons(window_);
        if (buttons_.size() != buttons) {
            return ::testing::AssertionFailure() << buttons_.size() << " buttons, not " << buttons;
        }
        return ::testing::AssertionSuccess();
    }

    // Writes a picture, as panel.bmp.
    bool AddPicture(const bmp::Options& options) {
        return bmp::WriteFile(distribution_->PathOf("panel.bmp"), bmp::Build(options));
    }

    ::testing::AssertionResult Activate() {
        if (!probe::Activate(window_)) {
            return ::testing::AssertionFailure() << "the panel did not become active";
        }
        return ::testing::AssertionSuccess();
    }

    HWND Focus() const { return probe::FocusOf(window_); }

    // Which of the buttons (by index) has the focus and which carry the
    // default frame, as "focus 1, framed 1".
    std::string FocusAndFrame() const {
        std::string seen = "focus ";
        HWND focus = Focus();
        std::string framed;
        for (size_t i = 0; i < buttons_.size(); ++i) {
            if (buttons_[i] == focus) {
                seen += std::to_string(i);
            }
            if ((probe::Style(buttons_[i]) & 0x0F) == BS_DEFPUSHBUTTON) {
                framed += (framed.empty() ? "" : " ") + std::to_string(i);
            }
        }
        return seen + ", framed " + framed;
    }

    // Waits until button `index` has both the focus and the only default frame.
    ::testing::AssertionResult FocusAndFrameOn(size_t index) {
        std::string want = "focus " + std::to_string(index) + ", framed " + std::to_string(index);
        if (probe::WaitUntil([&] { return FocusAndFrame() == want; })) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "want " << want << ", saw " << FocusAndFrame();
    }

    ::testing::AssertionResult ExitsWith(DWORD expected) {
        DWORD exitCode = 0xDEAD;
        if (!panel_.WaitForExit(&exitCode, probe::kWaitMs)) {
            return ::testing::AssertionFailure() << "the panel is still running";
        }
        if (exitCode != expected) {
            return ::testing::AssertionFailure() << "exit code " << exitCode;
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<Distribution> distribution_ = std::make_unique<Distribution>();
    Panel panel_;
    HWND window_ = nullptr;
    std::vector<HWND> buttons_;
};

// Settings of a panel with 100 x 30 buttons beside panel.bmp, the given
// captions and installer.
inline std::string PanelIni(const std::string& captions, const std::string& installer = "") {
    return "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\nInstaller=" +
           installer + "\r\n[Button_Captions]\r\n" + captions;
}

const char kThreeCaptions[] = "InstallBut=Install\r\nBrowseBut=Browse\r\nCancelBut=Cancel\r\n";

// A 400 x 300 picture, as the tests' panels have unless they say otherwise.
inline bmp::Options PanelPicture() {
    bmp::Options options;
    options.width = 400;
    options.height = 300;
    return options;
}

#endif
