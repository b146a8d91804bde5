// Process entry: registers the main window class, builds the panel and runs the
// message loop until the window is closed.
#include <windows.h>
#include <commctrl.h>
#include <new>

#include "app/app.h"
#include "app/folder_claim.h"
#include "app/resource.h"
#include "launcher/command_line.h"
#include "launcher/dll_search.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "launcher/wide_text.h"

HINSTANCE g_hInstance = nullptr;

namespace {

const int kTextSize = 100;

ATOM RegisterMainClass(HINSTANCE instance, const WCHAR* className) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TANDREL));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(Launcher::kBackground + 1);
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass);
}

// The settings in the customer's language, or in `language` when forced.
// False when the program's own texts are missing.
bool LoadSettings(HINSTANCE instance, const char16_t* language, Settings* settings) {
    SettingsFile file;
    if (!file.Load(instance)) {
        return false;
    }
    char16_t chosen[kLanguageTagSize];
    file.ChooseLanguage(language[0] ? language : nullptr, chosen);
    file.Read(chosen, settings);
    return true;
}

} // namespace

BOOL InitInstance(HINSTANCE instance, const WCHAR* className, const WCHAR* title, int showCommand,
                  const Settings& settings) {
    g_hInstance = instance;
    HWND window = CreateWindowExW(0, className, title, Launcher::kWindowStyle, CW_USEDEFAULT, 0,
                                  CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return FALSE;
    }
    // Set only once construction has returned: the focus, activation and move
    // messages that set-up causes take the default route.
    Launcher* launcher = new (std::nothrow) Launcher(g_hInstance, window, settings);
    g_launcher = launcher;
    if (!launcher || !launcher->Valid()) {
        return FALSE;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return TRUE;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    ProgramOptions options = ParseArguments(U(commandLine));
    // The publisher's check never shows the panel and never claims its folder;
    // any other command line does.
    if (options.check) {
        return RunCheckCommand(instance, options.language);
    }
    FolderClaim claim;
    if (!claim.Claim()) {
        return 0;
    }

    // The buttons are common controls: version 6 (the system's look), as the
    // manifest asks, where there is one. Windows XP registers them only once
    // the library is loaded, which this import sees to.
    InitCommonControls();

    Settings* settings = new (std::nothrow) Settings;
    WCHAR title[kTextSize] = {};
    WCHAR className[kTextSize] = {};
    bool ready = settings && LoadSettings(instance, options.language, settings);
    if (ready) {
        LoadStringW(instance, IDS_APP_TITLE, title, kTextSize);
        LoadStringW(instance, IDS_WINDOW_CLASS, className, kTextSize);
        RegisterMainClass(instance, className);
        ready = InitInstance(instance, className, title, showCommand, *settings);
    }
    delete settings;
    if (!ready) {
        return 0;
    }
    claim.Publish(g_launcher->Window());

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_TANDREL));
    MSG message = {};
    for (;;) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            break;
        }
        // GetMessage reports -1 only for a bad window filter, and there is none
        // here; ending on it anyway keeps a broken queue from spinning forever.
        if (got == -1) {
            message.wParam = 0;
            break;
        }
        if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
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
    // Before anything can load a DLL by name on the program's behalf.
    LoadDllsFromSystemFolderOnly();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    int showCommand = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWDEFAULT;
    const char16_t* arguments = ArgumentsOf(U(GetCommandLineW()));
    ExitProcess(static_cast<UINT>(
        wWinMain(GetModuleHandleW(nullptr), nullptr,
                 reinterpret_cast<LPWSTR>(const_cast<char16_t*>(arguments)), showCommand)));
}
