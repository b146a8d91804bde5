// Command lines the panel starts, and the decision how the installer starts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "launcher/command_line.h"

namespace {

TEST(BrowseCommand, QuotesTheDirectoryOrRefusesWhatWasNotReadOrDoesNotFit) {
    const struct {
        std::string directory;
        size_t commandSize;  // exactly, so that the sanitizer sees a write past the end
        std::string command; // empty: refused
    } cases[] = {
        {"C:\\My Disc", kBrowseCommandSize, "explorer.exe \"C:\\My Disc\""},
        {"C:\\" + std::string(256, 'd'), kBrowseCommandSize,
         "explorer.exe \"C:\\" + std::string(256, 'd') + "\""}, // 259 characters
        {"C:\\x", 20, "explorer.exe \"C:\\x\""},
        {"C:\\x", 19, ""},
        {"", kBrowseCommandSize, ""},
        {"C:\\" + std::string(257, 'd'), kBrowseCommandSize, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory.size());
        std::vector<char> command(c.commandSize, 'x');
        EXPECT_EQ(!c.command.empty(),
                  FormatBrowseCommand(c.directory.c_str(), command.data(), command.size()));
        EXPECT_EQ(c.command, command.data());
    }
}

TEST(SplitCommandLine, FindsTheProgramNameAsThePlatformDoesAndWinMainsArguments) {
    const struct {
        const char* commandLine;
        const char* program; // given room for itself exactly; null: refused, given room for 7
        const char* parameters;
        const char* arguments; // as WinMain gets them (null: not asked)
    } cases[] = {
        {"\"setup files\\setup.exe\"  /lang en", "setup files\\setup.exe", "/lang en", "/lang en"},
        {"setup.exe /q", "setup.exe", "/q", "/q"},
        {"setup.exe\t/q", "setup.exe", "/q", "/q"},
        {"setup.exe", "setup.exe", "", ""},
        {"  setup.exe   /a  /b ", "setup.exe", "/a  /b ", nullptr},
        {"\"setup.exe\"/q", "setup.exe", "/q", "/q"},
        {"\"unclosed name /q", "unclosed name /q", "", ""},
        {"", nullptr, nullptr, nullptr},
        {"\"\" /q", nullptr, nullptr, nullptr},
        {"12345678 /q", nullptr, nullptr, nullptr},
        {"1234567 /q", "1234567", "/q", "/q"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        char program[100];
        const char* parameters = nullptr;
        size_t room = c.program ? strlen(c.program) + 1 : 8;
        ASSERT_EQ(c.program != nullptr,
                  SplitCommandLine(c.commandLine, program, room, &parameters));
        if (c.program) {
            EXPECT_STREQ(c.program, program);
            EXPECT_STREQ(c.parameters, parameters);
        }
        if (c.arguments) {
            EXPECT_STREQ(c.arguments, ArgumentsOf(c.commandLine));
        }
    }
}

// Stands in for the platform: answers as told and logs every start.
struct FakePlatform {
    StartResult plain;
    int elevated;
    std::vector<std::string> starts;
};

StartResult StartPlain(const char* commandLine, void* context) {
    static_cast<FakePlatform*>(context)->starts.push_back(commandLine);
    return static_cast<FakePlatform*>(context)->plain;
}

int StartElevated(const char* program, const char* parameters, void* context) {
    static_cast<FakePlatform*>(context)->starts.push_back(std::string(program) + "|" + parameters);
    return static_cast<FakePlatform*>(context)->elevated;
}

TEST(StartInstaller, ElevatesOnlyWhenTheProgramAsksForIt) {
    // Only error 740 asks for administrator rights; 5 is access denied.
    EXPECT_EQ((std::vector<int>{kStartNeedsElevation, kStartFailed, kStartFailed}),
              (std::vector<int>{StartResultForError(740), StartResultForError(5),
                                StartResultForError(2)}));
    const char* line = "\"setup files\\setup.exe\" /lang en";
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
        std::vector<std::string> want = {line};
        if (c.elevates) {
            want.push_back("setup files\\setup.exe|/lang en");
        }
        EXPECT_EQ(want, platform.starts);
    }
}

} // namespace
