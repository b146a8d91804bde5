// A fresh distribution folder for one test case, and the panel started in it.
#ifndef TANDREL_TESTS_E2E_DISTRIBUTION_H
#define TANDREL_TESTS_E2E_DISTRIBUTION_H

#include <windows.h>

#include <string>
#include <vector>

// The folder of the test programs: tandrel.exe and the stand-ins are built there.
std::string BuildFolder();

// A temporary folder holding a copy of tandrel.exe and a stand-in explorer.exe
// beside it (found before the system's, so that no test opens a real file
// browser). When the object goes, the folder goes with everything in it.
class Distribution {
  public:
    Distribution();
    ~Distribution();
    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "\\" + name; }

    bool WriteFile(const std::string& name, const std::string& bytes) const;
    bool WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) const;
    bool WriteIni(const std::string& text) const { return WriteFile("tandrel.ini", text); }
    // Copies a program of the build folder into the distribution under `name`.
    bool CopyProgram(const std::string& buildName, const std::string& name) const;
    bool MakeFolder(const std::string& name) const;

    // What a stand-in program started from `name` recorded: its command line
    // and current directory; empty when it never ran.
    std::string RecordedCommandLine(const std::string& name) const;
    std::string RecordedDirectory(const std::string& name) const;
    // How often the stand-in `name` was started.
    DWORD Starts(const std::string& name) const;

  private:
    std::string path_;
};

// tandrel.exe started in a distribution folder. A process still running when
// the object goes, or starts another, is ended: only this process, by its handle.
class Panel {
  public:
    Panel() = default;
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Starts the distribution's tandrel.exe in its folder (or `folder`),
    // ending any panel that this object started before.
    bool Start(const Distribution& distribution, const std::string& folder = "");
    DWORD ProcessId() const { return processId_; }
    bool IsRunning() const;
    // Whether a program that the panel started still runs.
    bool ChildRuns() const;

    // Waits for the visible main window; null when it did not appear in time.
    HWND WaitForWindow();
    // Waits for the process to end; returns whether it did, with its exit code.
    bool WaitForExit(DWORD* exitCode, DWORD timeoutMs);
    // Waits for the process to end while checking that it never shows a window.
    bool ExitsWithoutWindow(DWORD* exitCode);

  private:
    void End();

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

#endif
