// The panel in a Downloads folder: a DLL planted beside it under a system
// DLL's name is never loaded, and the publisher's check says which of the
// panel and the installer are signed, and by whom.
#include "panel_fixture.h"

#include <wincodec.h>

#include "wic_files.h"

namespace {

// Wine's setting that makes tandrel.exe, and no other program, prefer a DLL
// of these names found on its search path to Wine's own, as Windows would
// take any DLL of that name that its search finds.
class PreferFoundDlls {
  public:
    explicit PreferFoundDlls(const std::vector<std::string>& names) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_,
                        nullptr);
        for (const std::string& name : names) {
            RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>("native,builtin"), 15);
        }
    }
    ~PreferFoundDlls() {
        RegCloseKey(key_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\tandrel.exe");
    }
    PreferFoundDlls(const PreferFoundDlls&) = delete;
    PreferFoundDlls& operator=(const PreferFoundDlls&) = delete;

  private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\tandrel.exe\\DllOverrides";
    HKEY key_ = nullptr;
};

using Planted = PanelTest;

// The DLLs that decoding a PNG picture loads by name on the panel's behalf
// (the imports of the COM and imaging DLLs, which the panel itself loads by
// full path), as Wine's loader trace lists them.
TEST_F(Planted, DllsBesideThePanelAreNeverLoaded) {
    const std::vector<std::string> names = {"rpcrt4", "combase", "propsys", "shcore", "shlwapi"};
    PreferFoundDlls prefer(names);
    for (const std::string& name : names) {
        ASSERT_TRUE(distribution_->CopyProgram("planted.dll", name + ".dll"));
    }
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); // for the encoder
    ASSERT_TRUE(wic::Write(distribution_->PathOf("panel.png"), GUID_ContainerFormatPng, 400, 300,
                           wic::Pixels(400 * 300 * 4, 0x80)));
    CoUninitialize();
    ASSERT_TRUE(distribution_->CopyProgram("stand_in.exe", "setup.exe"));

    ASSERT_TRUE(LaunchWith(Replaced(PanelIni(kThreeCaptions, "setup.exe"), "bmp", "png"), 3));
    RECT client = probe::ClientRectOnScreen(window_);
    EXPECT_EQ(300, client.bottom - client.top) << "the picture was not shown";
    ASSERT_TRUE(probe::Activate(window_));
    probe::PressKey(VK_DOWN);
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(probe::WaitUntil([&] { return !Record("explorer.exe").empty(); }))
        << "Browse did not start the file browser";
    probe::PressKey(VK_UP);
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(panel_.ExitsWith(0));
    EXPECT_TRUE(probe::WaitUntil([&] { return !Record("setup.exe").empty(); }))
        << "Install did not start the installer";
    for (const std::string& name : names) {
        EXPECT_EQ("", distribution_->Read(name + ".dll.loaded")) << name << ".dll was loaded by";
    }
}

using Signatures = PanelTest;

TEST_F(Signatures, CheckSaysWhichProgramsAreSignedAndByWhom) {
    const char kWarning[] = ": not signed, so customers who downloaded it see a SmartScreen "
                            "warning before it runs, and Smart App Control may block it";
    const struct {
        const char* name;
        const char* panel;
        const char* installer; // a program of the build, or a script's text
        const char* commandLine;
        DWORD exitCode;
        std::vector<std::string> lines; // a line that is not there begins with "-"
    } cases[] = {
        {"both signed",
         "tandrel_signed.exe",
         "stand_in_signed.exe",
         "setup.exe /q",
         0,
         {"note: tandrel.exe: signed by Tandrel Test Publisher (read from its certificate",
          "note: setup.exe: signed by Tandrel Test Publisher"}},
        {"panel unsigned",
         "tandrel.exe",
         "stand_in_signed.exe",
         "setup.exe /q",
         1,
         {std::string("warning: tandrel.exe") + kWarning, "-warning: setup.exe"}},
        {"installer unsigned",
         "tandrel_signed.exe",
         "stand_in.exe",
         "setup.exe /q",
         1,
         {std::string("warning: setup.exe") + kWarning, "-warning: tandrel.exe"}},
        {"installer a script",
         "tandrel_signed.exe",
         "@echo off\r\n",
         "setup.cmd /q",
         0,
         {"note: setup.cmd: not a program file (an .msi package or a script?)"}},
        {"Windows' own program", "tandrel_signed.exe", "", "cmd.exe /c exit", 0, {"-cmd.exe:"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(AddPicture(Picture()));
        ASSERT_TRUE(distribution_->CopyProgram(c.panel, "tandrel.exe"));
        std::string installer = c.installer;
        ASSERT_TRUE(
            installer.find(".exe") != std::string::npos
                ? distribution_->CopyProgram(installer, "setup.exe")
                : distribution_->WriteFile(
                      "setup.cmd", std::vector<std::uint8_t>(installer.begin(), installer.end())));
        ASSERT_TRUE(distribution_->WriteIni(PanelIni(kThreeCaptions, c.commandLine)));
        ASSERT_TRUE(panel_.Start(*distribution_, "", "/check"));
        ::testing::AssertionResult exited = panel_.ExitsWith(c.exitCode, true);
        std::string report = distribution_->Read("output.txt");
        EXPECT_TRUE(exited) << report;
        for (const std::string& line : c.lines) {
            bool absent = line[0] == '-';
            EXPECT_EQ(absent, report.find(line.substr(absent ? 1 : 0)) == std::string::npos)
                << line << " in:\n"
                << report;
        }
    }
}

} // namespace
