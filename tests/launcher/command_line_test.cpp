// Command lines: the program's own options, those the panel starts, and the
// decision how the installer starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/command_line.h"

namespace {

using std::u16string;

TEST(BrowseCommand, QuotesTheDirectoryOrRefusesWhatWasNotReadOrDoesNotFit) {
    const struct {
        u16string directory;
        size_t commandSize; // exactly, so that the sanitizer sees a write past the end
        u16string command;  // empty: refused
    } cases[] = {
        {u"C:\\Установка диск", kBrowseCommandSize, u"explorer.exe \"C:\\Установка диск\""},
        {u"C:\\" + u16string(256, u'd'), kBrowseCommandSize,
         u"explorer.exe \"C:\\" + u16string(256, u'd') + u"\""}, // 259 characters
        {u"C:\\x", 20, u"explorer.exe \"C:\\x\""},
        {u"C:\\x", 19, u""},
        {u"", kBrowseCommandSize, u""},
        {u"C:\\" + u16string(257, u'd'), kBrowseCommandSize, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory.size());
        std::vector<char16_t> command(c.commandSize, u'x');
        EXPECT_EQ(!c.command.empty(),
                  FormatBrowseCommand(c.directory.c_str(), command.data(), command.size()));
        EXPECT_EQ(c.command, command.data());
    }
}

TEST(SplitCommandLine, FindsTheProgramNameAsThePlatformDoesAndTheProgramsArguments) {
    const struct {
        const char16_t* commandLine;
        const char16_t* program; // given room for itself exactly; null: refused, room for 7
        const char16_t* parameters;
        const char16_t* arguments; // as the program gets them (null: not asked)
    } cases[] = {
        {u"\"Установка\\setup.exe\"  /lang ru", u"Установка\\setup.exe", u"/lang ru", u"/lang ru"},
        {u"setup.exe /q", u"setup.exe", u"/q", u"/q"},
        {u"setup.exe\t/q", u"setup.exe", u"/q", u"/q"},
        {u"setup.exe", u"setup.exe", u"", u""},
        {u"  setup.exe   /a  /b ", u"setup.exe", u"/a  /b ", nullptr},
        {u"\"setup.exe\"/q", u"setup.exe", u"/q", u"/q"},
        {u"\"unclosed name /q", u"unclosed name /q", u"", u""},
        {u"", nullptr, nullptr, nullptr},
        {u"\"\" /q", nullptr, nullptr, nullptr},
        {u"12345678 /q", nullptr, nullptr, nullptr},
        {u"1234567 /q", u"1234567", u"/q", u"/q"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << u16string(c.commandLine).size() << " units");
        char16_t program[100];
        const char16_t* parameters = nullptr;
        size_t room = c.program ? u16string(c.program).size() + 1 : 8;
        ASSERT_EQ(c.program != nullptr,
                  SplitCommandLine(c.commandLine, program, room, &parameters));
        if (c.program) {
            EXPECT_EQ(u16string(c.program), program);
            EXPECT_EQ(u16string(c.parameters), parameters);
        }
        if (c.arguments) {
            EXPECT_EQ(u16string(c.arguments), ArgumentsOf(c.commandLine));
        }
    }
}

TEST(ProgramOptions, CheckAndLanguageInAnyCaseAndOrderTheRestIgnored) {
    const struct {
        const char16_t* arguments;
        bool check;
        const char16_t* language;
    } cases[] = {
        {u"", false, u""},
        {u"/check", true, u""},
        {u"  -CHECK ", true, u""},
        {u"/checks", false, u""},
        {u"check", false, u""},
        {u"/che", false, u""},
        {u"/lang:ja", false, u"ja"},
        {u"/LANG pt-BR /check", true, u"pt-BR"},
        {u"-Check /Lang:zh-Hant", true, u"zh-Hant"},
        {u"/language:ja", false, u""},
        {u"/lang:", false, u""},
        {u"/lang:ja /lang:de", false, u"de"},
        {u"/x /lang:de extra", false, u"de"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << u16string(c.arguments).size() << " units");
        ProgramOptions options = ParseArguments(c.arguments);
        EXPECT_EQ(c.check, options.check);
        EXPECT_EQ(u16string(c.language), options.language);
    }
    u16string tooLong = u"/lang:" + u16string(32, u'x');
    EXPECT_EQ(u16string(), ParseArguments(tooLong.c_str()).language) << "a tag that does not fit";
}

// Stands in for the platform: answers as told and logs every start.
struct FakePlatform {
    StartResult plain;
    int elevated;
    std::vector<u16string> starts;
};

StartResult StartPlain(const char16_t* commandLine, void* context) {
    static_cast<FakePlatform*>(context)->starts.push_back(commandLine);
    return static_cast<FakePlatform*>(context)->plain;
}

int StartElevated(const char16_t* program, const char16_t* parameters, void* context) {
    static_cast<FakePlatform*>(context)->starts.push_back(u16string(program) + u"|" + parameters);
    return static_cast<FakePlatform*>(context)->elevated;
}

TEST(StartInstaller, ElevatesOnlyWhenTheProgramAsksForIt) {
    // Only error 740 asks for administrator rights; 5 is access denied.
    EXPECT_EQ((std::vector<int>{kStartNeedsElevation, kStartFailed, kStartFailed}),
              (std::vector<int>{StartResultForError(740), StartResultForError(5),
                                StartResultForError(2)}));
    const char16_t* line = u"\"setup files\\setup.exe\" /lang en";
    const struct {
        StartResult plain;
        int elevated, started;
        bool elevates; // asked for consent
    } cases[] = {{kStarted, 1, 1, false},
                 {kStartNeedsElevation, 1, 1, true},
                 {kStartNeedsElevation, 0, 0, true},
                 {kStartFailed, 1, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plain << c.elevated);
        FakePlatform platform = {c.plain, c.elevated, {}};
        EXPECT_EQ(c.started, StartInstaller(line, {StartPlain, StartElevated, &platform}));
        std::vector<u16string> want = {line};
        if (c.elevates) {
            want.push_back(u"setup files\\setup.exe|/lang en");
        }
        EXPECT_EQ(want, platform.starts);
    }
}

} // namespace
