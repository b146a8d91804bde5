#include "launcher/command_line.h"

#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

int FormatBrowseCommand(const char* directory, char* command, size_t commandSize) {
    static const char kPrefix[] = "explorer.exe \"";
    const size_t prefixLength = sizeof(kPrefix) - 1;
    if (commandSize == 0) {
        return 0;
    }
    command[0] = '\0';
    size_t length = strlen(directory);
    // Prefix, directory, closing quote and the terminating zero.
    if (length == 0 || length >= kMaxPathChars || prefixLength + length + 2 > commandSize) {
        return 0;
    }
    memcpy(command, kPrefix, prefixLength);
    memcpy(command + prefixLength, directory, length);
    command[prefixLength + length] = '"';
    command[prefixLength + length + 1] = '\0';
    return 1;
}

const char* ArgumentsOf(const char* commandLine) {
    const char* at = commandLine;
    if (*at == '"') {
        at = strchr(at + 1, '"');
        at = at ? at + 1 : commandLine + strlen(commandLine);
    } else {
        while (*at && !IsBlank(*at)) {
            ++at;
        }
    }
    while (IsBlank(*at)) {
        ++at;
    }
    return at;
}

int SplitCommandLine(const char* commandLine, char* program, size_t programSize,
                     const char** parameters) {
    if (programSize == 0) {
        return 0;
    }
    program[0] = '\0';
    const char* start = commandLine;
    while (IsBlank(*start)) {
        ++start;
    }
    const char* end;
    const char* rest;
    if (*start == '"') {
        ++start;
        end = strchr(start, '"');
        if (!end) {
            // An unclosed quote runs to the end of the line.
            end = start + strlen(start);
            rest = end;
        } else {
            rest = end + 1;
        }
    } else {
        end = start;
        while (*end && !IsBlank(*end)) {
            ++end;
        }
        rest = end;
    }
    size_t length = static_cast<size_t>(end - start);
    if (length == 0 || length >= programSize) {
        return 0;
    }
    memcpy(program, start, length);
    program[length] = '\0';
    while (IsBlank(*rest)) {
        ++rest;
    }
    *parameters = rest;
    return 1;
}

StartResult StartResultForError(unsigned long error) {
    // What CreateProcess reports for such a program (Windows Vista and later).
    const unsigned long kErrorElevationRequired = 740;
    return error == kErrorElevationRequired ? kStartNeedsElevation : kStartFailed;
}

int StartInstaller(const char* commandLine, const ProgramStarter& starter) {
    StartResult result = starter.startCommandLine(commandLine, starter.context);
    if (result == kStarted) {
        return 1;
    }
    if (result != kStartNeedsElevation) {
        return 0;
    }
    // The installer field holds at most 99 characters, and so does its name.
    char program[100];
    const char* parameters = "";
    if (!SplitCommandLine(commandLine, program, sizeof(program), &parameters)) {
        return 0;
    }
    return starter.startElevated(program, parameters, starter.context) ? 1 : 0;
}
