// The few string functions that the plain logic needs of UTF-16 text, which
// the standard library offers only for the platform's own wide characters.
#ifndef TANDREL_LAUNCHER_UTF16_H
#define TANDREL_LAUNCHER_UTF16_H

#include <cstddef>

inline std::size_t Utf16Length(const char16_t* text) {
    std::size_t length = 0;
    while (text[length]) {
        ++length;
    }
    return length;
}

// The first `c` in `text`, or null.
inline const char16_t* Utf16Find(const char16_t* text, char16_t c) {
    for (; *text; ++text) {
        if (*text == c) {
            return text;
        }
    }
    return nullptr;
}

#endif
