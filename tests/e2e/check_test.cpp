// `tandrel.exe /check` in distribution folders with one planted fault each:
// its exit code and the line that names the fault, and that it never shows a
// window or starts a program.
#include "panel_fixture.h"

#include <fstream>
#include <functional>
#include <sstream>

namespace {

const char kGoodIni[] = "[General]\r\nBmp=panel.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
                        "Installer=setup.exe /q\r\n[Button_Captions]\r\nInstallBut=&Install\r\n"
                        "BrowseBut=&Browse\r\nCancelBut=Cancel\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class Check : public ::testing::Test {
  protected:
    // Runs the check with its output in a file, in `folder` of the
    // distribution (its root when empty); false when it showed a window or
    // did not end.
    bool RunCheck(Distribution& distribution, DWORD* exitCode, std::string* report,
                  const std::string& folder = "") {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        std::string reportPath = distribution.PathOf("report.txt");
        HANDLE output = CreateFileA(reportPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, 0, nullptr);
        std::string commandLine = "\"" + distribution.PathOf("tandrel.exe") + "\" /check";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
        PROCESS_INFORMATION process = {};
        std::string directory = folder.empty() ? distribution.Path() : distribution.PathOf(folder);
        bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      directory.c_str(), &startup, &process);
        CloseHandle(output);
        if (!started) {
            return false;
        }
        bool windowSeen = false;
        bool ended = probe::WaitUntil([&] {
            windowSeen = windowSeen || !probe::VisibleWindowsOfProcess(process.dwProcessId).empty();
            return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        });
        if (!ended) {
            TerminateProcess(process.hProcess, 1);
        }
        GetExitCodeProcess(process.hProcess, exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::stringstream text;
        text << std::ifstream(reportPath, std::ios::binary).rdbuf();
        *report = text.str();
        return ended && !windowSeen;
    }
};

TEST_F(Check, NamesEachPlantedFault) {
    struct Case {
        const char* name;
        std::string ini; // empty: no settings file
        std::function<void(Distribution&)> plant;
        DWORD exitCode;
        const char* line;
    };
    bmp::Options wide = PanelPicture();
    wide.width = 1400;
    const Case cases[] = {
        {"no settings file", "", nullptr, 2, "error: tandrel.ini: not found in "},
        {"misspelt section", Replaced(kGoodIni, "[Button_Captions]", "[Button_Caption]"), nullptr,
         2,
         "[Button_Caption]: not a section the panel reads, so its keys are ignored; did you "
         "mean [Button_Captions]?"},
        {"misspelt key", Replaced(kGoodIni, "Installer=", "Instaler="), nullptr, 1,
         "warning: tandrel.ini: [General] Instaler: not a key the panel reads"},
        {"installer cut", Replaced(kGoodIni, "/q", "/q " + std::string(100, 'x')), nullptr, 1,
         "Installer: 113 characters, of which the panel reads the first 99"},
        {"no button size", Replaced(kGoodIni, "ButtonWidth=100", ""), nullptr, 2,
         "[General] ButtonWidth: missing or 0"},
        {"caption too wide", Replaced(kGoodIni, "Cancel\r\n", std::string(40, 'W') + "\r\n"),
         nullptr, 1, "CancelBut: \"WWWW"},
        {"same mnemonic", Replaced(kGoodIni, "&Browse", "&Install it"), nullptr, 1,
         "BrowseBut: its mnemonic &I is also that of InstallBut"},
        {"not a picture", kGoodIni,
         [](Distribution& d) { d.WriteFile("panel.bmp", std::string(60, 'x')); }, 2,
         "error: panel.bmp: not shown, so the window is only its frame and the buttons lie "
         "outside it; it is no picture the panel reads"},
        {"panel larger than a laptop's screen", kGoodIni,
         [&](Distribution& d) { bmp::WriteFile(d.PathOf("panel.bmp"), bmp::Build(wide)); }, 1,
         "more than a 1366 x 768 screen"},
        {"icon that is not one",
         Replaced(kGoodIni, "[General]", "[General]\r\nSysMenuIcon=panel.bmp"), nullptr, 1,
         "warning: panel.bmp: not an icon file"},
        {"installer missing", Replaced(kGoodIni, "setup.exe", "missing.exe"), nullptr, 2,
         "the program \"missing.exe\" is not found"},
        {"started in another folder", kGoodIni, [](Distribution& d) { d.MakeFolder("elsewhere"); },
         2, "the program's own folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Distribution distribution;
        ASSERT_TRUE(bmp::WriteFile(distribution.PathOf("panel.bmp"), bmp::Build(PanelPicture())));
        ASSERT_TRUE(distribution.CopyProgram("stand_in.exe", "setup.exe"));
        ASSERT_TRUE(c.ini.empty() || distribution.WriteIni(c.ini));
        if (c.plant) {
            c.plant(distribution);
        }
        DWORD exitCode = 99;
        std::string report;
        std::string folder = std::string(c.name) == "started in another folder" ? "elsewhere" : "";
        ASSERT_TRUE(RunCheck(distribution, &exitCode, &report, folder));
        EXPECT_EQ(c.exitCode, exitCode) << report;
        EXPECT_NE(std::string::npos, report.find(c.line)) << report;
    }
}

TEST_F(Check, CleanFolderGivesOnlyNotesAndStartsNothing) {
    Distribution distribution;
    ASSERT_TRUE(bmp::WriteFile(distribution.PathOf("panel.bmp"), bmp::Build(PanelPicture())));
    ASSERT_TRUE(distribution.CopyProgram("stand_in.exe", "setup.exe"));
    ASSERT_TRUE(distribution.WriteIni(kGoodIni));
    DWORD exitCode = 99;
    std::string report;
    ASSERT_TRUE(RunCheck(distribution, &exitCode, &report)) << "a window was shown, or no end";
    EXPECT_EQ(0u, exitCode) << report;
    std::istringstream lines(report);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(0u, line.find("note: ")) << line;
    }
    EXPECT_GE(count, 3);
    EXPECT_NE(std::string::npos, report.find("panel.bmp: 400 x 300 pixels")) << report;
    EXPECT_EQ("", distribution.RecordedCommandLine("setup.exe")) << "the installer was started";
}

} // namespace
