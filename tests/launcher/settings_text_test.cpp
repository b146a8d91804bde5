// What the reader decides apart from the platform (settings_platform_test.cpp):
// the encoding, the section rules of Windows that Wine lacks, the cut at 99
// characters. (How the check reads the lines shows end to end.)
#include <gtest/gtest.h>

#include "launcher/settings_text.h"
#include "settings_testing.h"

namespace {

// Like a double-byte code page: a byte from 0x81 on leads a pair that makes
// one character; 0x80 is the euro sign.
std::size_t CodePage(const std::uint8_t* bytes, std::size_t length, char16_t* out, std::size_t) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < length; ++i) {
        out[n++] = bytes[i] == 0x80                    ? 0x20AC
                   : bytes[i] > 0x80 && i + 1 < length ? 0x3000 + bytes[++i]
                                                       : bytes[i];
    }
    return n;
}

// The file's `[General] K` as the panel shows it, or "(none)".
std::string ValueOf(SettingsText* file, const std::string& bytes) {
    TextSpan value;
    char16_t shown[100];
    auto data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!file->Decode(data, bytes.size(), CodePage) ||
        !FindSettingsValue(*file, u"General", u"K", &value)) {
        return "(none)";
    }
    CopyCut(value, shown, 100);
    return Shown(shown);
}

TEST(SettingsText, ReadAsTheFirstBytesSayCutAt99NeverSplittingACharacter) {
    using E = TextEncoding;
    const std::u16string u = u"[General]\nK=", text = u + u"\u00E9\U0001F600", a97(97, u'a');
    const std::string k = "[General]\nK=", utf8 = k + "\xC3\xA9\xF0\x9F\x98\x80";
    const std::string e = "\\u00E9\\uD83D\\uDE00";
    const struct {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::string value;
        bool high; // bytes above 127 after the byte-order mark
    } cases[] = {
        {"UTF-16LE", Utf16(text, false), E::Utf16Le, e, true},
        {"UTF-16BE", Utf16(text, true), E::Utf16Be, e, true},
        {"odd last byte dropped", Utf16(u + u"v", false) + "A", E::Utf16Le, "v", false},
        {"lone surrogates kept", Utf16(u + u"\xDC00\xD800", false), E::Utf16Le, "\\uDC00\\uD800",
         true},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8, E::Utf8WithBom, e, true},
        {"ill-formed parts", "\xEF\xBB\xBF" + k + "\xE3\x81|\xFF|\xC0\xAF", E::Utf8WithBom,
         "\\uFFFD|\\uFFFD|\\uFFFD\\uFFFD", true},
        {"UTF-8 without BOM", utf8, E::Utf8, e, true},
        {"ASCII stays ANSI", k + "plain", E::Ansi, "plain", false},
        {"ANSI", k + "\x80\xE9\xA9", E::Ansi, "\\u20AC\\u30A9", true},
        {"overlong", k + "\xC0\xAF", E::Ansi, "\\u30AF", true},
        {"surrogate", k + "\xED\xA0\x80", E::Ansi, "\\u30A0\\u20AC", true},
        {"beyond U+10FFFF", k + "\xF4\x90\x80\x80", E::Ansi, "\\u3090\\u20AC\\u20AC", true},
        {"cut short", k + "\xE3\x81", E::Ansi, "\\u3081", true},
        {"BOM only", "\xFF\xFE", E::Utf16Le, "(none)", false},
        {"too large", std::string(kLargestSettingsFile + 1, 'x'), E::Ansi, "(none)", false},
        // Windows reads a section name up to the first `]`, or to the end of
        // the line without one; Wine wants the last `]` on the line.
        {"section without ]", "[General\nK=v", E::Ansi, "v", false},
        {"section to the first ]", "\v[ General\t]; x]\nK=v", E::Ansi, "v", false},
        // 99 characters in every encoding, a pair across the cut goes whole.
        {"double-byte cut", k + std::string(300, '\x82'), E::Ansi,
         Shown(std::u16string(99, u'\u3082')), true},
        {"a pair before the cut", Utf16(u + a97 + u"\U0001F600b", false), E::Utf16Le,
         std::string(97, 'a') + "\\uD83D\\uDE00", true},
        {"a pair across the cut", Utf16(u + a97 + u"a\U0001F600", false), E::Utf16Le,
         std::string(98, 'a'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsText file;
        EXPECT_EQ(c.value, ValueOf(&file, c.bytes));
        EXPECT_EQ(static_cast<int>(c.encoding), static_cast<int>(file.Encoding()));
        EXPECT_EQ(c.high, file.HasBytesAbove127());
    }
}

} // namespace
