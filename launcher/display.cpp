#include "launcher/display.h"

#include "dib/system_library.h"

namespace {

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
        LoadedFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

HFONT CreateMessageFont(int dpi) {
    // The structure without the field that Windows Vista added, which every
    // version accepts.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return nullptr;
    }
    // The platform describes it at the system's DPI; a window on a monitor of
    // another scale wants it at its own.
    int systemDpi = SystemDpi();
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = ScaleLength(font.lfHeight, dpi, systemDpi);
    font.lfWidth = ScaleLength(font.lfWidth, dpi, systemDpi);
    return CreateFontIndirectW(&font);
}

Box WindowFrame(DWORD style, int dpi) {
    typedef BOOL(WINAPI * AdjustForDpiFunction)(RECT*, DWORD, BOOL, DWORD, UINT);
    AdjustForDpiFunction adjustForDpi =
        LoadedFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame = {0, 0, 0, 0};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, 0, static_cast<UINT>(dpi))) {
        frame = RECT{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
    }
    return Box{frame.left, frame.top, frame.right, frame.bottom};
}

void ReadScreenArea(HWND window, PanelInput* input) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    input->placeLeft = rect.left;
    input->placeTop = rect.top;
    input->areaKind = ScreenArea::kNone;

    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        input->areaKind = ScreenArea::kWorkArea;
        rect = info.rcWork;
    } else {
        HWND desktop = GetDesktopWindow();
        if (!desktop || !GetWindowRect(desktop, &rect)) {
            return;
        }
        input->areaKind = ScreenArea::kDesktop;
        rect = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    }
    input->area = Box{rect.left, rect.top, rect.right, rect.bottom};
}
