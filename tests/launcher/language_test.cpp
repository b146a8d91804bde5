// Which language sections a customer sees, from their display languages.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/language.h"

namespace {

TEST(Language, EachPreferredTagAsGivenThenItsLanguageNeverAnotherScript) {
    const struct {
        const char* name;
        std::vector<const char16_t*> preferred, offered;
        int chosen;
    } cases[] = {
        {"ja-JP finds ja", {u"ja-JP"}, {u"de", u"ja"}, 1},
        {"pt-BR finds pt", {u"pt-BR"}, {u"pt"}, 0},
        {"pt-BR finds itself first", {u"pt-BR"}, {u"pt", u"pt-BR"}, 1},
        {"es-419 finds es", {u"es-419"}, {u"es"}, 0},
        {"sr-Latn-RS finds sr-Latn before sr", {u"sr-Latn-RS"}, {u"sr", u"sr-Latn"}, 1},
        {"zh-TW finds zh-Hant", {u"zh-TW"}, {u"zh-Hans", u"zh-Hant"}, 1},
        {"zh-TW never zh-Hans nor a bare zh", {u"zh-TW"}, {u"zh-Hans", u"zh"}, -1},
        {"zh-HK finds zh-Hant", {u"zh-HK"}, {u"zh", u"zh-Hant"}, 1},
        {"zh-MO finds zh-Hant", {u"zh-MO"}, {u"zh-Hans", u"zh-Hant"}, 1},
        {"zh-CN finds zh-Hans", {u"zh-CN"}, {u"zh-Hant", u"zh-Hans"}, 1},
        {"zh-SG finds a bare zh", {u"zh-SG"}, {u"zh-Hant", u"zh"}, 1},
        {"zh-Hant-TW finds zh-Hant", {u"zh-Hant-TW"}, {u"zh", u"zh-Hant"}, 1},
        {"zh-Hans-CN is zh-CN", {u"zh-Hans-CN"}, {u"zh-CN"}, 0},
        {"zh of no known script finds only itself", {u"zh-US"}, {u"zh", u"zh-Hant"}, -1},
        {"unknown language: the plain sections", {u"fr-FR"}, {u"ja", u"de"}, -1},
        {"most wanted first", {u"fr-FR", u"de-DE"}, {u"de", u"fr"}, 1},
        {"a language's own fallback before the next", {u"de-AT", u"ja-JP"}, {u"ja-JP", u"de"}, 1},
        {"case and _ do not matter", {u"PT_br"}, {u"pt-BR"}, 0},
        {"other tags match as written", {u"x-Klingon"}, {u"de", u"X-klingon"}, 1},
        {"a forced /lang de, alone", {u"de"}, {u"ja", u"de-DE", u"de"}, 2},
        {"nothing offered", {u"de"}, {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.chosen, ChooseLanguage(c.preferred.data(), static_cast<int>(c.preferred.size()),
                                           c.offered.data(), static_cast<int>(c.offered.size())));
    }
}

TEST(Language, TagsAreALanguageCodeThenScriptAndRegion) {
    for (const char16_t* tag : {u"ja", u"EN", u"pt-BR", u"pt_BR", u"zh-Hant", u"zh-Hant-TW",
                                u"es-419", u"fil", u"haw-US", u"quz-PE"}) {
        EXPECT_TRUE(IsLanguageTag(tag)) << static_cast<char>(tag[0]) << static_cast<char>(tag[1]);
    }
    for (const char16_t* tag : {u"", u"jp", u"zz", u"english", u"de-", u"de-DEU", u"de-DE-1996",
                                u"x-klingon", u"zh-Hant-TW-x", u"d\u00E9"}) {
        EXPECT_FALSE(IsLanguageTag(tag)) << static_cast<char>(tag[0]) << static_cast<char>(tag[1]);
    }
}

} // namespace
