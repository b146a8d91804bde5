// The About box: a plain modal dialog that closes with OK or Escape.
#include <windows.h>

#include "app/app.h"
#include "launcher/launcher.h"

namespace {

BOOL CALLBACK UseFont(HWND control, LPARAM font) {
    SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The texts in the panel's own font, the system's message font at the
        // panel's scale; the Launcher keeps it until the end of the process.
        if (g_launcher && g_launcher->Font()) {
            EnumChildWindows(dialog, UseFont, reinterpret_cast<LPARAM>(g_launcher->Font()));
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
