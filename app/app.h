// Process-wide values of the application, set once at start-up on the GUI thread.
#ifndef TANDREL_APP_APP_H
#define TANDREL_APP_APP_H

#include <windows.h>

class Launcher;

extern HINSTANCE g_hInstance;

// Creates the main window and its Launcher and shows the window. Returns 0 when
// the window could not be created or the panel could not be built.
BOOL InitInstance(HINSTANCE instance, const char* className, const char* title, int showCommand);

// Runs the publisher's check for the current directory, reports it and
// returns the exit code: 2 for errors, 1 for warnings only, else 0.
int RunCheckCommand(HINSTANCE instance);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
