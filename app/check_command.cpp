// `tandrel.exe /check`: the publisher's check, reported where the publisher
// looks: a file or pipe that standard output goes to (as UTF-8), the console
// the command was typed in, or else a message box.
#include <windows.h>

#include <new>

#include "app/app.h"
#include "launcher/check.h"
#include "launcher/utf16.h"
#include "launcher/wide_text.h"

namespace {

// The report as UTF-8 to a file or a pipe, or as text to a console.
bool WriteAll(HANDLE handle, const char16_t* text) {
    DWORD length = static_cast<DWORD>(Utf16Length(text));
    DWORD written = 0;
    if (GetFileType(handle) == FILE_TYPE_CHAR &&
        WriteConsoleW(handle, W(text), length, &written, nullptr)) {
        return written == length;
    }
    int bytes = WideCharToMultiByte(CP_UTF8, 0, W(text), static_cast<int>(length), nullptr, 0,
                                    nullptr, nullptr);
    char* utf8 = bytes > 0 ? new (std::nothrow) char[bytes] : nullptr;
    bool done = utf8 &&
                WideCharToMultiByte(CP_UTF8, 0, W(text), static_cast<int>(length), utf8, bytes,
                                    nullptr, nullptr) == bytes &&
                WriteFile(handle, utf8, static_cast<DWORD>(bytes), &written, nullptr) &&
                written == static_cast<DWORD>(bytes);
    delete[] utf8;
    return done;
}

// A GUI program started from a console window gets no standard output of its
// own, but may write to that console.
bool WriteToParentConsole(const char16_t* text) {
    const DWORD kParentProcess = static_cast<DWORD>(-1);
    if (!AttachConsole(kParentProcess)) {
        return false;
    }
    HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    bool written =
        console != INVALID_HANDLE_VALUE && WriteAll(console, u"\r\n") && WriteAll(console, text);
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
    MessageBoxW(nullptr, W(report.Text()), L"Tandrel check", MB_OK | icon);
}

} // namespace

int RunCheckCommand(HINSTANCE instance, const char16_t* language) {
    CheckReport* report = new (std::nothrow) CheckReport;
    if (!report) {
        return 2;
    }
    RunCheck(instance, language, report);
    Deliver(*report);
    int exitCode = report->ExitCode();
    delete report;
    return exitCode;
}
