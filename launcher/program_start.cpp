#include "launcher/program_start.h"

#include <shellapi.h>
#include <cstring>

namespace {

StartResult StartCommandLineWithContext(const char* commandLine, void*) {
    return StartCommandLine(commandLine);
}

typedef BOOL(WINAPI* ShellExecuteExFunction)(SHELLEXECUTEINFOA*);

// The shell is loaded only when an installer needs administrator rights, and
// only from the system folder: a DLL of the same name on the distribution
// medium is never picked up, and the usual start does not pay for loading it.
ShellExecuteExFunction LoadShellExecuteEx() {
    char path[MAX_PATH];
    const char kShellDll[] = "\\shell32.dll";
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof(kShellDll) > MAX_PATH) {
        return nullptr;
    }
    memcpy(path + length, kShellDll, sizeof(kShellDll));
    HMODULE shell = LoadLibraryA(path);
    if (!shell) {
        return nullptr;
    }
    // The module stays loaded: the panel closes right after a successful start.
    return reinterpret_cast<ShellExecuteExFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteExA")));
}

int StartElevated(const char* program, const char* parameters, void* context) {
    ShellExecuteExFunction shellExecuteEx = LoadShellExecuteEx();
    if (!shellExecuteEx) {
        return 0;
    }
    // An elevated program does not inherit the current directory; installers
    // on a medium expect to start in its root, as the plain start gives them.
    char directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    bool haveDirectory = length > 0 && length < MAX_PATH;

    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = *static_cast<HWND*>(context);
    info.lpVerb = "runas";
    info.lpFile = program;
    info.lpParameters = parameters;
    info.lpDirectory = haveDirectory ? directory : nullptr;
    info.nShow = SW_SHOWNORMAL;
    return shellExecuteEx(&info) ? 1 : 0;
}

} // namespace

StartResult StartCommandLine(const char* commandLine) {
    // CreateProcess may write to the command line; it gets a copy.
    char buffer[kBrowseCommandSize];
    size_t length = strlen(commandLine);
    if (length >= sizeof(buffer)) {
        return kStartFailed;
    }
    memcpy(buffer, commandLine, length + 1);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, buffer, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return StartResultForError(GetLastError());
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return kStarted;
}

ProgramStarter PlatformStarter(HWND* owner) {
    ProgramStarter starter = {StartCommandLineWithContext, StartElevated, owner};
    return starter;
}
