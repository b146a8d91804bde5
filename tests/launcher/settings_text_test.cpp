// The settings file's bytes read as the platform's profile functions read
// them: encodings, lines, names, quotes, integers and the cut at 99.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "launcher/settings_text.h"

namespace {

// Non-ASCII units as \uXXXX, so that a failure prints what came.
std::string Shown(const std::u16string& text) {
    std::string shown;
    for (char16_t c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
        shown += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : escaped;
    }
    return shown;
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Like code page 1252 for the euro sign, and Latin-1 elsewhere.
std::size_t WesternAnsi(const std::uint8_t* bytes, std::size_t length, char16_t* out,
                        std::size_t room) {
    std::size_t n = 0;
    for (; n < length && n < room; ++n) {
        out[n] = bytes[n] == 0x80 ? u'\u20AC' : bytes[n];
    }
    return n;
}

// Like a double-byte code page: a byte from 0x81 on leads a pair, one character.
std::size_t DoubleByteAnsi(const std::uint8_t* bytes, std::size_t length, char16_t* out,
                           std::size_t room) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < length && n < room; ++i) {
        out[n++] = bytes[i] >= 0x81 && i + 1 < length ? 0x3000 + bytes[++i] : bytes[i];
    }
    return n;
}

// `[General] K` of the file, as the panel would show it; "(none)" when not found.
std::string ValueOf(const std::string& bytes, AnsiToUtf16 ansi = WesternAnsi,
                    const char16_t* section = u"General") {
    SettingsText file;
    EXPECT_TRUE(
        file.Decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), ansi));
    TextSpan value;
    if (!FindSettingsValue(file, section, u"K", &value)) {
        return "(none)";
    }
    char16_t shown[100];
    CopyCut(value, shown, 100);
    return Shown(shown);
}

TEST(SettingsText, EncodingsAreToldByTheFirstBytes) {
    const std::u16string text = u"[General]\r\nK=Caf\u00E9 \U0001F600\r\n";
    const std::string cafe = "Caf\\u00E9 \\uD83D\\uDE00";
    const std::string utf8 = "[General]\nK=Caf\xC3\xA9 \xF0\x9F\x98\x80\n";
    const struct {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::string value;
        bool high;
    } cases[] = {
        {"UTF-16LE", Utf16(text, false), TextEncoding::Utf16Le, cafe, true},
        {"UTF-16BE", Utf16(text, true), TextEncoding::Utf16Be, cafe, true},
        {"UTF-16, odd last byte dropped", Utf16(u"[General]\nK=v", false) + "A",
         TextEncoding::Utf16Le, "v", false},
        {"UTF-16, lone surrogates kept", Utf16(u"[General]\nK=\xDC00\xD800", false),
         TextEncoding::Utf16Le, "\\uDC00\\uD800", true},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8, TextEncoding::Utf8WithBom, cafe, true},
        {"UTF-8 with BOM, ill-formed parts", "\xEF\xBB\xBF[General]\nK=\xE3\x81|\xFF|\xC0\xAF",
         TextEncoding::Utf8WithBom, "\\uFFFD|\\uFFFD|\\uFFFD\\uFFFD", true},
        {"UTF-8 without BOM", utf8, TextEncoding::Utf8, cafe, true},
        {"ASCII stays ANSI", "[General]\nK=plain", TextEncoding::Ansi, "plain", false},
        {"ANSI, not UTF-8", "[General]\nK=Caf\xE9 \x80", TextEncoding::Ansi, "Caf\\u00E9 \\u20AC",
         true},
        {"overlong UTF-8 is ANSI", "[General]\nK=\xC0\xAF", TextEncoding::Ansi, "\\u00C0\\u00AF",
         true},
        {"encoded surrogate is ANSI", "[General]\nK=\xED\xA0\x80", TextEncoding::Ansi,
         "\\u00ED\\u00A0\\u20AC", true},
        {"beyond U+10FFFF is ANSI", "[General]\nK=\xF4\x90\x80\x80", TextEncoding::Ansi,
         "\\u00F4\\u0090\\u20AC\\u20AC", true},
        {"cut-short UTF-8 is ANSI", "[General]\nK=\xE3\x81", TextEncoding::Ansi, "\\u00E3\\u0081",
         true},
        {"byte-order mark only", "\xFF\xFE", TextEncoding::Utf16Le, "(none)", false},
        {"no bytes", "", TextEncoding::Ansi, "(none)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsText file;
        ASSERT_TRUE(file.Decode(reinterpret_cast<const std::uint8_t*>(c.bytes.data()),
                                c.bytes.size(), WesternAnsi));
        EXPECT_EQ(static_cast<int>(c.encoding), static_cast<int>(file.Encoding()));
        EXPECT_EQ(c.high, file.HasBytesAbove127());
        EXPECT_EQ(c.value, ValueOf(c.bytes));
    }
    SettingsText file;
    std::string huge(kLargestSettingsFile + 1, 'x');
    EXPECT_FALSE(
        file.Decode(reinterpret_cast<const std::uint8_t*>(huge.data()), huge.size(), nullptr));
    EXPECT_EQ(0u, file.Text().length);
}

TEST(SettingsText, LinesNamesAndValuesAsTheProfileFunctionsReadThem) {
    const struct {
        const char* name;
        std::string file;
        std::string value;
    } cases[] = {
        {"blanks around", "[General]\n \t\v\f\x1A K \t=\x1A \t v  w \v\f\n", "v  w"},
        {"other spaces are text", "[General]\nK=\xA0v\xA0", "\\u00A0v\\u00A0"},
        {"any case", "[gENERAL]\nk=v", "v"},
        {"= in the value", "[General]\nK = a=b ", "a=b"},
        {"double quotes, blanks inside stay", "[General]\nK= \"  a b \" ", "  a b "},
        {"single quotes", "[General]\nK='x'", "x"},
        {"doubled quotes lose one pair", "[General]\nK=\"\"x\"\"", "\"x\""},
        {"empty quotes", "[General]\nK=\"\"", ""},
        {"a lone quote", "[General]\nK=\"", "\""},
        {"unbalanced", "[General]\nK=\"abc", "\"abc"},
        {"mixed quotes stay", "[General]\nK='abc\"", "'abc\""},
        {"NUL ends the value", std::string("[General]\nK=a \0b", 16), "a "},
        {"NUL ends the name", std::string("[General]\nK\0x=v", 15), "v"},
        {"the first key wins", "[General]\nK=1\nk=2", "1"},
        {"an empty first key wins", "[General]\nK=\nK=2", ""},
        {"a first line without = hides the key", "[General]\nK\nK=2", "(none)"},
        {"comment", "[General]\n ;K=1", "(none)"},
        {"outside any section", "K=1\n[General]", "(none)"},
        {"a later section of the name is not read", "[General]\nA=1\n[General]\nK=2", "(none)"},
        {"other sections pass", "[Other]\nK=1\n[General]\nK=2\n[General.ja]\nK=3", "2"},
        {"section trimmed, text after ] ignored", "  [ General ] ; x\nK=v", "v"},
        {"section needs no ]", "[General\nK=v", "v"},
        {"section ends at the first ]", "[General]x]\nK=v", "v"},
        {"CR only", "[General]\rK=v\r", "v"},
        {"LF CR", "[General]\n\rK=v", "v"},
        {"a lone CR ends the line", "[General]\r\nK=a\rb", "a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value, ValueOf(c.file));
    }
}

TEST(SettingsText, LinesForTheCheckCountAsAnEditorDoes) {
    const std::string bytes = "; note\r\n[Gen]x\r\n\rK = \"v\"\n\nW\n=e";
    SettingsText file;
    ASSERT_TRUE(
        file.Decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), nullptr));
    const struct {
        SettingsLine::Kind kind;
        const char16_t* name;
        const char16_t* value;
        bool hasEquals;
        int number;
    } want[] = {
        {SettingsLine::kOther, u"", u"", false, 1}, {SettingsLine::kSection, u"Gen", u"", false, 2},
        {SettingsLine::kOther, u"", u"", false, 3}, {SettingsLine::kEntry, u"K", u"v", true, 4},
        {SettingsLine::kOther, u"", u"", false, 5}, {SettingsLine::kEntry, u"W", u"", false, 6},
        {SettingsLine::kEntry, u"", u"e", true, 7}};
    std::size_t cursor = 0;
    SettingsLine line;
    for (const auto& w : want) {
        SCOPED_TRACE(w.number);
        ASSERT_TRUE(NextSettingsLine(file, &cursor, &line));
        EXPECT_EQ(w.kind, line.kind);
        EXPECT_EQ(Shown(w.name), Shown({line.name.text, line.name.length}));
        EXPECT_EQ(Shown(w.value), Shown({line.value.text, line.value.length}));
        EXPECT_EQ(w.hasEquals, line.hasEquals);
        EXPECT_EQ(w.number, line.number);
    }
    EXPECT_FALSE(NextSettingsLine(file, &cursor, &line));
}

TEST(SettingsText, IntegersAsTheProfileIntegerFunctionReadsThem) {
    const std::u16string zeros(26, u'0');
    const struct {
        std::u16string value;
        int number;
    } cases[] = {
        {u"130", 130},
        {u"+12", 12},
        {u"-5", -5},
        {u"\x01 \t7", 7},
        {u"12px", 12},
        {u"px", 0},
        {u"", 0},
        {u"--1", 0},
        {u"0x1F", 31},
        {u"0X1F", 0},
        {u"0o17", 15},
        {u"0b102", 2},
        {u"0x", 0},
        {u"-0x10", -16},
        {u"4294967297", 1},
        {u"2147483648", INT_MIN},
        {u"4294967295", -1},
        {u"056", 56},
        {zeros + u"12", 12},
        {zeros + u"012", 12},
        {zeros + u"0012", 1}, // only 29 characters are read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Shown(c.value));
        EXPECT_EQ(c.number, SettingsInteger({c.value.data(), c.value.size()}));
    }
}

TEST(SettingsText, CutAt99CharactersNeverSplittingOne) {
    const std::u16string a97(97, u'a'), pair = u"\U0001F600";
    const struct {
        const char* name;
        std::string file;
        AnsiToUtf16 ansi;
        std::size_t units;
    } cases[] = {
        {"single-byte", "[General]\nK=" + std::string(150, 'x'), WesternAnsi, 99},
        {"double-byte characters, not bytes", "[General]\nK=" + std::string(300, '\x82'),
         DoubleByteAnsi, 99},
        {"UTF-16 Japanese", Utf16(u"[General]\nK=" + std::u16string(150, u'\u65E5'), false),
         WesternAnsi, 99},
        {"a pair ending at the cut stays", Utf16(u"[General]\nK=" + a97 + pair + u"b", false),
         WesternAnsi, 99},
        {"a pair across the cut goes", Utf16(u"[General]\nK=" + a97 + u"a" + pair, false),
         WesternAnsi, 98},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsText file;
        file.Decode(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size(), c.ansi);
        TextSpan value;
        ASSERT_TRUE(FindSettingsValue(file, u"General", u"K", &value));
        char16_t out[100];
        EXPECT_EQ(c.units, CopyCut(value, out, 100));
        EXPECT_EQ(0, out[c.units]);
    }
    char16_t one = u'x';
    EXPECT_EQ(0u, CopyCut({u"abc", 3}, &one, 1));
    EXPECT_EQ(0, one);
    EXPECT_EQ(0u, CopyCut({u"abc", 3}, nullptr, 0));
}

} // namespace
