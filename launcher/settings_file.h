// The settings file of the current directory, read once, with the names of
// its sections and keys from the program's string table, and the language
// that the customer sees of it.
#ifndef TANDREL_LAUNCHER_SETTINGS_FILE_H
#define TANDREL_LAUNCHER_SETTINGS_FILE_H

#include <windows.h>

#include "launcher/settings.h"

class SettingsFile {
  public:
    SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Reads the names, then the file. False only when the program's own
    // texts are missing; a missing or unreadable file leaves no settings.
    bool Load(HINSTANCE instance);

    // Whether the file was there and read.
    bool Found() const { return found; }
    const SettingsText& Text() const { return text; }
    const SettingNames& Names() const { return names; }

    // The tag of the language sections that this customer sees, or
    // `forced` when it is given: empty for the plain sections.
    void ChooseLanguage(const char16_t* forced, char16_t tag[kLanguageTagSize]) const;
    void Read(const char16_t* language, Settings* out) const {
        ReadSettings(text, names, language, out);
    }

  private:
    SettingNames names = {};
    SettingsText text;
    bool found = false;
};

#endif
