// Provisional reader, to be replaced by the full one.
#include "launcher/settings_text.h"

#include <cstring>
#include <new>

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

TextSpan Trim(const char16_t* start, const char16_t* end) {
    while (start < end && IsBlank(*start)) {
        ++start;
    }
    while (end > start && IsBlank(end[-1])) {
        --end;
    }
    return {start, static_cast<std::size_t>(end - start)};
}

bool ValidUtf8(const std::uint8_t* b, std::size_t n, std::size_t* units) {
    *units = 0;
    for (std::size_t i = 0; i < n;) {
        std::uint8_t c = b[i];
        int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + more >= n + (more == 0)) {
            if (more != 0) {
                return false;
            }
        }
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (b[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        *units += more == 3 ? 2 : 1;
        i += more + 1;
    }
    return true;
}

} // namespace

SettingsText::~SettingsText() {
    delete[] text_;
}

bool SettingsText::Decode(const std::uint8_t* bytes, std::size_t length, AnsiToUtf16 ansi) {
    delete[] text_;
    text_ = nullptr;
    length_ = 0;
    encoding_ = TextEncoding::Ansi;
    highBytes_ = false;
    if (length > kLargestSettingsFile) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        highBytes_ = highBytes_ || bytes[i] > 127;
    }
    std::size_t units = 0;
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding_ = TextEncoding::Utf16Le;
    } else if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        encoding_ = TextEncoding::Utf16Be;
    } else if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        encoding_ = TextEncoding::Utf8WithBom;
    } else if (highBytes_ && ValidUtf8(bytes, length, &units)) {
        encoding_ = TextEncoding::Utf8;
    }
    text_ = new (std::nothrow) char16_t[length + 1];
    if (!text_) {
        return false;
    }
    std::size_t n = 0;
    if (encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Utf16Be) {
        bool le = encoding_ == TextEncoding::Utf16Le;
        for (std::size_t i = 2; i + 1 < length; i += 2) {
            text_[n++] = static_cast<char16_t>(le ? bytes[i] | bytes[i + 1] << 8
                                                  : bytes[i] << 8 | bytes[i + 1]);
        }
    } else if (encoding_ == TextEncoding::Utf8 || encoding_ == TextEncoding::Utf8WithBom) {
        std::size_t i = encoding_ == TextEncoding::Utf8WithBom ? 3 : 0;
        while (i < length) {
            std::uint32_t c = bytes[i];
            int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : 3;
            c &= more == 0 ? 0x7F : more == 1 ? 0x1F : more == 2 ? 0x0F : 0x07;
            for (int k = 1; k <= more && i + k < length; ++k) {
                c = c << 6 | (bytes[i + k] & 0x3F);
            }
            i += more + 1;
            if (c >= 0x10000) {
                c -= 0x10000;
                text_[n++] = static_cast<char16_t>(0xD800 | c >> 10);
                text_[n++] = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
            } else {
                text_[n++] = static_cast<char16_t>(c);
            }
        }
    } else {
        n = ansi(bytes, length, text_, length);
    }
    length_ = n;
    text_[n] = u'\0';
    return true;
}

bool NextSettingsLine(const SettingsText& file, std::size_t* cursor, SettingsLine* line) {
    TextSpan text = file.Text();
    if (*cursor >= text.length) {
        return false;
    }
    const char16_t* start = text.text + *cursor;
    const char16_t* end = start;
    const char16_t* stop = text.text + text.length;
    while (end < stop && *end != u'\n' && *end != u'\r') {
        ++end;
    }
    const char16_t* next = end;
    if (next < stop && *next == u'\r') {
        ++next;
    }
    if (next < stop && *next == u'\n') {
        ++next;
    }
    *cursor = static_cast<std::size_t>(next - text.text);
    *line = SettingsLine{};
    TextSpan all = Trim(start, end);
    line->kind = SettingsLine::kOther;
    if (all.length == 0 || all.text[0] == u';') {
        return true;
    }
    if (all.text[0] == u'[') {
        const char16_t* close = all.text + all.length;
        while (close > all.text && close[-1] != u']') {
            --close;
        }
        const char16_t* nameEnd = close > all.text + 1 ? close - 1 : all.text + all.length;
        line->kind = SettingsLine::kSection;
        line->name = Trim(all.text + 1, nameEnd);
        return true;
    }
    const char16_t* equals = all.text;
    while (equals < all.text + all.length && *equals != u'=') {
        ++equals;
    }
    line->kind = SettingsLine::kEntry;
    line->hasEquals = equals < all.text + all.length;
    line->name = Trim(all.text, equals);
    TextSpan value =
        line->hasEquals ? Trim(equals + 1, all.text + all.length) : TextSpan{equals, 0};
    if (value.length > 1 && (value.text[0] == u'"' || value.text[0] == u'\'') &&
        value.text[value.length - 1] == value.text[0]) {
        value = {value.text + 1, value.length - 2};
    }
    line->value = value;
    return true;
}

bool SameSettingsName(TextSpan a, const char16_t* b) {
    std::size_t i = 0;
    for (; i < a.length; ++i) {
        if (!b[i] || Lower(a.text[i]) != Lower(b[i])) {
            return false;
        }
    }
    return b[i] == u'\0';
}

bool FindSettingsValue(const SettingsText& file, const char16_t* section, const char16_t* key,
                       TextSpan* value) {
    std::size_t cursor = 0;
    SettingsLine line;
    int state = 0; // 0 before, 1 in, 2 after the section
    while (state < 2 && NextSettingsLine(file, &cursor, &line)) {
        if (line.kind == SettingsLine::kSection) {
            state = state == 1 ? 2 : SameSettingsName(line.name, section) ? 1 : 0;
        } else if (state == 1 && line.kind == SettingsLine::kEntry && line.hasEquals &&
                   SameSettingsName(line.name, key)) {
            *value = line.value;
            return true;
        }
    }
    return false;
}

int SettingsInteger(TextSpan value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < value.length && (value.text[i] == u'-' || value.text[i] == u'+')) {
        negative = value.text[i++] == u'-';
    }
    unsigned result = 0;
    for (; i < value.length && value.text[i] >= u'0' && value.text[i] <= u'9'; ++i) {
        result = result * 10 + static_cast<unsigned>(value.text[i] - u'0');
    }
    return static_cast<int>(negative ? 0u - result : result);
}

std::size_t CopyCut(TextSpan value, char16_t* out, std::size_t room) {
    if (room == 0) {
        return 0;
    }
    std::size_t n = value.length < room - 1 ? value.length : room - 1;
    if (n > 0 && n < value.length && (value.text[n - 1] & 0xFC00) == 0xD800) {
        --n;
    }
    std::memcpy(out, value.text, n * sizeof(char16_t));
    out[n] = u'\0';
    return n;
}
