// What a settings file's bytes say, as plain functions: the file's encoding,
// told from its first bytes, its text decoded once to UTF-16, and the values
// found in it by the rules of Windows' profile functions (sections and keys
// without regard to case, the first match wins, blanks around names and
// values trimmed, comment lines, lines without `=`, one pair of surrounding
// quotes taken off). The platform only supplies the bytes and the ANSI code
// page's conversion.
#ifndef TANDREL_LAUNCHER_SETTINGS_TEXT_H
#define TANDREL_LAUNCHER_SETTINGS_TEXT_H

#include <cstddef>
#include <cstdint>

// Told apart by the first bytes: a byte-order mark, then valid UTF-8 that
// holds bytes above 127; anything else is in the system's ANSI code page.
enum class TextEncoding { Ansi, Utf8, Utf8WithBom, Utf16Le, Utf16Be };

// Files larger than this are not read at all: no settings file is that long.
constexpr std::size_t kLargestSettingsFile = 1 << 20;

// Converts text in the system's ANSI code page to UTF-16, as
// MultiByteToWideChar(CP_ACP, 0, ...) does; writes at most `room` units and
// returns how many it wrote.
typedef std::size_t (*AnsiToUtf16)(const std::uint8_t* bytes, std::size_t length, char16_t* out,
                                   std::size_t room);

// A stretch of a decoded text; not terminated.
struct TextSpan {
    const char16_t* text;
    std::size_t length;
};

// A settings file decoded to UTF-16 once; owns its text. Decoding never fails
// on what the bytes hold: a UTF-8 file with a byte-order mark decodes
// ill-formed sequences to U+FFFD, a UTF-16 file keeps lone surrogates as
// they are and drops an odd last byte, and NUL characters stay in the text
// (a name or value ends at its first one, as the platform reads them).
class SettingsText {
  public:
    SettingsText() = default;
    ~SettingsText();
    SettingsText(const SettingsText&) = delete;
    SettingsText& operator=(const SettingsText&) = delete;

    // Decodes the file's bytes (any earlier text goes). False when there is no
    // memory for the text, or the file is larger than kLargestSettingsFile;
    // the text is then empty. No bytes at all make an empty text. Without
    // `ansi`, each byte of an ANSI file is the character of that number.
    bool Decode(const std::uint8_t* bytes, std::size_t length, AnsiToUtf16 ansi);

    TextEncoding Encoding() const { return encoding_; }
    // Whether the bytes after any byte-order mark held any above 127; for an
    // ANSI file, the characters that a customer sees then depend on their
    // code page.
    bool HasBytesAbove127() const { return highBytes_; }
    TextSpan Text() const { return {text_, length_}; }

  private:
    char16_t* text_ = nullptr;
    std::size_t length_ = 0;
    TextEncoding encoding_ = TextEncoding::Ansi;
    bool highBytes_ = false;
};

// A line of the text as the profile functions see it. Lines end at CR, LF or
// CR LF. Blanks are tab, vertical tab, form feed, Ctrl+Z (0x1A) and space;
// other spaces (no-break, ideographic) are text. A line whose first character
// is `[` is a section, named up to its first `]` or to the end of the line;
// text after the `]` is ignored. A line whose first character is `;` is a
// comment.
struct SettingsLine {
    enum Kind {
        kSection, // `[name]`: `name` holds the name
        kEntry,   // `key=value` or a line without `=` (all of it `name`, `value` empty)
        kOther,   // blank or a comment
    } kind;
    TextSpan name;
    // As the profile functions return it: trimmed, one pair of quotes off.
    TextSpan value;
    bool hasEquals;
    int number; // 1 for the first line
};

// The line that starts at `*cursor` (0 for the first), moving the cursor past
// it; false at the end of the text. Its number counts on from the one that
// `line` holds, so pass the same `line` back for each next line.
bool NextSettingsLine(const SettingsText& file, std::size_t* cursor, SettingsLine* line);

// The value of `key` in `section` (names of ASCII letters, digits and
// punctuation, compared without regard to case), as the platform's wide
// profile function returns it before cutting; false when the key is not found
// in the first section of that name (later sections of the same name are not
// read), or when its first line there has no `=` (the platform then returns
// its default); `*value` is then empty. The first line of a key wins.
bool FindSettingsValue(const SettingsText& file, const char16_t* section, const char16_t* key,
                       TextSpan* value);

// A value as the platform's profile-integer function reads it: from its first
// 29 characters, leading blanks and control characters skipped, one sign, then
// decimal, or hexadecimal, octal or binary after "0x", "0o" or "0b" (lower
// case); the digits end at the first character that is not one; larger
// numbers wrap around 2^32. 0 for an empty value.
int SettingsInteger(TextSpan value);

// Copies at most `room` - 1 units and a terminating zero, never splitting a
// surrogate pair; returns the units copied.
std::size_t CopyCut(TextSpan value, char16_t* out, std::size_t room);

// Whether two names are the same without regard to the case of ASCII letters.
bool SameSettingsName(TextSpan a, const char16_t* b);

#endif
