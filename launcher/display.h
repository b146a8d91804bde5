// What the platform tells about the display that the panel is on. Functions
// newer than the oldest supported Windows are looked up at run time, and
// their older equivalents answer where they are missing.
#ifndef TANDREL_LAUNCHER_DISPLAY_H
#define TANDREL_LAUNCHER_DISPLAY_H

#include <windows.h>

// The window's DPI (its monitor's, where the platform keeps one a monitor),
// else the system's.
int WindowDpi(HWND window);

// The system's message font at `dpi`, or none. The caller owns it.
HFONT CreateMessageFont(int dpi);

// The work area (the screen less the taskbar) of the window's monitor, where
// the platform knows monitors.
bool GetWorkArea(HWND window, RECT* area);

#endif
