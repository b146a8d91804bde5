#include "launcher/command_line.h"

#include <cstring>

#include "launcher/utf16.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Whether `at` starts with the switch `name` (upper case) after a slash or a
// dash, followed by the end, a blank or `next`; moves past it.
bool TakeSwitch(const char16_t** at, const char* name, char16_t next) {
    const char16_t* p = *at;
    if (*p != u'/' && *p != u'-') {
        return false;
    }
    for (++p; *name; ++p, ++name) {
        if (Upper(*p) != static_cast<char16_t>(*name)) {
            return false;
        }
    }
    if (*p && !IsBlank(*p) && *p != next) {
        return false;
    }
    *at = p;
    return true;
}

void SkipBlanks(const char16_t** at) {
    while (IsBlank(**at)) {
        ++*at;
    }
}

} // namespace

int FormatBrowseCommand(const char16_t* directory, char16_t* command, std::size_t commandSize) {
    static const char16_t kPrefix[] = u"explorer.exe \"";
    const std::size_t prefixLength = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
    if (commandSize == 0) {
        return 0;
    }
    command[0] = u'\0';
    std::size_t length = Utf16Length(directory);
    // Prefix, directory, closing quote and the terminating zero.
    if (length == 0 || length >= kMaxPathChars || prefixLength + length + 2 > commandSize) {
        return 0;
    }
    std::memcpy(command, kPrefix, prefixLength * sizeof(char16_t));
    std::memcpy(command + prefixLength, directory, length * sizeof(char16_t));
    command[prefixLength + length] = u'"';
    command[prefixLength + length + 1] = u'\0';
    return 1;
}

const char16_t* ArgumentsOf(const char16_t* commandLine) {
    const char16_t* at = commandLine;
    if (*at == u'"') {
        at = Utf16Find(at + 1, u'"');
        at = at ? at + 1 : commandLine + Utf16Length(commandLine);
    } else {
        while (*at && !IsBlank(*at)) {
            ++at;
        }
    }
    SkipBlanks(&at);
    return at;
}

ProgramOptions ParseArguments(const char16_t* arguments) {
    ProgramOptions options = {};
    const char16_t* at = arguments;
    for (SkipBlanks(&at); *at; SkipBlanks(&at)) {
        if (TakeSwitch(&at, "CHECK", u'\0')) {
            options.check = true;
        } else if (TakeSwitch(&at, "LANG", u':')) {
            at += *at == u':' ? 1 : 0;
            SkipBlanks(&at);
            std::size_t length = 0;
            while (at[length] && !IsBlank(at[length])) {
                ++length;
            }
            const std::size_t room = sizeof(options.language) / sizeof(options.language[0]);
            if (length < room) {
                std::memcpy(options.language, at, length * sizeof(char16_t));
                options.language[length] = u'\0';
            }
            at += length;
        } else {
            while (*at && !IsBlank(*at)) {
                ++at;
            }
        }
    }
    return options;
}

int SplitCommandLine(const char16_t* commandLine, char16_t* program, std::size_t programSize,
                     const char16_t** parameters) {
    if (programSize == 0) {
        return 0;
    }
    program[0] = u'\0';
    const char16_t* start = commandLine;
    SkipBlanks(&start);
    const char16_t* end;
    const char16_t* rest;
    if (*start == u'"') {
        ++start;
        end = Utf16Find(start, u'"');
        if (!end) {
            // An unclosed quote runs to the end of the line.
            end = start + Utf16Length(start);
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
    std::size_t length = static_cast<std::size_t>(end - start);
    if (length == 0 || length >= programSize) {
        return 0;
    }
    std::memcpy(program, start, length * sizeof(char16_t));
    program[length] = u'\0';
    SkipBlanks(&rest);
    *parameters = rest;
    return 1;
}

StartResult StartResultForError(unsigned long error) {
    // What CreateProcess reports for such a program (Windows Vista and later).
    const unsigned long kErrorElevationRequired = 740;
    return error == kErrorElevationRequired ? kStartNeedsElevation : kStartFailed;
}

int StartInstaller(const char16_t* commandLine, const ProgramStarter& starter) {
    StartResult result = starter.startCommandLine(commandLine, starter.context);
    if (result == kStarted) {
        return 1;
    }
    if (result != kStartNeedsElevation) {
        return 0;
    }
    // The installer field holds at most 99 characters, and so does its name.
    char16_t program[100];
    const char16_t* parameters = u"";
    if (!SplitCommandLine(commandLine, program, sizeof(program) / sizeof(program[0]),
                          &parameters)) {
        return 0;
    }
    return starter.startElevated(program, parameters, starter.context) ? 1 : 0;
}
