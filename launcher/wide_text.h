// The settings' UTF-16 text handed to Windows' wide functions, and their
// answers read as UTF-16: WCHAR and char16_t are the same 16-bit units under
// two names, which the plain logic (built natively too) cannot share.
#ifndef TANDREL_LAUNCHER_WIDE_TEXT_H
#define TANDREL_LAUNCHER_WIDE_TEXT_H

#include <windows.h>

static_assert(sizeof(WCHAR) == sizeof(char16_t), "WCHAR holds UTF-16 units");

inline const WCHAR* W(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}
inline WCHAR* W(char16_t* text) {
    return reinterpret_cast<WCHAR*>(text);
}
inline const char16_t* U(const WCHAR* text) {
    return reinterpret_cast<const char16_t*>(text);
}
inline char16_t* U(WCHAR* text) {
    return reinterpret_cast<char16_t*>(text);
}

#endif
