#include "launcher/program_start.h"

#include <shellapi.h>

#include <cstring>

#include "dib/system_library.h"
#include "launcher/utf16.h"
#include "launcher/wide_text.h"

namespace {

StartResult StartCommandLineWithContext(const char16_t* commandLine, void*) {
    return StartCommandLine(commandLine);
}

int StartElevated(const char16_t* program, const char16_t* parameters, void* context) {
    // The shell is loaded only when an installer needs administrator rights:
    // the usual start does not pay for loading it. It stays loaded, as the
    // panel closes right after a successful start.
    typedef BOOL(WINAPI * ShellExecuteExFunction)(SHELLEXECUTEINFOW*);
    ShellExecuteExFunction shellExecuteEx =
        FunctionOf<ShellExecuteExFunction>(LoadSystemLibrary(L"shell32.dll"), "ShellExecuteExW");
    if (!shellExecuteEx) {
        return 0;
    }
    // An elevated program does not inherit the current directory; installers
    // on a medium expect to start in its root, as the plain start gives them.
    WCHAR directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, directory);
    bool haveDirectory = length > 0 && length < MAX_PATH;

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = *static_cast<HWND*>(context);
    info.lpVerb = L"runas";
    info.lpFile = W(program);
    info.lpParameters = W(parameters);
    info.lpDirectory = haveDirectory ? directory : nullptr;
    info.nShow = SW_SHOWNORMAL;
    return shellExecuteEx(&info) ? 1 : 0;
}

} // namespace

StartResult StartCommandLine(const char16_t* commandLine) {
    // CreateProcess may write to the command line; it gets a copy.
    WCHAR buffer[kBrowseCommandSize];
    std::size_t length = Utf16Length(commandLine);
    if (length >= kBrowseCommandSize) {
        return kStartFailed;
    }
    std::memcpy(buffer, commandLine, (length + 1) * sizeof(WCHAR));

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
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
