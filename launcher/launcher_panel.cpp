// The Launcher's panel: set-up, the window's size and place, the buttons, the
// default-button frame and painting.
#include "launcher/launcher.h"

#include <new>

#include "dib/dib_image.h"
#include "launcher/display.h"
#include "launcher/layout.h"

int Launcher::SetUp() {
    if (bitmapFile[0] != '\0') {
        // The file itself is read later, when its size is first asked for.
        image = new (std::nothrow) DibImage(bitmapFile);
        if (!image) {
            return 0;
        }
    }
    if (title[0] != '\0') {
        SetWindowTextA(window, title);
    }
    if (iconFile[0] != '\0') {
        if (icon) {
            DestroyIcon(icon);
            icon = nullptr;
        }
        icon = static_cast<HICON>(LoadImageA(nullptr, iconFile, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        if (icon) {
            SetClassLongPtrA(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
        }
    }
    SizeAndCenter();
    CreateButtons();
    return 1;
}

int Launcher::PictureSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    return image ? image->GetSize(width, height) : 0;
}

void Launcher::SizeAndCenter() {
    if (!window) {
        return;
    }
    RECT windowRect = {};
    RECT clientRect = {};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);

    LayoutInput input = {};
    input.frameWidth = (windowRect.right - windowRect.left) - (clientRect.right - clientRect.left);
    input.frameHeight = (windowRect.bottom - windowRect.top) - (clientRect.bottom - clientRect.top);
    PictureSize(&input.pictureWidth, &input.pictureHeight);
    input.buttonWidth = buttonWidth;
    input.currentLeft = windowRect.left;
    input.currentTop = windowRect.top;
    RECT area = {};
    if (GetWorkArea(window, &area)) {
        input.haveWorkArea = true;
        input.workLeft = area.left;
        input.workTop = area.top;
        input.workRight = area.right;
        input.workBottom = area.bottom;
    } else {
        HWND desktop = GetDesktopWindow();
        if (desktop && GetWindowRect(desktop, &area)) {
            input.haveDesktop = true;
            input.desktopWidth = area.right - area.left;
            input.desktopHeight = area.bottom - area.top;
        }
    }

    WindowPlacement placement = PlaceWindow(input);
    if (placement.move) {
        MoveWindow(window, placement.left, placement.top, placement.width, placement.height, TRUE);
    }
}

void Launcher::CreateButtons() {
    RECT clientRect = {};
    GetClientRect(window, &clientRect);
    int pictureWidth;
    int pictureHeight;
    PictureSize(&pictureWidth, &pictureHeight);
    int x = ButtonColumnX(clientRect.left, clientRect.right, pictureWidth, buttonWidth);

    // Install and Browse stack from the top with no gap for an empty caption;
    // Cancel sits at the bottom. The first button created takes the focus.
    int y = FirstButtonY(buttonHeight);
    bool focused = false;
    for (int slot = kInstallSlot; slot <= kBrowseSlot; ++slot) {
        buttons[slot] = CreateLauncherButton(x, y, captions[slot]);
        if (buttons[slot]) {
            if (!focused) {
                FocusSlot(slot);
                focused = true;
            }
            y = NextButtonY(y, buttonHeight);
        }
    }
    if (captions[kCancelSlot][0] != '\0') {
        y = CancelButtonY(clientRect.bottom, buttonHeight);
        buttons[kCancelSlot] = CreateLauncherButton(x, y, captions[kCancelSlot]);
        if (buttons[kCancelSlot] && !focused) {
            FocusSlot(kCancelSlot);
        }
    }
}

HWND Launcher::CreateLauncherButton(int x, int y, const char* caption) {
    if (!caption || caption[0] == '\0') {
        return nullptr;
    }
    HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE, x, y, buttonWidth,
                                  buttonHeight, window, nullptr, instance, nullptr);
    if (button && window) {
        // A focused button receives the keys itself; the subclass hands them to
        // the panel as well.
        LONG_PTR previous =
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonSubclassProc));
        if (previous) {
            g_oldButtonProc = reinterpret_cast<WNDPROC>(previous);
        }
    }
    return button;
}

void Launcher::FocusSlot(int slot) {
    slot = WrapSlot(slot);
    if (!buttons[slot]) {
        return;
    }
    SetFocus(buttons[slot]);
    currentSlot = slot;
    UpdateDefaultStyles();
}

void Launcher::UpdateDefaultStyles() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        HWND button = buttons[slot];
        if (!button) {
            continue;
        }
        // The style is written directly rather than through BM_SETSTYLE, and the
        // button redrawn without erasing, so that the frame moves without flicker.
        LONG style = GetWindowLongA(button, GWL_STYLE);
        if (slot == currentSlot) {
            style |= BS_DEFPUSHBUTTON;
        } else {
            style &= ~static_cast<LONG>(BS_DEFPUSHBUTTON);
        }
        SetWindowLongA(button, GWL_STYLE, style);
        InvalidateRect(button, nullptr, FALSE);
    }
}

void Launcher::PaintOnRequest(HDC deviceContext) {
    if (valid && deviceContext) {
        Paint(deviceContext);
    }
}

void Launcher::Paint(HDC deviceContext) {
    if (!image) {
        return;
    }
    HPALETTE previousPalette = nullptr;
    HPALETTE palette = image->GetPalette();
    if (palette) {
        previousPalette = SelectPalette(deviceContext, palette, FALSE);
        RealizePalette(deviceContext);
    }
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    image->Draw(deviceContext, 0, 0, width, height, 0, 0);
    if (previousPalette) {
        SelectPalette(deviceContext, previousPalette, FALSE);
    }
}

void Launcher::Invalidate() {
    InvalidateRect(window, nullptr, FALSE);
}
