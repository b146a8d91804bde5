// The settings reader against the platform's profile functions on the same
// files, generated ones of odd lines (ANSI, UTF-16LE) and the sample's: every
// key the panel reads, plain and per language, comes out of the reader as
// GetPrivateProfileStringW (100 characters) and GetPrivateProfileIntW give it.
// The texts as UTF-8 (with and without a mark) and UTF-16BE, which Windows
// reads wrongly (a UTF-8 mark sticks to the first line and loses its section,
// the others are read as ANSI), are held against the UTF-16LE file. Not made:
// lines Windows reads otherwise than Wine (`[` without `]`, or with two), and
// quoted values of 29 or 99 characters, of which Wine loses the last.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "launcher/settings_text.h"
#include "settings_testing.h"

namespace {

const char16_t* const kSections[] = {u"General",    u"Button_Captions",
                                     u"General.ja", u"Button_Captions.ja",
                                     u"General.de", u"General.pt-BR"};
// The keys of launcher/settings_table.h.
const char16_t* const kKeys[] = {u"TitleBar",  u"SysMenuIcon", u"Bmp",          u"Bmp2x",
                                 u"Installer", u"ButtonWidth", u"ButtonHeight", u"InstallBut",
                                 u"BrowseBut", u"CancelBut"};
const char16_t kBlanks[] = u" \t\n\v\f\r\x1A";

std::size_t PlatformAnsi(const std::uint8_t* bytes, std::size_t length, char16_t* out,
                         std::size_t room) {
    return MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes),
                               static_cast<int>(length), reinterpret_cast<wchar_t*>(out),
                               static_cast<int>(room));
}

std::string Utf8(const std::u16string& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                     static_cast<int>(text.size()), &bytes[0],
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

// Every key in every section: the reader on `bytes`, the platform on a file of
// them; or, where Windows would read them wrongly, of their `text` (else the
// reader's) saved as UTF-16LE.
void Compare(const std::string& bytes, const std::u16string* text, const std::string& what) {
    SCOPED_TRACE(what);
    SettingsText file;
    file.Decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), PlatformAnsi);
    std::u16string read(file.Text().text, file.Text().length);
    bool right = file.Encoding() == TextEncoding::Ansi || file.Encoding() == TextEncoding::Utf16Le;
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::strcat(path, ("tandrel-settings-" + std::to_string(GetCurrentProcessId())).c_str());
    std::ofstream(path, std::ios::binary) << (right ? bytes : Utf16(text ? *text : read, false));
    std::wstring wide(path, path + std::strlen(path));
    for (const char16_t* section : kSections) {
        for (const char16_t* key : kKeys) {
            SCOPED_TRACE("[" + Shown(section) + "] " + Shown(key));
            auto s = reinterpret_cast<const wchar_t*>(section);
            auto k = reinterpret_cast<const wchar_t*>(key);
            wchar_t platform[100];
            DWORD n = GetPrivateProfileStringW(s, k, L"", platform, 100, wide.c_str());
            TextSpan value;
            FindSettingsValue(file, section, key, &value);
            char16_t mine[100];
            CopyCut(value, mine, 100);
            EXPECT_EQ(Shown(std::u16string(reinterpret_cast<char16_t*>(platform), n)), Shown(mine));
            EXPECT_EQ(static_cast<int>(GetPrivateProfileIntW(s, k, 0, wide.c_str())),
                      SettingsInteger(value));
        }
    }
    DeleteFileA(path);
}

// Files of odd lines from a seed; ANSI ones hold units up to 0xFF, their bytes.
struct Generator {
    std::uint32_t state_;
    bool unicode_, lone_ = false, nul_ = false;

    std::u16string File() {
        lone_ = unicode_ && Below(4) == 0; // lone surrogates in this file
        nul_ = Below(4) == 0;              // NULs in its values
        std::u16string text;
        for (int lines = 3 + Below(30); lines > 0; --lines) {
            text += Line() + (lines > 1 || Below(2) ? Pick({u"\r\n", u"\n", u"\r", u"\n\r"}) : u"");
        }
        return text;
    }

    int Below(int n) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
    }
    std::u16string Pick(std::initializer_list<const char16_t*> items) {
        return items.begin()[Below(static_cast<int>(items.size()))];
    }

    // Blanks of every kind the platform trims; now and then a space it keeps.
    std::u16string Blanks() {
        std::u16string blanks;
        for (int n = Below(4); n > 0; --n) {
            blanks += u" \t\v\f\x1A "[Below(6)];
        }
        return blanks + (Below(12) ? u"" : unicode_ ? Pick({u"\u3000", u"\u2003"}) : u"\u00A0");
    }

    // In any case; now and then one that nearly is, or holds a NUL.
    std::u16string Name(const char16_t* const* names, int count) {
        std::u16string name = names[Below(count)];
        for (char16_t& c : name) {
            c = Below(4) == 0 && (c | 0x20) >= u'a' && (c | 0x20) <= u'z' ? c ^ 0x20 : c;
        }
        const std::u16string odd[] = {u"2", u" x", u"\u00E9", std::u16string(1, u'\0') + u"x"};
        return Below(8) ? name : name + odd[Below(4)];
    }

    // A value, its surrogates well before the cut, where the reader keeps a
    // pair whole and the platform would split it. ANSI characters come first.
    std::u16string Value() {
        static const std::u16string pool = u"abcXYZ019 =;[]#&\"'+-.,\u00E9\u00FC\u00DF\x80\x9C\x81"
                                           u"\x01\u65E5\u30C6\u03A9\u03B2\u0416\u0434";
        std::u16string text =
            Pick({u"130", u"-0x1F", u"+12px", u"4294967297", u"0b101", u"0o17", u"0X10", u"--3",
                  u"\x01 9", u"2147483648", u"0x", u"-", u"000000000000000000000000000012"});
        std::size_t length = Below(3) ? Below(4) ? 90 + Below(Below(3) ? 20 : 200) : Below(12) : 0;
        for (text = length ? u"" : text; text.size() < length;) {
            text += unicode_ && text.size() < 88 && Below(10) == 0
                        ? (lone_ && Below(2) ? Pick({u"\xD800", u"\xDC00"}) : u"\U0001F600")
                        : std::u16string(
                              1, nul_ && Below(40) == 0 ? u'\0' : pool[Below(unicode_ ? 36 : 30)]);
        }
        std::u16string q = Pick({u"\"\"", u"''", u"\"", u"'\"", u""});
        text = Blanks() + q.substr(0, 1) + text + q.substr(q.empty() ? 0 : 1) + Blanks();
        std::size_t b = std::min(text.find_first_not_of(kBlanks), text.size());
        std::u16string seen = text.substr(b, text.find_last_not_of(kBlanks) + 1 - b);
        seen = seen.substr(0, seen.find(u'\0'));
        bool quoted =
            seen.size() >= 2 && seen[0] == seen.back() && (seen[0] == u'"' || seen[0] == u'\'');
        return quoted && (seen.size() == 31 || seen.size() == 101)
                   ? text.insert(b + seen.size(), u"x")
                   : text;
    }

    std::u16string Line() {
        int kind = Below(20);
        std::u16string key = Name(kKeys, 10);
        if (kind < 4) {
            return Blanks() + u"[" + Blanks() + Name(kSections, 6) + Blanks() + u"]" +
                   Pick({u"", u" ; note", u"x", u"\t=1"});
        }
        std::u16string start[] = {Blanks() + key, Blanks(), Blanks() + u";" + key, u"#" + key};
        return kind == 4 ? Blanks() + key + Blanks()
                         : start[kind < 8 ? kind - 4 : 0] + Blanks() + u"=" + Value();
    }
};

TEST(SettingsPlatform, FilesReadAsThePlatformReadsThem) {
    char path[MAX_PATH] = "20261207";
    GetEnvironmentVariableA("TANDREL_SETTINGS_SEED", path, MAX_PATH);
    std::uint32_t seed = static_cast<std::uint32_t>(std::strtoul(path, nullptr, 10));
    std::printf("settings files from seed %u (TANDREL_SETTINGS_SEED)\n", seed);
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string sample = std::string(path, std::strrchr(path, '\\') + 1) + "sample\\tandrel.ini";
    std::ifstream in(sample, std::ios::binary);
    ASSERT_TRUE(in) << sample;
    Compare(std::string(std::istreambuf_iterator<char>(in), {}), nullptr, sample);

    Generator ansi{seed, false}, unicode{seed * 7 + 1, true};
    for (int i = 0; i < 200 && !HasFailure(); ++i) {
        std::u16string units = ansi.File();
        // A byte above 127 that starts no UTF-8 sequence keeps the file ANSI.
        Compare("; \xE9t\xE9\n" + std::string(units.begin(), units.end()), nullptr,
                "ANSI file " + std::to_string(i) + ": " + Shown(units));
        units = unicode.File();
        std::string what = " file " + std::to_string(i) + ": " + Shown(units);
        Compare(Utf16(units, false), &units, "UTF-16LE" + what);
        Compare(Utf16(units, true), &units, "UTF-16BE" + what);
        if (!unicode.lone_) {
            Compare(Utf8(units), &units, "UTF-8" + what);
            Compare("\xEF\xBB\xBF" + Utf8(units), &units, "UTF-8 with BOM" + what);
        }
    }
}

} // namespace
