// The Launcher's panel: set-up, the window's size and place, the buttons, the
// default-button frame and painting.
#include "launcher/launcher.h"

#include <new>

#include "dib/dib_image.h"
#include "launcher/display.h"

namespace {

// The settings hold ANSI text; the picture takes a wide name, and is blended
// over the colour that the window class paints the panel with.
DibImage* NewPicture(const char* name) {
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH)) {
        wide[0] = L'\0';
    }
    return new (std::nothrow) DibImage(wide, GetSysColor(COLOR_BTNFACE));
}

} // namespace

int Launcher::SetUp() {
    if (bitmapFile[0] != '\0') {
        // The file itself is read later, when its size is first asked for.
        image = NewPicture(bitmapFile);
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
    // A sharper picture is only wanted on a display scaled up; without memory
    // for it, the picture is stretched.
    if (bitmap2xFile[0] != '\0') {
        image2x = NewPicture(bitmap2xFile);
    }
    dpi = WindowDpi(window);
    UpdateFont();
    SizeAndCenter();
    CreateButtons();
    return 1;
}

int Launcher::PictureSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    return image ? image->GetSize(width, height) : 0;
}

PanelMetrics Launcher::Metrics() {
    int pictureWidth;
    int pictureHeight;
    PictureSize(&pictureWidth, &pictureHeight);
    return ScalePanel(pictureWidth, pictureHeight, buttonWidth, buttonHeight, dpi);
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
    PanelMetrics metrics = Metrics();
    input.pictureWidth = metrics.pictureWidth;
    input.pictureHeight = metrics.pictureHeight;
    input.buttonWidth = metrics.buttonWidth;
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
    PlaceButtons(true);
}

void Launcher::PlaceButtons(bool create) {
    RECT clientRect = {};
    GetClientRect(window, &clientRect);
    PanelMetrics metrics = Metrics();
    int x =
        ButtonColumnX(clientRect.left, clientRect.right, metrics.pictureWidth, metrics.buttonWidth);

    // Install and Browse stack from the top with no gap for an empty caption;
    // Cancel sits at the bottom. The first button created takes the focus.
    int y = FirstButtonY(metrics.buttonHeight);
    bool focused = !create;
    for (int slot = kInstallSlot; slot < kSlotCount; ++slot) {
        if (slot == kCancelSlot) {
            y = CancelButtonY(clientRect.bottom, metrics.buttonHeight);
        }
        if (create) {
            buttons[slot] = CreateLauncherButton(x, y, metrics, captions[slot]);
        } else if (buttons[slot]) {
            MoveWindow(buttons[slot], x, y, metrics.buttonWidth, metrics.buttonHeight, TRUE);
        }
        if (!buttons[slot]) {
            continue;
        }
        if (!focused) {
            FocusSlot(slot);
            focused = true;
        }
        y = NextButtonY(y, metrics.buttonHeight);
    }
}

HWND Launcher::CreateLauncherButton(int x, int y, const PanelMetrics& metrics,
                                    const char* caption) {
    if (!caption || caption[0] == '\0') {
        return nullptr;
    }
    HWND button =
        CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE, x, y, metrics.buttonWidth,
                        metrics.buttonHeight, window, nullptr, instance, nullptr);
    if (button && window) {
        // A focused button receives the keys itself; the subclass hands them to
        // the panel as well.
        LONG_PTR previous =
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonSubclassProc));
        if (previous) {
            g_oldButtonProc = reinterpret_cast<WNDPROC>(previous);
        }
    }
    if (button && font) {
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return button;
}

void Launcher::UpdateFont() {
    HFONT previous = font;
    font = CreateMessageFont(dpi);
    for (HWND button : buttons) {
        if (button) {
            SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    // No button uses the old font any more.
    if (previous) {
        DeleteObject(previous);
    }
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
    DibImage* picture = PictureToDraw();
    HPALETTE previousPalette = nullptr;
    HPALETTE palette = picture->GetPalette();
    if (palette) {
        previousPalette = SelectPalette(deviceContext, palette, FALSE);
        RealizePalette(deviceContext);
    }
    if (picture == image && dpi == kDefaultDpi) {
        int width = 0;
        int height = 0;
        image->GetSize(&width, &height);
        image->Draw(deviceContext, 0, 0, width, height, 0, 0);
    } else {
        PanelMetrics metrics = Metrics();
        // Halftone is the platform's good filter; Windows 95 and 98 lack it.
        int previousMode = SetStretchBltMode(deviceContext, HALFTONE);
        if (previousMode) {
            // Halftoning shifts the brush origin, which the platform wants put back.
            SetBrushOrgEx(deviceContext, 0, 0, nullptr);
        } else {
            previousMode = SetStretchBltMode(deviceContext, COLORONCOLOR);
        }
        picture->DrawScaled(deviceContext, 0, 0, metrics.pictureWidth, metrics.pictureHeight);
        if (previousMode) {
            SetStretchBltMode(deviceContext, previousMode);
        }
    }
    if (previousPalette) {
        SelectPalette(deviceContext, previousPalette, FALSE);
    }
}

DibImage* Launcher::PictureToDraw() {
    int width;
    int height;
    if (dpi > kDefaultDpi && image2x && image2x->GetSize(&width, &height)) {
        return image2x;
    }
    return image;
}

void Launcher::Invalidate() {
    InvalidateRect(window, nullptr, FALSE);
}

void Launcher::OnDpiChanged(int newDpi, const RECT& suggested) {
    dpi = newDpi > 0 ? newDpi : kDefaultDpi;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceButtons(false);
    UpdateFont();
    InvalidateRect(window, nullptr, TRUE);
}
