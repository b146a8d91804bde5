// Command lines that the panel starts, and how the installer's start is decided,
// as plain functions: the platform's start calls are passed in.
#ifndef TANDREL_LAUNCHER_COMMAND_LINE_H
#define TANDREL_LAUNCHER_COMMAND_LINE_H

#include <cstddef>

// A directory of this many characters or more was not read in full.
const unsigned kMaxPathChars = 260;

// Size of the Browse command buffer: the fixed text and any directory that
// fits in kMaxPathChars - 1 characters, with room to spare.
const size_t kBrowseCommandSize = 520;

// Writes `explorer.exe "<directory>"` into `command`. Returns 1, or 0 (with an
// empty command) when the directory is empty, kMaxPathChars characters or
// longer, or the command would not fit.
int FormatBrowseCommand(const char* directory, char* command, size_t commandSize);

// What follows the program's name and the blanks after it in a command line,
// as WinMain receives it: a name that starts with a double quote runs to the
// next double quote, any other to the first blank.
const char* ArgumentsOf(const char* commandLine);

// Splits a command line the way the platform finds the program's name: a name
// that starts with a double quote runs to the next double quote; any other runs
// to the first blank. Blanks after the name are skipped; the rest is the
// parameters. Returns 0 when there is no name or it does not fit `program`.
int SplitCommandLine(const char* commandLine, char* program, size_t programSize,
                     const char** parameters);

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
    StartResult (*startCommandLine)(const char* commandLine, void* context);
    // Asks the user for consent and starts the program with administrator
    // rights; returns 1 when it was started.
    int (*startElevated)(const char* program, const char* parameters, void* context);
    void* context;
};

// Starts the installer's command line; when the program needs administrator
// rights, starts the same program with the same parameters elevated instead.
// Returns 1 when the installer was started.
int StartInstaller(const char* commandLine, const ProgramStarter& starter);

#endif
