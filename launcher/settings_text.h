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

// A settings file decoded to UTF-16 once; owns its text.
class SettingsText {
  public:
    SettingsText() = default;
    ~SettingsText();
    SettingsText(const SettingsText&) = delete;
    SettingsText& operator=(const SettingsText&) = delete;

    // Decodes the file's bytes (any earlier text goes). False when there is no
    // memory for the text, or the file is larger than kLargestSettingsFile;
    // the text is then empty. No bytes at all make an empty text.
    bool Decode(const std::uint8_t* bytes, std::size_t length, AnsiToUtf16 ansi);

    TextEncoding Encoding() const { return encoding_; }
    // Whether the bytes held any above 127; for an ANSI file, the characters
    // that a customer sees then depend on their code page.
    bool HasBytesAbove127() const { return highBytes_; }
    TextSpan Text() const { return {text_, length_}; }

  private:
    char16_t* text_ = nullptr;
    std::size_t length_ = 0;
    TextEncoding encoding_ = TextEncoding::Ansi;
    bool highBytes_ = false;
};

// A line of the text as the profile functions see it.
struct SettingsLine {
    enum Kind {
        kSection, // `[name]`: `name` holds the name
        kEntry,   // `key=value` or a line without `=`: `name` and `value` (as read)
        kOther,   // blank or a comment
    } kind;
    TextSpan name;
    // As the profile functions return it: trimmed, one pair of quotes off.
    TextSpan value;
    bool hasEquals;
    int number; // 1 for the first line
};

// The line that starts at `*cursor` (0 for the first), moving the cursor past
// it; false at the end of the text.
bool NextSettingsLine(const SettingsText& file, std::size_t* cursor, SettingsLine* line);

// The value of `key` in `section` (names of ASCII letters, digits and
// punctuation, compared without regard to case), as the platform's wide
// profile function returns it before cutting; false when the key is not found
// in the first section of that name.
bool FindSettingsValue(const SettingsText& file, const char16_t* section, const char16_t* key,
                       TextSpan* value);

// A value as the platform's profile-integer function reads it.
int SettingsInteger(TextSpan value);

// Copies at most `room` - 1 units and a terminating zero, never splitting a
// surrogate pair; returns the units copied.
std::size_t CopyCut(TextSpan value, char16_t* out, std::size_t room);

// Whether two names are the same without regard to the case of ASCII letters.
bool SameSettingsName(TextSpan a, const char16_t* b);

#endif
