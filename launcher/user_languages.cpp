#include "launcher/user_languages.h"

#include <windows.h>

#include "dib/system_library.h"

namespace {

void Add(UserLanguages* out, const WCHAR* name) {
    if (!name[0] || out->count >= kMostLanguages) {
        return;
    }
    char16_t* slot = out->names[out->count];
    int length = 0;
    while (name[length] && length < kLanguageTagSize - 1) {
        slot[length] = static_cast<char16_t>(name[length]);
        ++length;
    }
    if (name[length]) {
        return; // no tag is that long
    }
    slot[length] = u'\0';
    for (int i = 0; i < out->count; ++i) {
        if (SameSettingsName({slot, static_cast<std::size_t>(length)}, out->tags[i])) {
            return;
        }
    }
    out->tags[out->count++] = slot;
}

// "ja-JP" for a language ID, from the names that every version keeps of its
// locales.
void AddLanguageId(UserLanguages* out, LANGID language) {
    LCID locale = MAKELCID(language, SORT_DEFAULT);
    WCHAR name[kLanguageTagSize] = {};
    int length = GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, name, kLanguageTagSize);
    if (length <= 1) {
        return;
    }
    name[length - 1] = L'-';
    if (GetLocaleInfoW(locale, LOCALE_SISO3166CTRYNAME, name + length, kLanguageTagSize - length) <=
        1) {
        name[length - 1] = L'\0';
    }
    Add(out, name);
}

} // namespace

void ReadUserLanguages(UserLanguages* out) {
    out->count = 0;
    typedef BOOL(WINAPI * PreferredFunction)(DWORD, ULONG*, WCHAR*, ULONG*);
    const DWORD kByName = 0x8; // MUI_LANGUAGE_NAME
    PreferredFunction preferred =
        LoadedFunction<PreferredFunction>(L"kernel32.dll", "GetUserPreferredUILanguages");
    WCHAR list[kMostLanguages * kLanguageTagSize];
    ULONG count = 0;
    ULONG size = kMostLanguages * kLanguageTagSize;
    if (preferred && preferred(kByName, &count, list, &size)) {
        for (const WCHAR* name = list; *name && name < list + size; name += lstrlenW(name) + 1) {
            Add(out, name);
        }
    }
    if (out->count == 0) {
        AddLanguageId(out, GetUserDefaultUILanguage());
        AddLanguageId(out, GetUserDefaultLangID());
    }
}
