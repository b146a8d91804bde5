// The customer's display languages, most wanted first.
#ifndef TANDREL_LAUNCHER_USER_LANGUAGES_H
#define TANDREL_LAUNCHER_USER_LANGUAGES_H

#include "launcher/settings.h"

struct UserLanguages {
    char16_t names[kMostLanguages][kLanguageTagSize];
    const char16_t* tags[kMostLanguages];
    int count;
};

// The platform's list of preferred UI languages where it has one (Windows
// Vista and later), else the user's UI language, else the user's default
// language: tags such as "ja-JP".
void ReadUserLanguages(UserLanguages* out);

#endif
