// Which language sections a customer sees, from their display languages
// (Chinese of China, and a language the file lacks: end to end).
#include <gtest/gtest.h>

#include <vector>

#include "launcher/language.h"
#include "settings_testing.h"

namespace {

TEST(Language, EachPreferredTagAsGivenThenItsLanguageNeverAnotherScript) {
    const struct {
        std::vector<const char16_t*> preferred, offered;
        int chosen;
    } cases[] = {
        {{u"ja-JP"}, {u"de", u"ja"}, 1},
        {{u"pt-BR"}, {u"pt"}, 0},
        {{u"pt-BR"}, {u"pt", u"pt-BR"}, 1},
        {{u"sr-Latn-RS"}, {u"sr", u"sr-Latn"}, 1},
        {{u"zh-TW"}, {u"zh-Hans", u"zh-Hant"}, 1},
        {{u"zh-HK"}, {u"zh", u"zh-Hant"}, 1},
        {{u"zh-TW"}, {u"zh-Hans", u"zh"}, -1}, // never another script
        {{u"zh-SG"}, {u"zh-Hant", u"zh"}, 1},  // a bare zh is Simplified
        {{u"zh-Hant-TW"}, {u"zh", u"zh-Hant"}, 1},
        {{u"zh-US"}, {u"zh", u"zh-Hant"}, -1}, // of no known script
        {{u"fr-FR", u"de-DE"}, {u"de", u"fr"}, 1},
        {{u"de-AT", u"ja-JP"}, {u"ja-JP", u"de"}, 1}, // de before the next language
        {{u"PT_br"}, {u"pt-BR"}, 0},
        {{u"de"}, {u"ja", u"de-DE", u"de"}, 2}, // a forced /lang, the only one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Shown(c.preferred[0]) + " in " + std::to_string(c.offered.size()));
        EXPECT_EQ(c.chosen, ChooseLanguage(c.preferred.data(), static_cast<int>(c.preferred.size()),
                                           c.offered.data(), static_cast<int>(c.offered.size())));
    }
}

TEST(Language, TagsAreALanguageCodeThenScriptAndRegion) {
    const std::pair<const char16_t*, bool> cases[] = {
        {u"ja", true},         {u"EN", true},          {u"pt-BR", true},      {u"pt_BR", true},
        {u"zh-Hant-TW", true}, {u"es-419", true},      {u"fil", true},        {u"haw-US", true},
        {u"", false},          {u"jp", false},         {u"english", false},   {u"de-", false},
        {u"de-DEU", false},    {u"de-DE-1996", false}, {u"x-klingon", false}, {u"d\u00E9", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, IsLanguageTag(c.first)) << Shown(c.first);
    }
}

} // namespace
