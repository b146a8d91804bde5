// Which language sections of a settings file a customer sees: the tags of
// `[General.<tag>]` and `[Button_Captions.<tag>]`, matched against the
// customer's display languages, as plain functions.
#ifndef TANDREL_LAUNCHER_LANGUAGE_H
#define TANDREL_LAUNCHER_LANGUAGE_H

// The tag among `offered` (the tags of a file's language sections) that best
// serves `preferred` (the customer's languages, most wanted first, such as
// "ja-JP" or "pt-BR"): each preferred language is tried as given, then as its
// primary language ("pt-BR" finds "pt"), before the next one. Chinese goes by
// script and never crosses it: "zh-TW", "zh-HK" and "zh-MO" find "zh-Hant";
// "zh-CN" and "zh-SG" find "zh-Hans" (and a bare "zh"). Tags compare without
// regard to case, and "_" counts as "-". Returns the index in `offered`, or
// -1 when none serves: the plain sections then.
int ChooseLanguage(const char16_t* const preferred[], int preferredCount,
                   const char16_t* const offered[], int offeredCount);

// Whether `tag` names a language: an ISO 639 language code, then optionally a
// script ("Hant") and a region ("BR", "419"), separated by "-".
bool IsLanguageTag(const char16_t* tag);

#endif
