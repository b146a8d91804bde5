// Provisional language choice, to be replaced by the full one.
#include "launcher/language.h"

#include "launcher/settings_text.h"
#include "launcher/utf16.h"

int ChooseLanguage(const char16_t* const preferred[], int preferredCount,
                   const char16_t* const offered[], int offeredCount) {
    for (int p = 0; p < preferredCount; ++p) {
        TextSpan tag = {preferred[p], Utf16Length(preferred[p])};
        for (int pass = 0; pass < 2; ++pass) {
            for (int o = 0; o < offeredCount; ++o) {
                if (SameSettingsName(tag, offered[o])) {
                    return o;
                }
            }
            std::size_t primary = 0;
            while (primary < tag.length && tag.text[primary] != u'-') {
                ++primary;
            }
            tag.length = primary;
        }
    }
    return -1;
}

bool IsLanguageTag(const char16_t* tag) {
    std::size_t length = Utf16Length(tag);
    return length >= 2;
}
