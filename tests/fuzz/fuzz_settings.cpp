// Feeds arbitrary bytes to the settings reader as a whole file and checks what
// the panel and the check rely on: a UTF-8 or UTF-16 text holds the file's own
// characters, the line walk covers the text and numbers its lines one by one,
// names and values lie inside the text and hold no line end or NUL, the
// lookup finds the first value of a key that the walk finds, and the cut
// stays in its room without splitting a pair.
#include "launcher/settings_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_settings: %s\n", what);
        std::abort();
    }
}

std::string Utf8Of(TextSpan text) {
    static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    std::string out;
    for (std::size_t i = 0; i < text.length; ++i) {
        char32_t c = text.text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.length && text.text[i + 1] >= 0xDC00 &&
            text.text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text.text[++i] - 0xDC00);
        }
        int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>(kLead[more] | (c >> (6 * more)));
        for (int k = more - 1; k >= 0; --k) {
            out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
        }
    }
    return out;
}

bool Within(TextSpan outer, TextSpan inner) {
    return inner.length == 0 ||
           (inner.text >= outer.text && inner.text + inner.length <= outer.text + outer.length);
}

bool Seen(std::vector<std::u16string>* names, TextSpan name) {
    for (const std::u16string& n : *names) {
        if (SameSettingsName(name, n.c_str())) {
            return true;
        }
    }
    names->emplace_back(name.text, name.length);
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SettingsText file;
    if (!file.Decode(data, size, nullptr)) {
        Check(size > kLargestSettingsFile, "decoding failed");
        return 0;
    }
    TextSpan text = file.Text();
    switch (file.Encoding()) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        bool le = file.Encoding() == TextEncoding::Utf16Le;
        Check(text.length == (size - 2) / 2, "UTF-16 length");
        for (std::size_t i = 0; i < text.length; ++i) {
            Check(text.text[i] == (le ? data[2 + 2 * i] | data[3 + 2 * i] << 8
                                      : data[2 + 2 * i] << 8 | data[3 + 2 * i]),
                  "UTF-16 unit");
        }
        break;
    }
    case TextEncoding::Utf8:
        Check(Utf8Of(text) == std::string(data, data + size), "UTF-8 characters");
        break;
    case TextEncoding::Utf8WithBom:
        Check(text.length <= size - 3, "UTF-8 length");
        break;
    case TextEncoding::Ansi:
        Check(text.length == size, "ANSI length");
        break;
    }

    std::size_t cursor = 0;
    SettingsLine line;
    int number = 0, lookups = 0;
    std::vector<std::u16string> sections, keys;
    std::u16string section;
    bool first = false; // in the first section of its name
    while (NextSettingsLine(file, &cursor, &line)) {
        Check(line.number == ++number, "line numbers");
        Check(cursor <= text.length, "cursor past the end");
        Check(Within(text, line.name) && Within(text, line.value), "span outside the text");
        for (TextSpan s : {line.name, line.value}) {
            for (std::size_t i = 0; i < s.length; ++i) {
                Check(s.text[i] != 0 && s.text[i] != u'\r' && s.text[i] != u'\n', "line end");
            }
        }
        if (line.kind == SettingsLine::kSection) {
            first = !Seen(&sections, line.name);
            section.assign(line.name.text, line.name.length);
            keys.clear();
        } else if (line.kind == SettingsLine::kEntry && first && !Seen(&keys, line.name) &&
                   ++lookups <= 64) {
            std::u16string key(line.name.text, line.name.length);
            TextSpan value;
            bool found = FindSettingsValue(file, section.c_str(), key.c_str(), &value);
            Check(found == line.hasEquals, "lookup finds what the walk found");
            Check(!found || (value.text == line.value.text && value.length == line.value.length),
                  "lookup's value");
        }
        char16_t out[100];
        std::size_t n = CopyCut(line.value, out, 100);
        Check(n <= 99 && out[n] == 0 && n + 1 >= (line.value.length < 99 ? line.value.length : 99),
              "cut length");
        Check(n == line.value.length || n == 0 || out[n - 1] < 0xD800 || out[n - 1] > 0xDBFF ||
                  line.value.text[n] < 0xDC00 || line.value.text[n] > 0xDFFF,
              "cut splits a pair");
        SettingsInteger(line.value);
    }
    Check(cursor == text.length, "walk stops before the end");
    return 0;
}
