// The settings value: every row of the table read from a file's text, a
// language's sections over the plain ones key by key, and the languages a
// file offers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/settings.h"

namespace {

using std::u16string;

// The names as the program's string table holds them.
SettingNames Names() {
    SettingNames names = {};
    const char16_t* keys[] = {
#define TANDREL_KEY_TEXT(setting, section, id, key, kind, limit) u"" key,
        TANDREL_SETTINGS(TANDREL_KEY_TEXT)
#undef TANDREL_KEY_TEXT
    };
    u16string(u"General").copy(names.sections[0], kSettingTextSize);
    u16string(u"Button_Captions").copy(names.sections[1], kSettingTextSize);
    for (int setting = 0; setting < kSettingCount; ++setting) {
        u16string(keys[setting]).copy(names.keys[setting], kSettingTextSize);
    }
    return names;
}

struct File {
    explicit File(const std::string& utf8) {
        EXPECT_TRUE(
            text.Decode(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size(), nullptr));
    }
    SettingsText text;
};

const char kBilingual[] =
    "[General]\nTitleBar=Quillmere Studio\nBmp=panel.bmp\n"
    "Installer=setup.exe /lang en\nButtonWidth=100\nButtonHeight=30\n"
    "[Button_Captions]\nInstallBut=&Install\nBrowseBut=&Browse\n"
    "CancelBut=Cancel\n"
    "[general.JA]\nTitleBar=クイルミア スタジオ\nInstaller=setup.exe /lang ja\n"
    "[Button_Captions.ja]\nInstallBut=インストール(&I)\nBrowseBut=\n"
    "[Button_Captions.de]\nCancelBut=Abbrechen\nButtonWidth=140\n";

TEST(Settings, ALanguagesKeysTakeThePlaceOfThePlainOnesOneByOne) {
    File file(kBilingual);
    const u16string plain = u"Quillmere Studio|panel.bmp|setup.exe /lang en|&Install|&Browse|";
    const struct {
        const char16_t* language;
        u16string texts;  // title, picture, installer, captions
        std::string rest; // width, height; which of title, installer, captions are the language's
    } cases[] = {
        {nullptr, plain + u"Cancel", "100 30 00000"},
        {u"ja", u"クイルミア スタジオ|panel.bmp|setup.exe /lang ja|インストール(&I)||Cancel",
         "100 30 11110"},
        // ButtonWidth in the captions' section is not where the panel reads it.
        {u"de", plain + u"Abbrechen", "100 30 00001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language ? "a language" : "plain");
        Settings s;
        ReadSettings(file.text, Names(), c.language, &s);
        u16string texts;
        for (Setting setting : {kTitleBar, kBmp, kInstaller, kInstallBut, kBrowseBut, kCancelBut}) {
            texts += (texts.empty() ? u"" : u"|") + u16string(s.Text(setting));
        }
        std::string rest = std::to_string(s.Number(kButtonWidth)) + " " +
                           std::to_string(s.Number(kButtonHeight)) + " ";
        for (Setting setting : {kTitleBar, kInstaller, kInstallBut, kBrowseBut, kCancelBut}) {
            rest += s.localised[setting] ? "1" : "0";
        }
        EXPECT_EQ(c.texts, texts);
        EXPECT_EQ(c.rest, rest);
        EXPECT_TRUE(s.HasCaption());
    }
}

TEST(Settings, MissingValuesAndNamesReadAsEmptyAndTextsAreCut) {
    File file("[General]\nTitleBar=" + std::string(150, 'T') + "\nSysMenuIcon=\n" +
              "[Button_Captions]\nCancelBut=Cancel\n");
    SettingNames names = Names();
    names.keys[kCancelBut][0] = u'\0'; // as when the string table lacks it
    Settings s;
    ReadSettings(file.text, names, u"", &s);
    EXPECT_EQ(u16string(99, u'T'), s.Text(kTitleBar));
    EXPECT_EQ(u16string(), s.Text(kSysMenuIcon));
    EXPECT_EQ(0, s.Number(kButtonWidth));
    EXPECT_FALSE(s.HasCaption()) << "its key's name is missing, so Cancel reads nothing";
}

TEST(Settings, OfferedLanguagesEachOnceInTheirFirstSpelling) {
    File file(std::string(kBilingual) + "[Other.fr]\n[General.de]\n[General.]\n[General.pt-BR]\n" +
              "[Button_Captions." + std::string(40, 'x') + "]\n");
    char16_t tags[kMostLanguages][kLanguageTagSize];
    int count = OfferedLanguages(file.text, Names(), tags);
    EXPECT_EQ((std::vector<u16string>{u"JA", u"de", u"pt-BR"}),
              std::vector<u16string>(tags, tags + count));
}

} // namespace
