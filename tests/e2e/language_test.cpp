// Every language a publisher ships: settings saved as UTF-16, as UTF-8 with
// and without a byte-order mark and in the ANSI code page, shown exactly; the
// language's sections chosen by the customer's display language or by /lang.
// (File names in any characters: the picture and the installer of the input
// cases.)
#include "panel_fixture.h"
#include "settings_testing.h"

namespace {

// UTF-8 text saved as UTF-16LE with its byte-order mark.
std::string Utf16Le(const std::string& utf8) {
    std::wstring wide = probe::Wide(utf8);
    return Utf16(std::u16string(wide.begin(), wide.end()), false);
}

// A panel of three buttons beside panel.bmp with these texts.
std::string Ini(const std::string& title, const std::string& install, const std::string& browse,
                const std::string& cancel) {
    return Replaced(PanelIni("InstallBut=" + install + "\r\nBrowseBut=" + browse +
                             "\r\nCancelBut=" + cancel + "\r\n"),
                    "[General]", "[General]\r\nTitleBar=" + title);
}

const std::string kSections = Ini("Quillmere", "Install", "Browse", "Cancel") +
                              "[Button_Captions.ja]\r\nCancelBut=キャンセル\r\n"
                              "[Button_Captions.de]\r\nCancelBut=Abbrechen\r\n"
                              "[Button_Captions.pt]\r\nCancelBut=Cancelar\r\n"
                              "[General.zh-Hans]\r\nTitleBar=简体\r\n"
                              "[General.zh-Hant]\r\nTitleBar=繁體\r\n";

class LanguageTest : public PanelTest {
  protected:
    // The panel of kSections started with `arguments`: its title and its
    // Cancel caption.
    std::string TitleAndCancel(const std::string& arguments) {
        ::testing::AssertionResult launched = LaunchWith(kSections, 3, arguments);
        std::string seen =
            launched ? probe::Text(window_) + " / " + probe::Text(buttons_[2]) : launched.message();
        PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return panel_.ExitsWith(0) ? seen : seen + ", not closed";
    }
};

using Languages = LanguageTest;

TEST_F(Languages, EveryEncodingShowsItsTextsExactly) {
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> texts; // title, then the captions
    } cases[] = {
        {"UTF-16",
         Utf16Le(Ini("クイルミア スタジオ", "Εγκατάσταση", "Περιήγηση", "Άκυρο")),
         {"クイルミア スタジオ", "Εγκατάσταση", "Περιήγηση", "Άκυρο"}},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF" + Ini("Установка", "Установить", "تصفح", "ביטול"),
         {"Установка", "Установить", "تصفح", "ביטול"}},
        {"UTF-8 without one",
         Ini("Café Studio 𝄞", "インストール", "Ελληνικά", "Отмена"),
         {"Café Studio 𝄞", "インストール", "Ελληνικά", "Отмена"}},
        {"Windows-1252",
         Ini("Caf\xE9 Studio", "Gr\xF6\xDF\x65", "\xC0 voir", "Cancel"),
         {"Café Studio", "Größe", "À voir", "Cancel"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        distribution_ = std::make_unique<Distribution>();
        ASSERT_TRUE(AddPicture());
        ASSERT_TRUE(LaunchWith(c.file, 3));
        std::vector<std::string> texts = {probe::Text(window_)};
        for (HWND button : buttons_) {
            texts.push_back(probe::Text(button));
        }
        EXPECT_EQ(c.texts, texts);
    }
}

TEST_F(Languages, LangChoosesTheSectionsWhateverTheDisplayLanguage) {
    const struct {
        const char* arguments;
        const char* seen;
    } cases[] = {
        {"/lang:ja", "Quillmere / キャンセル"}, {"/LANG zh-CN", "简体 / Cancel"},
        {"/lang:zh-HK", "繁體 / Cancel"},       {"/lang de-AT", "Quillmere / Abbrechen"},
        {"/lang:fr", "Quillmere / Cancel"},
    };
    ASSERT_TRUE(AddPicture());
    for (const auto& c : cases) {
        EXPECT_EQ(c.seen, TitleAndCancel(c.arguments)) << c.arguments;
    }
}

// Runs again in Wine sessions of other display languages (tests/CMakeLists.txt),
// which TANDREL_TEST_LANGUAGE names.
using DisplayLanguage = LanguageTest;

TEST_F(DisplayLanguage, ChoosesTheSectionsOfTheCustomersLanguage) {
    const struct {
        const char* language; // as the test's own process sees it
        const char* seen;
    } cases[] = {
        {"en-US", "Quillmere / Cancel"},     {"de-DE", "Quillmere / Abbrechen"},
        {"pt-BR", "Quillmere / Cancelar"},   {"zh-TW", "繁體 / Cancel"},
        {"ja-JP", "Quillmere / キャンセル"},
    };
    wchar_t language[16] = {}, country[16] = {};
    LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, language, 16);
    GetLocaleInfoW(locale, LOCALE_SISO3166CTRYNAME, country, 16);
    std::string tag = probe::Utf8(language) + "-" + probe::Utf8(country);
    const char* wanted = std::getenv("TANDREL_TEST_LANGUAGE");
    ASSERT_EQ(wanted ? wanted : "en-US", tag) << "the session's display language";
    auto c = std::find_if(std::begin(cases), std::end(cases),
                          [&](const auto& row) { return tag == row.language; });
    ASSERT_NE(std::end(cases), c);
    ASSERT_TRUE(AddPicture());
    EXPECT_EQ(c->seen, TitleAndCancel(""));
}

} // namespace
