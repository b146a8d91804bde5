// Arbitrary bytes as a settings file, AddressSanitizer watching every read: the
// text is as long as the file's characters, the walk covers it and numbers its
// lines one by one, names and values hold no line end or NUL, and the cut
// keeps to its room without splitting a pair.
#include "launcher/settings_text.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto Check = [](bool condition, const char* what) {
        if (!condition) {
            std::fprintf(stderr, "fuzz_settings: %s\n", what);
            std::abort();
        }
    };
    SettingsText file;
    if (!file.Decode(data, size, nullptr)) {
        Check(size > kLargestSettingsFile, "decoding failed");
        return 0;
    }
    TextSpan text = file.Text();
    TextEncoding encoding = file.Encoding();
    bool le = encoding == TextEncoding::Utf16Le, be = encoding == TextEncoding::Utf16Be;
    std::size_t units = le || be ? (size - 2) / 2 : 0;
    for (std::size_t i = 0; i < size && !le && !be; ++i) {
        units += encoding != TextEncoding::Utf8 || (data[i] & 0xC0) != 0x80;
        units += encoding == TextEncoding::Utf8 && data[i] >= 0xF0;
    }
    Check(encoding == TextEncoding::Utf8WithBom || text.length == units, "text length");
    TextSpan value;
    FindSettingsValue(file, u"General", u"TitleBar", &value);

    std::size_t cursor = 0;
    SettingsLine line;
    for (int number = 1; NextSettingsLine(file, &cursor, &line); ++number) {
        Check(line.number == number && cursor <= text.length, "line numbers");
        for (TextSpan s : {line.name, line.value}) {
            for (std::size_t i = 0; i < s.length; ++i) {
                Check(s.text[i] != 0 && s.text[i] != u'\r' && s.text[i] != u'\n', "line end");
            }
        }
        char16_t out[100];
        std::size_t room = 1 + line.number % 100, n = CopyCut(line.value, out, room);
        std::size_t most = line.value.length < room - 1 ? line.value.length : room - 1;
        const char16_t* v = line.value.text;
        bool split = n > 0 && n < line.value.length && (v[n - 1] & 0xFC00) == 0xD800 &&
                     (v[n] & 0xFC00) == 0xDC00;
        Check(out[n] == 0 && (n == most || n + 1 == most) && !split, "cut");
        SettingsInteger(line.value);
    }
    Check(cursor == text.length, "walk stops before the end");
    return 0;
}
