// For the settings reader's tests: texts shown escaped, and saved as UTF-16.
#ifndef TANDREL_TESTS_SUPPORT_SETTINGS_TESTING_H
#define TANDREL_TESTS_SUPPORT_SETTINGS_TESTING_H

#include <cstdio>
#include <string>

inline std::string Shown(const std::u16string& text) {
    std::string shown;
    for (char16_t c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
        shown += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : escaped;
    }
    return shown;
}

inline std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

#endif
