// Starting other programs: the installer and the file browser.
#ifndef TANDREL_LAUNCHER_PROGRAM_START_H
#define TANDREL_LAUNCHER_PROGRAM_START_H

#include <windows.h>

#include "launcher/command_line.h"

// Starts a command line the way WinExec does (the program is searched for in
// the launcher's folder first, then the current directory, then the system's),
// shown normally, and tells why it failed.
StartResult StartCommandLine(const char16_t* commandLine);

// The platform's starter for StartInstaller; `owner` owns the consent prompt
// that starting a program with administrator rights shows.
ProgramStarter PlatformStarter(HWND* owner);

#endif
