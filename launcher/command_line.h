// Command lines: the program's own, and those that the panel starts, with how
// the installer's start is decided, as plain functions on UTF-16 text; the
// platform's start calls are passed in.
#ifndef TANDREL_LAUNCHER_COMMAND_LINE_H
#define TANDREL_LAUNCHER_COMMAND_LINE_H

#include <cstddef>

// A directory of this many characters or more was not read in full.
const unsigned kMaxPathChars = 260;

// Size of the Browse command buffer: the fixed text and any directory that
// fits in kMaxPathChars - 1 characters, with room to spare.
const std::size_t kBrowseCommandSize = 520;

// Writes `explorer.exe "<directory>"` into `command`. Returns 1, or 0 (with an
// empty command) when the directory is empty, kMaxPathChars characters or
// longer, or the command would not fit.
int FormatBrowseCommand(const char16_t* directory, char16_t* command, std::size_t commandSize);

// What follows the program's name and the blanks after it in a command line:
// a name that starts with a double quote runs to the next double quote, any
// other to the first blank.
const char16_t* ArgumentsOf(const char16_t* commandLine);

// What the program's arguments ask for: `/check` (or `-check`) runs the
// publisher's check instead of showing the panel; `/lang:<tag>` (or
// `/lang <tag>`) forces a language. Both in any case, in any order; anything
// else is ignored.
struct ProgramOptions {
    bool check;
    char16_t language[32]; // empty unless forced
};
ProgramOptions ParseArguments(const char16_t* arguments);

// Splits a command line the way the platform finds the program's name: a name
// that starts with a double quote runs to the next double quote; any other runs
// to the first blank. Blanks after the name are skipped; the rest is the
// parameters. Returns 0 when there is no name or it does not fit `program`.
int SplitCommandLine(const char16_t* commandLine, char16_t* program, std::size_t programSize,
                     const char16_t** parameters);

enum StartResult {
    kStarted,
    kStartNeedsElevation, // the program's manifest asks for administrator rights
    kStartFailed,
};

// Why starting a program failed, from the platform's error code: only a
// program whose manifest asks for administrator rights is worth starting
// again with them; access denied and the rest are plain failures.
StartResult StartResultForError(unsigned long error);

// The platform's ways of starting a program, passed in so that the decision
// below can be checked without starting anything.
struct ProgramStarter {
    StartResult (*startCommandLine)(const char16_t* commandLine, void* context);
    // Asks the user for consent and starts the program with administrator
    // rights; returns 1 when it was started.
    int (*startElevated)(const char16_t* program, const char16_t* parameters, void* context);
    void* context;
};

// Starts the installer's command line; when the program needs administrator
// rights, starts the same program with the same parameters elevated instead.
// Returns 1 when the installer was started.
int StartInstaller(const char16_t* commandLine, const ProgramStarter& starter);

#endif
