// Reading another process's windows and sending it input, as a user would.
#ifndef TANDREL_TESTS_E2E_PROBE_H
#define TANDREL_TESTS_E2E_PROBE_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace probe {

// The time limit of every wait: generous, because a loaded machine can be slow
// to start a Wine process, and a wait ends as soon as its condition holds.
const DWORD kWaitMs = 15000;

// Pumps this thread's messages and checks `condition` until it holds or the
// time is up. Returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs);

// The visible top-level windows of a process, of the given class unless null.
std::vector<HWND> WindowsOf(DWORD processId, const char* className = nullptr);
// The push buttons of a window, in creation order.
std::vector<HWND> Buttons(HWND parent);
// A window's text, as UTF-8.
std::string Text(HWND window);
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// The window's rectangle, and its client area, in screen coordinates.
RECT WindowRect(HWND window);
RECT ClientRectOnScreen(HWND window);
// The focus and the active window of `window`'s thread.
GUITHREADINFO ThreadOf(HWND window);
// Brings `window` to the foreground and waits until it is active.
bool Activate(HWND window);

// Key presses (with Alt held, if asked) and mouse clicks through the system's
// input queue; they go to the foreground window.
void PressKey(WORD virtualKey, bool withAlt = false);
void ClickCenterOf(HWND window);

// Copies a screen rectangle's pixels as 0x00RRGGBB values, row by row from the
// top.
std::vector<DWORD> CapturePixels(const RECT& screenRect);

} // namespace probe

#endif
