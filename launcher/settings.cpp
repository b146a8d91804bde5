#include "launcher/settings.h"

#include <cstring>

#include "launcher/utf16.h"

const SettingRow kSettingRows[kSettingCount] = {
#define TANDREL_SETTING_ROW(setting, section, id, key, kind, limit)                                \
    {section == IDS_SECTION_GENERAL ? 0 : 1, id, SettingKind::kind, limit},
    TANDREL_SETTINGS(TANDREL_SETTING_ROW)
#undef TANDREL_SETTING_ROW
};

const unsigned kSectionIds[kSectionCount] = {IDS_SECTION_GENERAL, IDS_SECTION_BUTTON_CAPTIONS};

bool TagOfSection(TextSpan section, const char16_t* plain, TextSpan* tag) {
    std::size_t plainLength = Utf16Length(plain);
    if (section.length <= plainLength + 1 || section.text[plainLength] != u'.' ||
        !SameSettingsName({section.text, plainLength}, plain)) {
        return false;
    }
    *tag = {section.text + plainLength + 1, section.length - plainLength - 1};
    return true;
}

bool Settings::HasCaption() const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (Caption(slot)[0]) {
            return true;
        }
    }
    return false;
}

bool SectionName(const SettingNames& names, int section, const char16_t* language,
                 char16_t out[kSettingTextSize]) {
    const char16_t* plain = names.sections[section];
    std::size_t plainLength = Utf16Length(plain);
    std::size_t tagLength = language ? Utf16Length(language) : 0;
    std::size_t length = plainLength + (tagLength ? tagLength + 1 : 0);
    if (length >= kSettingTextSize) {
        out[0] = u'\0';
        return false;
    }
    std::memcpy(out, plain, plainLength * sizeof(char16_t));
    if (tagLength) {
        out[plainLength] = u'.';
        std::memcpy(out + plainLength + 1, language, tagLength * sizeof(char16_t));
    }
    out[length] = u'\0';
    return true;
}

void ReadSettings(const SettingsText& file, const SettingNames& names, const char16_t* language,
                  Settings* out) {
    std::memset(out, 0, sizeof(*out));
    char16_t localSections[kSectionCount][kSettingTextSize];
    for (int section = 0; section < kSectionCount; ++section) {
        if (!language || !language[0] ||
            !SectionName(names, section, language, localSections[section])) {
            localSections[section][0] = u'\0';
        }
    }
    for (int setting = 0; setting < kSettingCount; ++setting) {
        const SettingRow& row = kSettingRows[setting];
        const char16_t* key = names.keys[setting];
        if (!key[0] || !names.sections[row.section][0]) {
            continue;
        }
        TextSpan value = {nullptr, 0};
        const char16_t* local = localSections[row.section];
        out->localised[setting] = local[0] && FindSettingsValue(file, local, key, &value);
        if (!out->localised[setting] &&
            !FindSettingsValue(file, names.sections[row.section], key, &value)) {
            continue;
        }
        if (row.kind == SettingKind::kNumber) {
            out->number[setting] = SettingsInteger(value);
        } else {
            CopyCut(value, out->text[setting], static_cast<std::size_t>(row.limit) + 1);
        }
    }
}

int OfferedLanguages(const SettingsText& file, const SettingNames& names,
                     char16_t tags[kMostLanguages][kLanguageTagSize]) {
    int count = 0;
    std::size_t cursor = 0;
    SettingsLine line = {};
    while (count < kMostLanguages && NextSettingsLine(file, &cursor, &line)) {
        TextSpan tag = {nullptr, 0};
        if (line.kind != SettingsLine::kSection ||
            !(TagOfSection(line.name, names.sections[0], &tag) ||
              TagOfSection(line.name, names.sections[1], &tag)) ||
            tag.length >= kLanguageTagSize) {
            continue;
        }
        int known = 0;
        while (known < count && !SameSettingsName(tag, tags[known])) {
            ++known;
        }
        if (known == count) {
            std::memcpy(tags[count], tag.text, tag.length * sizeof(char16_t));
            tags[count++][tag.length] = u'\0';
        }
    }
    return count;
}
