#include "launcher/display.h"

#include "launcher/layout.h"

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

// The DPI that the platform describes its own metrics and fonts at.
int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace

int WindowDpi(HWND window) {
    typedef UINT(WINAPI * GetDpiForWindowFunction)(HWND);
    GetDpiForWindowFunction getDpiForWindow =
        User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

HFONT CreateMessageFont(int dpi) {
    // The structure without the field that Windows Vista added, which every
    // version accepts.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return nullptr;
    }
    // The platform describes it at the system's DPI; a window on a monitor of
    // another scale wants it at its own.
    int systemDpi = SystemDpi();
    LOGFONTA font = metrics.lfMessageFont;
    font.lfHeight = ScaleLength(font.lfHeight, dpi, systemDpi);
    font.lfWidth = ScaleLength(font.lfWidth, dpi, systemDpi);
    return CreateFontIndirectA(&font);
}

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
