// Process entry: registers the main window class, builds the panel and runs the
// message loop until the window is closed.
#include <windows.h>
#include <commctrl.h>
#include <new>

#include "app/app.h"
#include "app/folder_claim.h"
#include "app/resource.h"
#include "launcher/check_rules.h"
#include "launcher/command_line.h"
#include "launcher/launcher.h"

HINSTANCE g_hInstance = nullptr;

namespace {

const int kTextSize = 100;

ATOM RegisterMainClass(HINSTANCE instance, const char* className) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TANDREL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass);
}

} // namespace

BOOL InitInstance(HINSTANCE instance, const char* className, const char* title, int showCommand) {
    g_hInstance = instance;
    HWND window = CreateWindowExA(0, className, title, WS_DLGFRAME | WS_SYSMENU, CW_USEDEFAULT, 0,
                                  CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return FALSE;
    }
    // Set only once construction has returned: the focus, activation and move
    // messages that set-up causes take the default route.
    Launcher* launcher = new (std::nothrow) Launcher(g_hInstance, window);
    g_launcher = launcher;
    if (!launcher || !launcher->valid) {
        return FALSE;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    // The publisher's check never shows the panel and never claims its folder;
    // any other command line does.
    if (IsCheckCommand(commandLine)) {
        return RunCheckCommand(instance);
    }
    FolderClaim claim;
    if (!claim.Claim()) {
        return 0;
    }

    // The buttons are common controls: version 6 (the system's look), as the
    // manifest asks, where there is one. Windows XP registers them only once
    // the library is loaded, which this import sees to.
    InitCommonControls();

    char title[kTextSize] = {};
    char className[kTextSize] = {};
    LoadStringA(instance, IDS_APP_TITLE, title, kTextSize);
    LoadStringA(instance, IDS_WINDOW_CLASS, className, kTextSize);
    RegisterMainClass(instance, className);

    if (!InitInstance(instance, className, title, showCommand)) {
        return 0;
    }
    claim.Publish(g_launcher->window);

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDC_TANDREL));
    MSG message = {};
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            break;
        }
        // GetMessage reports -1 only for a bad window filter, and there is none
        // here; ending on it anyway keeps a broken queue from spinning forever.
        if (got == -1) {
            message.wParam = 0;
            break;
        }
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    if (g_launcher) {
        delete g_launcher;
        g_launcher = nullptr;
    }
    return static_cast<int>(message.wParam);
}

// The program's entry point. MinGW's own start-up code prepares what a C
// program needs (arguments, exit handlers, thread-local storage, floating
// point) and costs several kilobytes; this program uses none of it, and
// msvcrt.dll sets up its heap itself when it is loaded.
extern "C" void WINAPI TandrelStart() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    int showCommand = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
    char* arguments = const_cast<char*>(ArgumentsOf(GetCommandLineA()));
    ExitProcess(
        static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, arguments, showCommand)));
}
