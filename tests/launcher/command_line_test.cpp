// Command lines the panel starts, and the decision how the installer starts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "launcher/command_line.h"

namespace {

TEST(BrowseCommand, QuotesTheDirectoryReadInFull) {
    char command[kBrowseCommandSize];
    ASSERT_EQ(1, FormatBrowseCommand("C:\\My Disc", command, sizeof(command)));
    EXPECT_STREQ("explorer.exe \"C:\\My Disc\"", command);

    std::string longest = "C:\\" + std::string(kMaxPathChars - 4, 'd');
    ASSERT_EQ(259u, longest.size());
    ASSERT_EQ(1, FormatBrowseCommand(longest.c_str(), command, sizeof(command)));
    EXPECT_EQ(274u, strlen(command));
}

TEST(BrowseCommand, RefusesWhatWasNotReadOrDoesNotFit) {
    struct Case {
        const char* name;
        std::string directory;
        size_t commandSize;
    };
    const Case cases[] = {
        {"empty directory", "", kBrowseCommandSize},
        {"260 characters", "C:\\" + std::string(257, 'd'), kBrowseCommandSize},
        {"buffer one byte short", "C:\\x", 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Sized exactly, so that a write past the end is caught by the sanitizer.
        std::vector<char> command(c.commandSize, 'x');
        EXPECT_EQ(0, FormatBrowseCommand(c.directory.c_str(), command.data(), command.size()));
        EXPECT_EQ('\0', command[0]);
    }
    char exact[20];
    EXPECT_EQ(1, FormatBrowseCommand("C:\\x", exact, sizeof(exact)));
}

TEST(SplitCommandLine, FindsTheProgramNameAsThePlatformDoes) {
    struct Case {
        const char* commandLine;
        const char* program;
        const char* parameters;
    };
    const Case cases[] = {
        {"\"setup files\\setup.exe\" /lang en", "setup files\\setup.exe", "/lang en"},
        {"setup.exe /q", "setup.exe", "/q"},
        {"setup.exe\t/q", "setup.exe", "/q"},
        {"setup.exe", "setup.exe", ""},
        {"  setup.exe   /a  /b ", "setup.exe", "/a  /b "},
        {"\"setup.exe\"/q", "setup.exe", "/q"},
        {"\"unclosed name /q", "unclosed name /q", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        char program[100];
        const char* parameters = nullptr;
        ASSERT_EQ(1, SplitCommandLine(c.commandLine, program, sizeof(program), &parameters));
        EXPECT_STREQ(c.program, program);
        EXPECT_STREQ(c.parameters, parameters);
    }
}

TEST(SplitCommandLine, ArgumentsFollowTheProgramsNameAsWinMainGetsThem) {
    EXPECT_STREQ("/check", ArgumentsOf("\"C:\\My Disc\\tandrel.exe\"  /check"));
    EXPECT_STREQ("-check x", ArgumentsOf("tandrel.exe\t-check x"));
    EXPECT_STREQ("", ArgumentsOf("tandrel.exe"));
    EXPECT_STREQ("", ArgumentsOf("\"unclosed name /check"));
}

TEST(SplitCommandLine, RefusesAnEmptyOrOverlongName) {
    char program[8];
    const char* parameters = nullptr;
    EXPECT_EQ(0, SplitCommandLine("", program, sizeof(program), &parameters));
    EXPECT_EQ(0, SplitCommandLine("\"\" /q", program, sizeof(program), &parameters));
    EXPECT_EQ(0, SplitCommandLine("12345678 /q", program, sizeof(program), &parameters));
    EXPECT_EQ(1, SplitCommandLine("1234567 /q", program, sizeof(program), &parameters));
    EXPECT_STREQ("1234567", program);
}

// Stands in for the platform: answers the plain start as told and records the
// elevated start.
struct FakePlatform {
    StartResult plainResult = kStarted;
    int elevatedResult = 1;
    std::vector<std::string> plainStarts;
    std::vector<std::string> elevatedStarts;

    static StartResult StartPlain(const char* commandLine, void* context) {
        FakePlatform* self = static_cast<FakePlatform*>(context);
        self->plainStarts.push_back(commandLine);
        return self->plainResult;
    }
    static int StartElevated(const char* program, const char* parameters, void* context) {
        FakePlatform* self = static_cast<FakePlatform*>(context);
        self->elevatedStarts.push_back(std::string(program) + "|" + parameters);
        return self->elevatedResult;
    }
    ProgramStarter Starter() { return ProgramStarter{StartPlain, StartElevated, this}; }
};

TEST(StartInstaller, OnlyTheElevationErrorAsksForAdministratorRights) {
    EXPECT_EQ(kStartNeedsElevation, StartResultForError(740));
    EXPECT_EQ(kStartFailed, StartResultForError(5)) << "access denied";
    EXPECT_EQ(kStartFailed, StartResultForError(2)) << "file not found";
}

TEST(StartInstaller, ElevatesOnlyWhenTheProgramAsksForIt) {
    const char* commandLine = "\"setup files\\setup.exe\" /lang en";
    struct Case {
        const char* name;
        StartResult plainResult;
        int elevatedResult;
        int started;
        size_t elevatedStarts;
    };
    const Case cases[] = {
        {"started", kStarted, 1, 1, 0},
        {"needs elevation, user consents", kStartNeedsElevation, 1, 1, 1},
        {"needs elevation, user refuses", kStartNeedsElevation, 0, 0, 1},
        {"not found", kStartFailed, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform platform;
        platform.plainResult = c.plainResult;
        platform.elevatedResult = c.elevatedResult;
        EXPECT_EQ(c.started, StartInstaller(commandLine, platform.Starter()));
        ASSERT_EQ(1u, platform.plainStarts.size());
        EXPECT_EQ(commandLine, platform.plainStarts[0]);
        ASSERT_EQ(c.elevatedStarts, platform.elevatedStarts.size());
        if (c.elevatedStarts) {
            EXPECT_EQ("setup files\\setup.exe|/lang en", platform.elevatedStarts[0]);
        }
    }
}

} // namespace
