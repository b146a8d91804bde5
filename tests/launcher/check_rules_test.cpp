// The publisher's check as plain rules: near names, mnemonics, caption room
// and the report's verdict.
#include <gtest/gtest.h>

#include <string>

#include "launcher/check_rules.h"

namespace {

TEST(CheckRules, NearestKnownName) {
    const char16_t* const known[] = {u"General", u"Button_Captions", u"Installer",
                                     u"Bmp",     u"ButtonWidth",     u"ButtonHeight"};
    const struct {
        const char16_t* name;
        const char16_t* nearest; // null: none
    } cases[] = {{u"Button_Caption", u"Button_Captions"},
                 {u"Instaler", u"Installer"},
                 {u"installer", nullptr},
                 {u"Bpm", u"Bmp"},
                 {u"Genral", u"General"},
                 {u"ButonHeight", u"ButtonHeight"},
                 {u"Picture", nullptr},
                 {u"Bm", nullptr},
                 {u"ButtonWdth", u"ButtonWidth"},
                 {u"Bildschirm", nullptr},
                 {u"", nullptr}};
    for (const auto& c : cases) {
        const char16_t* nearest = NearestName(c.name, known, 6);
        EXPECT_EQ(std::u16string(c.nearest ? c.nearest : u"(none)"),
                  std::u16string(nearest ? nearest : u"(none)"))
            << std::u16string(c.name).size() << " units";
    }
    EXPECT_EQ(nullptr, NearestName(std::u16string(300, u'x').c_str(), known, 6));
}

TEST(CheckRules, MnemonicsAndCaptionRoom) {
    EXPECT_EQ(u'I', MnemonicOf(u"&Install"));
    EXPECT_EQ(u'B', MnemonicOf(u"Tom && Jerry's &browser"));
    EXPECT_EQ(u'ス', MnemonicOf(u"インストール(&ス)"));
    EXPECT_EQ(0, MnemonicOf(u"Cancel"));
    EXPECT_EQ(0, MnemonicOf(u"Cancel&"));
    EXPECT_TRUE(CaptionFits(92, 26, 100, 30));
    EXPECT_FALSE(CaptionFits(93, 26, 100, 30));
    EXPECT_FALSE(CaptionFits(92, 27, 100, 30));
}

// The verdict of each kind of finding shows end to end; a finding too long
// for the report is left out, and still counts.
TEST(CheckRules, AFindingTooLongIsLeftOutAndStillCounts) {
    CheckReport report;
    report.Begin(kCheckNote);
    report.Add(u"picture");
    report.End();
    report.Begin(kCheckError);
    report.Add(std::u16string(20000, u'x').c_str());
    report.End();
    EXPECT_EQ(2, report.ExitCode());
    EXPECT_EQ(std::u16string(u"note: picture\r\n"), report.Text());
}

} // namespace
