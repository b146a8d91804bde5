// Starting and stopping the panel: the gate that refuses to show a panel
// without buttons, one panel a folder, the About box, Close, and
// `tandrel.exe /check`, which never shows a window or starts a program.
#include "panel_fixture.h"

#include <regex>

namespace {

using Startup = PanelTest;

TEST_F(Startup, RefusesToShowAPanelWithoutButtons) {
    // No settings file; empty captions; captions in the wrong section.
    const char* const cases[] = {"",
                                 "[Button_Captions]\r\nInstallBut=\r\nBrowseBut=\r\nCancelBut=\r\n",
                                 "[General]\r\nInstallBut=Install\r\nCancelBut=Cancel\r\n"};
    for (const char* ini : cases) {
        SCOPED_TRACE(ini);
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(!*ini || distribution_->WriteIni(ini));
        ASSERT_TRUE(panel_.Start(*distribution_));
        EXPECT_TRUE(panel_.ExitsWith(0, true));
    }
}

TEST_F(Startup, OnePanelAFolder) {
    ASSERT_TRUE(LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n", 1));
    // A window of the test's own in front, which the second start must bring
    // the panel before; the folder named in other letters is the same folder.
    HWND other = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0,
                                 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(probe::Activate(other));
    std::string folder = distribution_->Path();
    CharUpperBuffA(&folder[0], static_cast<DWORD>(folder.size()));
    Panel second;
    ASSERT_TRUE(second.Start(*distribution_, folder));
    EXPECT_TRUE(second.ExitsWith(0, true));
    EXPECT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == window_; }))
        << "the first panel is not in front";
    DestroyWindow(other);

    // A folder whose name differs only in its last letter is another one.
    Distribution elsewhere(distribution_->Path().substr(0, distribution_->Path().size() - 1) + "b");
    ASSERT_TRUE(elsewhere.WriteIni("[Button_Captions]\r\nCancelBut=Cancel\r\n"));
    ASSERT_TRUE(second.Start(elsewhere));
    EXPECT_TRUE(second.WaitForWindow() && panel_.IsRunning()) << "not two panels";
}

TEST_F(Startup, AboutBoxClosesWithOkAndWithEscapeAndCloseEndsThePanel) {
    ASSERT_TRUE(LaunchWith("[Button_Captions]\r\nCancelBut=Cancel\r\n", 1));
    EXPECT_EQ("Quillmere Software, Inc.", probe::Text(window_));
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "OK");
        // The command as the accelerator sends it.
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(104, 1), 0);
        HWND about = panel_.WaitForWindow("#32770");
        ASSERT_TRUE(about) << "no About box";
        EXPECT_EQ(window_, GetWindow(about, GW_OWNER));
        ASSERT_TRUE(probe::Activate(about));
        escape ? probe::PressKey(VK_ESCAPE) : probe::ClickCenterOf(GetDlgItem(about, IDOK));
        EXPECT_TRUE(probe::WaitUntil([&] { return !IsWindow(about); })) << "the About box stayed";
        EXPECT_TRUE(panel_.IsRunning());
    }
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(panel_.ExitsWith(0));
}

const std::string kGoodIni =
    "[General]\r\nBmp=panel.bmp\r\nBmp2x=sharp.bmp\r\nButtonWidth=100\r\nButtonHeight=30\r\n"
    "Installer=setup.exe /q\r\n[Button_Captions]\r\nInstallBut=&Install\r\n"
    "BrowseBut=&Browse\r\nCancelBut=Cancel\r\n";

using Check = PanelTest;

std::string Repeated(const std::string& text, int times) {
    std::string all;
    while (times-- > 0) {
        all += text;
    }
    return all;
}

// Each folder has one planted fault, or none; its programs are signed. (The
// picture's note shows in the routes' case.)
TEST_F(Check, NamesEachPlantedFault) {
    const struct {
        const char* name;
        std::string ini; // empty: no settings file
        std::function<void(Distribution&)> plant;
        DWORD exitCode;
        const char* line;
    } cases[] = {
        {"no settings file", "", nullptr, 2, "error: tandrel.ini: not found in "},
        {"misspelt section", Replaced(kGoodIni, "[Button_Captions]", "[Button_Caption]"), nullptr,
         2,
         "[Button_Caption]: not a section the panel reads, so its keys are ignored; did you mean "
         "[Button_Captions]?"},
        {"no button size", Replaced(kGoodIni, "ButtonWidth=100", ""), nullptr, 2,
         "[General] ButtonWidth: missing or 0"},
        {"caption too wide", Replaced(kGoodIni, "Cancel\r\n", std::string(40, 'W') + "\r\n"),
         nullptr, 1, "CancelBut: \"WWWW"},
        {"same mnemonic", Replaced(kGoodIni, "&Browse", "&Install it"), nullptr, 1,
         "BrowseBut: its mnemonic &I is also that of InstallBut"},
        {"not a picture", kGoodIni,
         [](Distribution& d) { d.WriteFile("panel.bmp", std::vector<std::uint8_t>(60, 'x')); }, 2,
         "error: panel.bmp: not shown, so the window is only its frame and the buttons lie outside "
         "it; it is no picture the panel reads"},
        {"panel larger than a laptop's screen", kGoodIni,
         [](Distribution& d) {
             d.WriteFile("panel.bmp", bmp::Build(bmp::Options{1400, 300}));
         },
         1, "more than a 1366 x 768 screen"},
        {"icon that is not one",
         Replaced(kGoodIni, "[General]", "[General]\r\nSysMenuIcon=panel.bmp"), nullptr, 1,
         "warning: panel.bmp: not an icon file"},
        {"installer missing", Replaced(kGoodIni, "setup.exe", "missing.exe"), nullptr, 2,
         "the program \"missing.exe\" is not found"},
        {"started in another folder", kGoodIni, [](Distribution& d) { d.MakeFolder("elsewhere"); },
         2, "the program's own folder"},
        {"started in its folder named in capitals", kGoodIni, nullptr, 0, "Install starts"},
        {"signed", kGoodIni, nullptr, 0,
         "note: setup.exe: signed by Tandrel Test Publisher (read from its certificate"},
        {"installer unsigned", kGoodIni,
         [](Distribution& d) { d.CopyProgram("stand_in.exe", "setup.exe"); }, 1,
         "warning: setup.exe: not signed, so customers who downloaded it see a SmartScreen "
         "warning before it runs, and Smart App Control may block it"},
        {"installer a script", Replaced(kGoodIni, "setup.exe", "setup.cmd"),
         [](Distribution& d) { d.WriteFile("setup.cmd", {'@'}); }, 0,
         "note: setup.cmd: not a program file (an .msi package or a script?)"},
        {"Windows' own installer", Replaced(kGoodIni, "setup.exe /q", "cmd.exe /c"), nullptr, 0,
         "system32\\cmd.exe"}, // signed in Windows' catalogs, found on the path
        {"title of exactly 99 characters",
         kGoodIni + "[General.de]\r\nTitleBar=" + std::string(99, 't'), nullptr, 0,
         "Install starts"},
        {"title of 100", kGoodIni + "[General.de]\r\nTitleBar=" + std::string(100, 't'), nullptr, 1,
         "[General.de] TitleBar: 100 characters, of which the panel reads the first 99"},
        {"ANSI beyond ASCII", Replaced(kGoodIni, "[General]", "[General]\r\nTitleBar=Caf\xE9"),
         nullptr, 1, "tandrel.ini: it holds characters beyond ASCII in this machine's code page"},
        {"no language", kGoodIni + "[General.jp]\r\n", nullptr, 1,
         "\"jp\" is not a language tag (such as ja, de or pt-BR)"},
        // Reported as UTF-8, whatever the code page.
        {"a language's caption too wide",
         kGoodIni + "[Button_Captions.ja]\r\nCancelBut=" + Repeated("キャンセル", 8), nullptr, 1,
         "[Button_Captions.ja] CancelBut: \"キャンセルキャンセル"},
        {"unknown key of a language", kGoodIni + "[General.ja]\r\nTitelBar=x", nullptr, 1,
         "[General.ja] TitelBar: not a key the panel reads, so it is ignored; did you mean "
         "TitleBar?"},
        {"sharp picture missing", Replaced(kGoodIni, "sharp.bmp", "gone.bmp"), nullptr, 1,
         "warning: gone.bmp: not found, so scaled displays show Bmp enlarged instead"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(AddPicture());
        ASSERT_TRUE(distribution_->WriteFile("sharp.bmp", bmp::Build({800, 600})));
        ASSERT_TRUE(distribution_->CopyProgram("tandrel_signed.exe", "tandrel.exe"));
        ASSERT_TRUE(distribution_->CopyProgram("stand_in_signed.exe", "setup.exe"));
        ASSERT_TRUE(c.ini.empty() || distribution_->WriteIni(c.ini));
        if (c.plant) {
            c.plant(*distribution_);
        }
        std::string folder = distribution_->Path();
        if (std::string(c.name) == "started in another folder") {
            folder = distribution_->PathOf("elsewhere");
        } else if (std::string(c.name) == "started in its folder named in capitals") {
            CharUpperBuffA(&folder[0], static_cast<DWORD>(folder.size()));
        }
        ASSERT_TRUE(panel_.Start(*distribution_, folder, "/check"));
        ::testing::AssertionResult exited = panel_.ExitsWith(c.exitCode, true);
        std::string report = panel_.Output();
        EXPECT_TRUE(exited) << report;
        EXPECT_NE(std::string::npos, report.find(c.line)) << report;
        EXPECT_EQ("", Record("setup.exe")) << "the installer was started";
        // The advice for a clipped caption adds the button's margins to what it takes.
        std::smatch n;
        if (std::regex_search(
                report, n,
                std::regex("takes (\\d+) x (\\d+) pixels and will be clipped: make "
                           "ButtonWidth at least (\\d+) and ButtonHeight at least (\\d+)"))) {
            EXPECT_EQ((std::vector<int>{std::stoi(n[1]) + 8, std::stoi(n[2]) + 4}),
                      (std::vector<int>{std::stoi(n[3]), std::stoi(n[4])}));
        }
        EXPECT_EQ(report.find("\" takes ") != std::string::npos, !n.empty()) << "the advice unread";
    }
}

// The check cases read the report through a pipe; without standard output
// or a console (as from the Explorer), it shows in a message box, with the
// same exit code. (Wine does not let a program attach to its parent's
// console, so that route is not shown here.)
TEST_F(Check, ReportsInAMessageBoxWithoutOutputOrConsole) {
    ASSERT_TRUE(AddPicture());
    ASSERT_TRUE(distribution_->WriteIni(Replaced(kGoodIni, "Bmp2x=sharp.bmp\r\n", "") +
                                        "[Button_Captions.de]\r\nCancelBut=Abbrechen\r\n"));
    FreeConsole();
    ASSERT_TRUE(panel_.Start(*distribution_, "", "/check", nullptr));
    HWND box = panel_.WaitForWindow("#32770");
    ASSERT_TRUE(box) << "no message box";
    std::string boxed = probe::Text(box) + ": " + probe::Text(GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(0u, boxed.find("Tandrel check: ")) << boxed;
    EXPECT_NE(std::string::npos, boxed.find("note: panel.bmp: 400 x 300 pixels")) << boxed;
    EXPECT_NE(std::string::npos, boxed.find("de besides the plain sections")) << boxed;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(panel_.ExitsWith(2)) << "the installer is missing";
}

} // namespace
