#include "launcher/settings_text.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// What the platform's profile functions trim: the ASCII control blanks, space,
// and Ctrl+Z, the DOS end-of-file mark that files copied from old media carry.
bool IsBlank(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

TextSpan Trimmed(const char16_t* begin, const char16_t* end) {
    while (begin < end && IsBlank(*begin)) {
        ++begin;
    }
    while (end > begin && IsBlank(end[-1])) {
        --end;
    }
    return {begin, static_cast<std::size_t>(end - begin)};
}

// The platform keeps names and values as zero-terminated strings, so a NUL
// in the file ends them there.
TextSpan UpToNul(TextSpan span) {
    std::size_t n = 0;
    while (n < span.length && span.text[n] != 0) {
        ++n;
    }
    return {span.text, n};
}

// One pair of the same quotes around a value goes, blanks inside them stay.
TextSpan Unquoted(TextSpan value) {
    if (value.length >= 2 && (value.text[0] == u'"' || value.text[0] == u'\'') &&
        value.text[value.length - 1] == value.text[0]) {
        return {value.text + 1, value.length - 2};
    }
    return value;
}

// The length of the well-formed UTF-8 sequence at `p` and its code point, or
// 0 when the bytes there are ill-formed; `*span` then says how many bytes the
// ill-formed part takes (its longest start of a well-formed sequence, at
// least 1), which becomes one U+FFFD.
std::size_t Utf8Sequence(const std::uint8_t* p, std::size_t n, char32_t* code, std::size_t* span) {
    std::uint8_t lead = p[0];
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    std::size_t more = 0;
    char32_t c = 0;
    std::uint8_t low = 0x80, high = 0xBF; // the second byte's range, which rules out
                                          // overlong forms, surrogates and > U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        c = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        c = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        *span = 1;
        return 0;
    }
    for (std::size_t i = 1; i <= more; ++i) {
        if (i >= n || p[i] < low || p[i] > high) {
            *span = i;
            return 0;
        }
        c = (c << 6) | (p[i] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    *code = c;
    return more + 1;
}

bool IsUtf8(const std::uint8_t* bytes, std::size_t length) {
    char32_t code;
    std::size_t span;
    for (std::size_t at = 0; at < length;) {
        std::size_t n = Utf8Sequence(bytes + at, length - at, &code, &span);
        if (n == 0) {
            return false;
        }
        at += n;
    }
    return true;
}

std::size_t DecodeUtf8(const std::uint8_t* bytes, std::size_t length, char16_t* out) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < length;) {
        char32_t code = 0xFFFD;
        std::size_t span = 0;
        std::size_t n = Utf8Sequence(bytes + at, length - at, &code, &span);
        at += n != 0 ? n : span;
        if (code >= 0x10000) {
            code -= 0x10000;
            out[units++] = static_cast<char16_t>(0xD800 + (code >> 10));
            out[units++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out[units++] = static_cast<char16_t>(code);
        }
    }
    return units;
}

bool SameUnit(char16_t a, char16_t b) {
    if (a >= u'A' && a <= u'Z') {
        a = static_cast<char16_t>(a + 32);
    }
    if (b >= u'A' && b <= u'Z') {
        b = static_cast<char16_t>(b + 32);
    }
    return a == b;
}

void ParseLine(const char16_t* begin, const char16_t* end, SettingsLine* line) {
    TextSpan whole = Trimmed(begin, end);
    const char16_t* b = whole.text;
    const char16_t* e = b + whole.length;
    line->kind = SettingsLine::kOther;
    line->name = line->value = {b, 0};
    line->hasEquals = false;
    if (b == e || *b == u';') {
        return;
    }
    if (*b == u'[') {
        // Windows reads the name up to the first `]` and needs none at all;
        // Wine wants the last one on the line.
        const char16_t* close = b + 1;
        while (close < e && *close != u']') {
            ++close;
        }
        line->kind = SettingsLine::kSection;
        line->name = UpToNul(Trimmed(b + 1, close));
        return;
    }
    line->kind = SettingsLine::kEntry;
    const char16_t* equals = b;
    while (equals < e && *equals != u'=') {
        ++equals;
    }
    line->name = UpToNul(Trimmed(b, equals));
    if (equals < e) {
        line->hasEquals = true;
        line->value = Unquoted(UpToNul(Trimmed(equals + 1, e)));
    }
}

} // namespace

SettingsText::~SettingsText() {
    std::free(text_);
}

bool SettingsText::Decode(const std::uint8_t* bytes, std::size_t length, AnsiToUtf16 ansi) {
    std::free(text_);
    text_ = nullptr;
    length_ = 0;
    encoding_ = TextEncoding::Ansi;
    highBytes_ = false;
    if (bytes == nullptr) {
        length = 0;
    }
    if (length > kLargestSettingsFile) {
        return false;
    }
    // Windows' own profile functions know only the UTF-16LE mark: they read a
    // UTF-8 file as ANSI (its mark sticks to the first line, whose section is
    // lost) and a UTF-16BE one as ANSI too. Here every file reads as written.
    std::size_t skip = 0;
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding_ = TextEncoding::Utf16Le;
        skip = 2;
    } else if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        encoding_ = TextEncoding::Utf16Be;
        skip = 2;
    } else if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        encoding_ = TextEncoding::Utf8WithBom;
        skip = 3;
    }
    const std::uint8_t* body = bytes + skip;
    std::size_t size = length - skip;
    for (std::size_t i = 0; i < size && !highBytes_; ++i) {
        highBytes_ = body[i] > 127;
    }
    // Valid UTF-8 with bytes above 127 is almost never meant as ANSI (Notepad
    // saves UTF-8 without a mark). Pure ASCII reads the same either way.
    if (encoding_ == TextEncoding::Ansi && highBytes_ && IsUtf8(body, size)) {
        encoding_ = TextEncoding::Utf8;
    }
    bool wide = encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Utf16Be;
    // Every byte of ANSI or UTF-8 gives at most one UTF-16 unit.
    std::size_t room = wide ? size / 2 : size;
    if (room == 0) {
        return true;
    }
    text_ = static_cast<char16_t*>(std::malloc(room * sizeof(char16_t)));
    if (text_ == nullptr) {
        return false;
    }
    switch (encoding_) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        int high = encoding_ == TextEncoding::Utf16Le ? 1 : 0;
        for (std::size_t i = 0; i < room; ++i) {
            text_[i] = static_cast<char16_t>(body[2 * i + high] << 8 | body[2 * i + 1 - high]);
        }
        length_ = room;
        break;
    }
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        length_ = DecodeUtf8(body, size, text_);
        break;
    case TextEncoding::Ansi:
        if (ansi != nullptr) {
            length_ = ansi(body, size, text_, room);
            length_ = length_ < room ? length_ : room;
        } else {
            for (std::size_t i = 0; i < size; ++i) {
                text_[i] = body[i];
            }
            length_ = size;
        }
        break;
    }
    return true;
}

bool NextSettingsLine(const SettingsText& file, std::size_t* cursor, SettingsLine* line) {
    TextSpan text = file.Text();
    std::size_t start = *cursor;
    if (start >= text.length) {
        return false;
    }
    std::size_t end = start;
    while (end < text.length && !IsLineEnd(text.text[end])) {
        ++end;
    }
    std::size_t next = end;
    if (next < text.length) {
        bool crlf =
            text.text[next] == u'\r' && next + 1 < text.length && text.text[next + 1] == u'\n';
        next += crlf ? 2 : 1;
    }
    *cursor = next;
    line->number = start == 0 ? 1 : static_cast<int>(static_cast<unsigned>(line->number) + 1u);
    ParseLine(text.text + start, text.text + end, line);
    return true;
}

bool FindSettingsValue(const SettingsText& file, const char16_t* section, const char16_t* key,
                       TextSpan* value) {
    *value = {u"", 0};
    std::size_t cursor = 0;
    SettingsLine line = {};
    bool inside = false;
    while (NextSettingsLine(file, &cursor, &line)) {
        if (line.kind == SettingsLine::kSection) {
            if (inside) {
                return false; // a later section of the same name is not read
            }
            inside = SameSettingsName(line.name, section);
        } else if (inside && line.kind == SettingsLine::kEntry &&
                   SameSettingsName(line.name, key)) {
            if (line.hasEquals) {
                *value = line.value;
            }
            return line.hasEquals;
        }
    }
    return false;
}

int SettingsInteger(TextSpan value) {
    // The platform reads the number through a buffer of 30 characters.
    std::size_t n = value.length < 29 ? value.length : 29;
    const char16_t* p = value.text;
    std::size_t at = 0;
    while (at < n && p[at] <= u' ') {
        ++at;
    }
    bool minus = false;
    if (at < n && (p[at] == u'+' || p[at] == u'-')) {
        minus = p[at] == u'-';
        ++at;
    }
    std::uint32_t base = 10;
    if (n - at >= 2 && p[at] == u'0') {
        base = p[at + 1] == u'x' ? 16 : p[at + 1] == u'o' ? 8 : p[at + 1] == u'b' ? 2 : 10;
        at += base != 10 ? 2 : 0;
    }
    std::uint32_t total = 0;
    for (; at < n; ++at) {
        char16_t c = p[at];
        std::uint32_t digit = c >= u'0' && c <= u'9'   ? c - u'0'
                              : c >= u'a' && c <= u'z' ? c - u'a' + 10
                              : c >= u'A' && c <= u'Z' ? c - u'A' + 10
                                                       : 99;
        if (digit >= base) {
            break;
        }
        total = total * base + digit;
    }
    total = minus ? 0u - total : total;
    // Two's complement, as the platform's unsigned result is read as a signed one.
    return total > INT_MAX ? -static_cast<int>(~total) - 1 : static_cast<int>(total);
}

std::size_t CopyCut(TextSpan value, char16_t* out, std::size_t room) {
    if (out == nullptr || room == 0) {
        return 0;
    }
    std::size_t n = value.length < room - 1 ? value.length : room - 1;
    // The platform cuts between the halves of a pair; half a character shows
    // as a box, so the whole one goes.
    if (n < value.length && n > 0 && IsHighSurrogate(value.text[n - 1]) &&
        IsLowSurrogate(value.text[n])) {
        --n;
    }
    if (n > 0) {
        std::memcpy(out, value.text, n * sizeof(char16_t));
    }
    out[n] = 0;
    return n;
}

bool SameSettingsName(TextSpan a, const char16_t* b) {
    if (b == nullptr) {
        return false;
    }
    std::size_t i = 0;
    for (; i < a.length; ++i) {
        if (b[i] == 0 || !SameUnit(a.text[i], b[i])) {
            return false;
        }
    }
    return b[i] == 0;
}
