// What the platform tells about the display that the panel is on. Functions
// newer than the oldest supported Windows are looked up at run time, and
// their older equivalents answer where they are missing.
#ifndef TANDREL_LAUNCHER_DISPLAY_H
#define TANDREL_LAUNCHER_DISPLAY_H

#include <windows.h>

#include "launcher/layout.h"

// The window's DPI (its monitor's, where the platform keeps one a monitor),
// else the system's.
int WindowDpi(HWND window);

// The system's message font at `dpi`, or none. The caller owns it.
HFONT CreateMessageFont(int dpi);

// How far a window of `style` reaches outside its client area at `dpi`.
Box WindowFrame(DWORD style, int dpi);

// What the panel in `window` is centred on: the work area (the screen less
// the taskbar) of its monitor where the platform can tell it, else the
// desktop; `input` gets the kind, the area and the window's place now.
void ReadScreenArea(HWND window, PanelInput* input);

#endif
