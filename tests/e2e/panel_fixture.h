// A test case with one panel: a fresh distribution folder, tandrel.exe started
// in it and its window. Every wait has a deadline, and a wait that fails says
// what it saw.
#ifndef TANDREL_TESTS_E2E_PANEL_FIXTURE_H
#define TANDREL_TESTS_E2E_PANEL_FIXTURE_H

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "distribution.h"
#include "probe.h"

// tandrel.exe started in a distribution folder. A process still running when
// the object goes, or starts another, is ended: only this process, by its
// handle.
class Panel {
  public:
    Panel() = default;
    ~Panel() { End(); }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Starts `program` in `folder`; given `arguments`, its output goes to
    // `output`, or through a pipe to Output().
    bool Start(const std::string& program, const std::string& folder,
               const std::string& arguments = "", HANDLE output = INVALID_HANDLE_VALUE) {
        End();
        std::wstring commandLine = L"\"" + probe::Wide(program) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE write = nullptr;
        if (!arguments.empty()) {
            commandLine += L" " + probe::Wide(arguments);
            if (output == INVALID_HANDLE_VALUE && CreatePipe(&pipe_, &write, &inherit, 0)) {
                SetHandleInformation(pipe_, HANDLE_FLAG_INHERIT, 0);
                output = write;
            }
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = startup.hStdError = output;
        }
        PROCESS_INFORMATION info = {};
        bool started =
            CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, !arguments.empty(), 0,
                           nullptr, probe::Wide(folder).c_str(), &startup, &info);
        if (write) {
            CloseHandle(write);
        }
        if (!started) {
            return false;
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        return true;
    }
    // The distribution's tandrel.exe in `folder` (its own when empty).
    bool Start(const Distribution& distribution, const std::string& folder = "",
               const std::string& arguments = "", HANDLE output = INVALID_HANDLE_VALUE) {
        return Start(distribution.PathOf("tandrel.exe"),
                     folder.empty() ? distribution.Path() : folder, arguments, output);
    }
    // What has come through the pipe so far; the end of the program, not of
    // the pipe, ends the waiting for more.
    const std::string& Output() {
        char buffer[4096];
        DWORD waiting = 0, got = 0;
        while (pipe_ && PeekNamedPipe(pipe_, nullptr, 0, nullptr, &waiting, nullptr) &&
               waiting > 0 && ReadFile(pipe_, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            output_.append(buffer, got);
        }
        return output_;
    }
    DWORD ProcessId() const { return processId_; }
    bool IsRunning() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // Whether a program that the panel started still runs.
    bool ChildRuns() const {
        HANDLE processes = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        BOOL more = Process32First(processes, &entry);
        while (more && entry.th32ParentProcessID != processId_) {
            more = Process32Next(processes, &entry);
        }
        CloseHandle(processes);
        return more != FALSE;
    }
    // The visible window of class `className`, once there is one; null when
    // none appeared in time.
    HWND WaitForWindow(const char* className = "TANDREL") {
        std::vector<HWND> windows;
        probe::WaitUntil([&] {
            windows = probe::WindowsOf(processId_, className);
            return !windows.empty() || !IsRunning();
        });
        return windows.empty() ? nullptr : windows.front();
    }
    // Waits for the process to end with `expected`; if `windowless`, it must
    // not show any window on the way.
    ::testing::AssertionResult ExitsWith(DWORD expected, bool windowless = false) {
        bool windowSeen = false;
        bool ended = probe::WaitUntil([&] {
            windowSeen = windowless && !probe::WindowsOf(processId_).empty();
            Output(); // a full pipe would keep the program waiting
            return windowSeen || !IsRunning();
        });
        Output();
        DWORD exitCode = 0xDEAD;
        GetExitCodeProcess(process_, &exitCode);
        if (windowSeen || !ended || exitCode != expected) {
            return ::testing::AssertionFailure()
                   << (windowSeen ? "a window was shown; " : "")
                   << (ended ? "exit code " : "still running, ") << exitCode;
        }
        return ::testing::AssertionSuccess();
    }

  private:
    void End() {
        if (IsRunning()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, probe::kWaitMs);
        }
        if (process_) {
            CloseHandle(process_);
        }
        if (pipe_) {
            CloseHandle(pipe_);
        }
        process_ = pipe_ = nullptr;
        output_.clear();
    }

    HANDLE process_ = nullptr, pipe_ = nullptr;
    std::string output_;
    DWORD processId_ = 0;
};

// Settings of a panel with 100 x 30 buttons beside panel.bmp, the given
// captions and installer.
inline std::string PanelIni(const std::string& captions, const std::string& installer = "") {
    return "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\nInstaller=" +
           installer + "\r\n[Button_Captions]\r\n" + captions;
}

inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

const char kThreeCaptions[] = "InstallBut=Install\r\nBrowseBut=Browse\r\nCancelBut=Cancel\r\n";

class PanelTest : public ::testing::Test {
  protected:
    // Writes the settings file (unless empty), starts the panel with
    // `arguments` and waits for its window and `buttons` buttons.
    ::testing::AssertionResult LaunchWith(const std::string& ini, size_t buttons,
                                          const std::string& arguments = "") {
        if (!ini.empty() && !distribution_->WriteIni(ini)) {
            return ::testing::AssertionFailure() << "cannot write the settings file";
        }
        window_ = panel_.Start(*distribution_, "", arguments) ? panel_.WaitForWindow() : nullptr;
        buttons_ = window_ ? probe::Buttons(window_) : std::vector<HWND>{};
        if (!window_ || buttons_.size() != buttons) {
            return ::testing::AssertionFailure() << (window_ ? "" : "no panel window; ")
                                                 << buttons_.size() << " buttons, not " << buttons;
        }
        return ::testing::AssertionSuccess();
    }

    // The panel with the three buttons beside the picture, active, with the
    // focus on Install. The picture is named in Japanese.
    void LaunchActive(const std::string& installer = "") {
        ASSERT_TRUE(AddPicture("パネル.bmp"));
        ASSERT_TRUE(LaunchWith(
            Replaced(PanelIni(kThreeCaptions, installer), "panel.bmp", "パネル.bmp"), 3));
        RECT client = probe::ClientRectOnScreen(window_);
        ASSERT_EQ(300, client.bottom - client.top) << "the picture was not read";
        ASSERT_TRUE(probe::Activate(window_)) << "the panel did not become active";
        ASSERT_TRUE(FocusAndFrameOn(0));
    }

    // A picture of 400 x 300, as the tests' panels have.
    bool AddPicture(const std::string& name = "panel.bmp") {
        return distribution_->WriteFile(name, bmp::Build({400, 300}));
    }

    // Which of the buttons (by index) has the focus and which carry the
    // default frame, as "focus 1, framed 1".
    std::string FocusAndFrame() const {
        std::string focus, framed;
        for (size_t i = 0; i < buttons_.size(); ++i) {
            focus += buttons_[i] == probe::ThreadOf(window_).hwndFocus ? std::to_string(i) : "";
            bool frame = (GetWindowLongA(buttons_[i], GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
            framed += frame ? (framed.empty() ? "" : " ") + std::to_string(i) : "";
        }
        return "focus " + focus + ", framed " + framed;
    }

    // Waits until button `index` has both the focus and the only default frame.
    ::testing::AssertionResult FocusAndFrameOn(size_t index) {
        std::string want = "focus " + std::to_string(index) + ", framed " + std::to_string(index);
        if (probe::WaitUntil([&] { return FocusAndFrame() == want; })) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "want " << want << ", saw " << FocusAndFrame();
    }

    // What a stand-in started as `program` recorded: its command line and its
    // folder, a line each; and how often it was started.
    std::string Record(const std::string& program) const {
        return distribution_->Read(program + ".record");
    }
    size_t Starts(const std::string& program) const {
        return distribution_->Read(program + ".starts").size();
    }

    std::unique_ptr<Distribution> distribution_ = std::make_unique<Distribution>();
    Panel panel_;
    HWND window_ = nullptr;
    std::vector<HWND> buttons_;
};

#endif
