// Process-wide values of the application, set once at start-up on the GUI thread.
#ifndef TANDREL_APP_APP_H
#define TANDREL_APP_APP_H

#include <windows.h>

struct Settings;

extern HINSTANCE g_hInstance;

// Creates the main window and its Launcher from `settings` and shows the
// window. Returns 0 when the window could not be created or the panel could
// not be built.
BOOL InitInstance(HINSTANCE instance, const WCHAR* className, const WCHAR* title, int showCommand,
                  const Settings& settings);

// Runs the publisher's check for the current directory, as a customer of
// `language` sees it (all languages when it is empty), reports it and
// returns the exit code: 2 for errors, 1 for warnings only, else 0.
int RunCheckCommand(HINSTANCE instance, const char16_t* language);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
