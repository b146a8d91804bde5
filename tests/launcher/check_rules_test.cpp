// The publisher's check as plain rules: the command line, near names,
// mnemonics, caption room and the report's verdict.
#include <gtest/gtest.h>

#include <string>

#include "launcher/check_rules.h"

namespace {

TEST(CheckRules, OnlyTheCheckOptionAsksForTheCheck) {
    const struct {
        const char* commandLine;
        bool check;
    } cases[] = {{"/check", true}, {"-CHECK", true},   {"  /Check ", true},
                 {"", false},      {"/checks", false}, {"check", false},
                 {"/che", false},  {nullptr, false},   {"/check x", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine ? c.commandLine : "null");
        EXPECT_EQ(c.check, IsCheckCommand(c.commandLine));
    }
}

TEST(CheckRules, NearestKnownName) {
    const char* const known[] = {"General", "Button_Captions", "Installer",
                                 "Bmp",     "ButtonWidth",     "ButtonHeight"};
    const struct {
        const char* name;
        const char* nearest; // null: none
    } cases[] = {{"Button_Caption", "Button_Captions"},
                 {"Instaler", "Installer"},
                 {"installer", nullptr},
                 {"Bpm", "Bmp"},
                 {"Genral", "General"},
                 {"ButonHeight", "ButtonHeight"},
                 {"Picture", nullptr},
                 {"Bm", nullptr},
                 {"ButtonWdth", "ButtonWidth"},
                 {"", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const char* nearest = NearestName(c.name, known, 6);
        EXPECT_STREQ(c.nearest ? c.nearest : "(none)", nearest ? nearest : "(none)");
    }
    EXPECT_EQ(nullptr, NearestName(std::string(300, 'x').c_str(), known, 6));
}

TEST(CheckRules, MnemonicsAndCaptionRoom) {
    EXPECT_EQ('I', MnemonicOf("&Install"));
    EXPECT_EQ('B', MnemonicOf("Tom && Jerry's &browser"));
    EXPECT_EQ(0, MnemonicOf("Cancel"));
    EXPECT_EQ(0, MnemonicOf("Cancel&"));
    EXPECT_TRUE(CaptionFits(92, 26, 100, 30));
    EXPECT_FALSE(CaptionFits(93, 26, 100, 30));
    EXPECT_FALSE(CaptionFits(92, 27, 100, 30));
}

TEST(CheckRules, ReportLinesAndVerdict) {
    CheckReport report;
    EXPECT_EQ(0, report.ExitCode());
    report.Begin(kCheckNote);
    report.Add("picture");
    report.End();
    EXPECT_EQ(0, report.ExitCode()) << "notes only";
    report.Begin(kCheckWarning);
    report.Add("clipped");
    report.End();
    EXPECT_EQ(1, report.ExitCode());
    report.Begin(kCheckError);
    report.Add(std::string(20000, 'x').c_str()); // does not fit: left out, still counted
    report.End();
    EXPECT_EQ(2, report.ExitCode());
    EXPECT_EQ(1, report.Errors());
    EXPECT_STREQ("note: picture\r\nwarning: clipped\r\n", report.Text());
}

} // namespace
