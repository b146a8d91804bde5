// The Launcher's life: construction and destruction.
#include "launcher/launcher.h"

#include "dib/dib_image.h"

Launcher* g_launcher = nullptr;
WNDPROC g_oldButtonProc = nullptr;

Launcher::Launcher(HINSTANCE instance_, HWND window_, const Settings& settings_)
    : valid(false), instance(instance_), window(window_), settings(settings_), image(nullptr),
      image2x(nullptr), icon(nullptr), font(nullptr), dpi(kDefaultDpi), layout(), buttons(),
      currentSlot(0) {
    g_oldButtonProc = nullptr;
    if (!instance || !window || !settings.HasCaption()) {
        return;
    }
    valid = SetUp();
}

Launcher::~Launcher() {
    delete image;
    image = nullptr;
    delete image2x;
    image2x = nullptr;
    if (icon) {
        DestroyIcon(icon);
        icon = nullptr;
    }
    // By now the platform has usually destroyed the buttons with the main
    // window; restoring and destroying a window that is gone does nothing.
    for (HWND& button : buttons) {
        if (button) {
            if (g_oldButtonProc) {
                SetWindowLongPtrW(button, GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(g_oldButtonProc));
            }
            DestroyWindow(button);
        }
        button = nullptr;
    }
    // Released only once no button can draw with it any more.
    if (font) {
        DeleteObject(font);
        font = nullptr;
    }
}
