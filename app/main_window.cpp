// The main window procedure: routes the panel's messages to the Launcher and
// keeps only the About command and the end of the process for itself.
#include <windows.h>

#include "app/app.h"
#include "app/resource.h"
#include "launcher/launcher.h"

namespace {

// Sent when the window has moved to a monitor of another scale (Windows 8.1
// and later); the headers name it only for those versions.
const UINT kWmDpiChanged = 0x02E0;

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != 0) {
        if (LOWORD(wParam) == IDM_ABOUT) {
            DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_ABOUTBOX), window, AboutDlgProc, 0);
            return 0;
        }
    } else if (g_launcher && g_launcher->OnButtonClicked(reinterpret_cast<HWND>(lParam))) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC deviceContext = BeginPaint(window, &paint);
    if (g_launcher) {
        g_launcher->OnPaint(deviceContext);
    }
    EndPaint(window, &paint);
    return 0;
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(window, message, wParam, lParam);
    case WM_KEYDOWN:
        if (g_launcher && g_launcher->OnKeyDown(static_cast<UINT>(wParam), lParam)) {
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (g_launcher) {
            g_launcher->OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        }
        break;
    case WM_PAINT:
        return OnPaint(window);
    case kWmDpiChanged:
        if (g_launcher && lParam) {
            g_launcher->OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        break;
    case WM_PALETTECHANGED:
        if (g_launcher) {
            g_launcher->OnPaletteChanged();
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
