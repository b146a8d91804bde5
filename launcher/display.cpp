#include "launcher/display.h"

namespace {

// A user32 function that older versions do not have, or null.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

} // namespace

bool GetWorkArea(HWND window, RECT* area) {
    typedef HMONITOR(WINAPI * MonitorFromWindowFunction)(HWND, DWORD);
    typedef BOOL(WINAPI * GetMonitorInfoFunction)(HMONITOR, MONITORINFO*);
    MonitorFromWindowFunction monitorFromWindow =
        User32Function<MonitorFromWindowFunction>("MonitorFromWindow");
    GetMonitorInfoFunction getMonitorInfo =
        User32Function<GetMonitorInfoFunction>("GetMonitorInfoA");
    if (!monitorFromWindow || !getMonitorInfo) {
        return false;
    }
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = monitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !getMonitorInfo(monitor, &info)) {
        return false;
    }
    *area = info.rcWork;
    return true;
}
