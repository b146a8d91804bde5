// `tandrel.exe /check`: the publisher's check, reported where the publisher
// looks: a file or pipe that standard output goes to, the console the
// command was typed in, or else a message box.
#include <windows.h>

#include <cstring>
#include <new>

#include "app/app.h"
#include "launcher/check.h"

namespace {

bool WriteAll(HANDLE handle, const char* text) {
    DWORD length = static_cast<DWORD>(strlen(text));
    DWORD written = 0;
    return WriteFile(handle, text, length, &written, nullptr) && written == length;
}

typedef BOOL(WINAPI* AttachConsoleFunction)(DWORD);

// A GUI program started from a console window gets no standard output of its
// own; Windows XP and later let it write to that console. Older Windows lack
// the call, which is therefore looked up rather than imported.
bool WriteToParentConsole(const char* text) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    AttachConsoleFunction attachConsole =
        kernel ? reinterpret_cast<AttachConsoleFunction>(
                     reinterpret_cast<void*>(GetProcAddress(kernel, "AttachConsole")))
               : nullptr;
    const DWORD kParentProcess = static_cast<DWORD>(-1);
    if (!attachConsole || !attachConsole(kParentProcess)) {
        return false;
    }
    HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    bool written =
        console != INVALID_HANDLE_VALUE && WriteAll(console, "\r\n") && WriteAll(console, text);
    if (console != INVALID_HANDLE_VALUE) {
        CloseHandle(console);
    }
    FreeConsole();
    return written;
}

void Deliver(const CheckReport& report) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_UNKNOWN &&
        WriteAll(output, report.Text())) {
        return;
    }
    if (WriteToParentConsole(report.Text())) {
        return;
    }
    UINT icon = report.Errors()     ? MB_ICONERROR
                : report.Warnings() ? MB_ICONWARNING
                                    : MB_ICONINFORMATION;
    MessageBoxA(nullptr, report.Text(), "Tandrel check", MB_OK | icon);
}

} // namespace

int RunCheckCommand(HINSTANCE instance) {
    CheckReport* report = new (std::nothrow) CheckReport;
    if (!report) {
        return 2;
    }
    RunCheck(instance, report);
    Deliver(*report);
    int exitCode = report->ExitCode();
    delete report;
    return exitCode;
}
