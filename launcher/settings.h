// The panel's settings as one plain value, read once from the settings
// file's text by the table of settings, in the customer's language: the keys
// of `[General.<tag>]` and `[Button_Captions.<tag>]` take the place of the
// plain sections' keys one by one. The panel and the publisher's check both
// read it.
#ifndef TANDREL_LAUNCHER_SETTINGS_H
#define TANDREL_LAUNCHER_SETTINGS_H

#include "launcher/keyboard.h"
#include "launcher/settings_table.h"
#include "launcher/settings_text.h"

enum Setting {
#define TANDREL_SETTING_NAME(setting, section, id, key, kind, limit) setting,
    TANDREL_SETTINGS(TANDREL_SETTING_NAME)
#undef TANDREL_SETTING_NAME
        kSettingCount
};
// The captions, in the order of the buttons' slots.
static_assert(kBrowseBut == kInstallBut + kBrowseSlot && kCancelBut == kInstallBut + kCancelSlot,
              "captions in slot order");

enum class SettingKind { kText, kNumber };

struct SettingRow {
    int section; // index into SettingNames::sections
    unsigned keyId;
    SettingKind kind;
    int limit;
};
extern const SettingRow kSettingRows[kSettingCount];

const int kSectionCount = 2;
extern const unsigned kSectionIds[kSectionCount];

// Every text holds at most 99 characters and a terminating zero.
const int kSettingTextSize = 100;
// A language tag of a section's name, such as "zh-Hant", and its zero.
const int kLanguageTagSize = 32;
// Language sections beyond these are not looked at.
const int kMostLanguages = 32;

// The names of the file, its sections and keys, as the string table holds them.
struct SettingNames {
    char16_t file[kSettingTextSize];
    char16_t sections[kSectionCount][kSettingTextSize];
    char16_t keys[kSettingCount][kSettingTextSize];
};

struct Settings {
    char16_t text[kSettingCount][kSettingTextSize];
    int number[kSettingCount];
    // Whether the value came from the language's section.
    bool localised[kSettingCount];

    const char16_t* Text(Setting setting) const { return text[setting]; }
    int Number(Setting setting) const { return number[setting]; }
    const char16_t* Caption(int slot) const { return text[kInstallBut + slot]; }
    // A panel without any caption has no button and is not shown.
    bool HasCaption() const;
};

// Reads every setting of the table; `language` (null or empty for none) names
// the language sections that come first. A missing text is empty, a missing
// number 0.
void ReadSettings(const SettingsText& file, const SettingNames& names, const char16_t* language,
                  Settings* out);

// The tags of the file's language sections, each once, in the order they
// first appear; returns how many, at most kMostLanguages.
int OfferedLanguages(const SettingsText& file, const SettingNames& names,
                     char16_t tags[kMostLanguages][kLanguageTagSize]);

// The language tag of a section named after `plain`, a dot and the tag ("ja"
// of "General.ja", names compared without regard to case); false for any
// other name.
bool TagOfSection(TextSpan section, const char16_t* plain, TextSpan* tag);

// The section `section`, or its language section when `language` is given,
// into `out` of kSettingTextSize units. False when that does not fit.
bool SectionName(const SettingNames& names, int section, const char16_t* language,
                 char16_t out[kSettingTextSize]);

#endif
