// The Launcher's panel: set-up, the window's size and place, the buttons, the
// default-button frame and painting.
#include "launcher/launcher.h"

#include <new>

#include "dib/dib_image.h"
#include "launcher/display.h"
#include "launcher/wide_text.h"

bool Launcher::SetUp() {
    COLORREF background = GetSysColor(kBackground);
    if (settings.Text(kBmp)[0]) {
        // The file itself is read later, when its size is first asked for.
        image = new (std::nothrow) DibImage(W(settings.Text(kBmp)), background);
        if (!image) {
            return false;
        }
    }
    if (settings.Text(kTitleBar)[0]) {
        SetWindowTextW(window, W(settings.Text(kTitleBar)));
    }
    if (settings.Text(kSysMenuIcon)[0]) {
        icon = static_cast<HICON>(
            LoadImageW(nullptr, W(settings.Text(kSysMenuIcon)), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        if (icon) {
            SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
        }
    }
    // A sharper picture is only wanted on a display scaled up; without memory
    // for it, the picture is stretched.
    if (settings.Text(kBmp2x)[0]) {
        image2x = new (std::nothrow) DibImage(W(settings.Text(kBmp2x)), background);
    }
    dpi = WindowDpi(window);
    UpdateFont();
    CreateButtons();
    Arrange(nullptr);
    // The first button takes the focus and the default frame.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (buttons[slot]) {
            FocusSlot(slot);
            break;
        }
    }
    return true;
}

void Launcher::CreateButtons() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const char16_t* caption = settings.Caption(slot);
        if (!caption[0]) {
            continue;
        }
        // Placed by Arrange once all are made: a button that cannot be made
        // leaves no gap.
        HWND button = CreateWindowExW(0, L"BUTTON", W(caption), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                      window, nullptr, instance, nullptr);
        if (!button) {
            continue;
        }
        // A focused button receives the keys itself; the subclass hands them
        // to the panel as well.
        LONG_PTR previous =
            SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonSubclassProc));
        if (previous) {
            g_oldButtonProc = reinterpret_cast<WNDPROC>(previous);
        }
        if (font) {
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        buttons[slot] = button;
    }
}

void Launcher::Arrange(const RECT* suggested) {
    PanelInput input = {};
    if (image) {
        image->GetSize(&input.pictureWidth, &input.pictureHeight);
    }
    int width = 0;
    int height = 0;
    input.sharpPicture = image2x && SharpPictureWanted(dpi) && image2x->GetSize(&width, &height);
    input.buttonWidth = settings.Number(kButtonWidth);
    input.buttonHeight = settings.Number(kButtonHeight);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        input.buttons[slot] = buttons[slot] != nullptr;
    }
    input.dpi = dpi;
    input.frame = WindowFrame(kWindowStyle, dpi);
    if (suggested) {
        input.areaKind = ScreenArea::kNone;
        input.placeLeft = suggested->left;
        input.placeTop = suggested->top;
    } else {
        ReadScreenArea(window, &input);
    }
    layout = LayOutPanel(input);

    const Box& place = layout.window;
    if (layout.moveWindow) {
        MoveWindow(window, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, TRUE);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Box& box = layout.buttons[slot];
        if (buttons[slot]) {
            MoveWindow(buttons[slot], box.left, box.top, box.right - box.left, box.bottom - box.top,
                       TRUE);
        }
    }
}

void Launcher::UpdateFont() {
    HFONT previous = font;
    font = CreateMessageFont(dpi);
    for (HWND button : buttons) {
        if (button) {
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
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
        LONG style = GetWindowLongW(button, GWL_STYLE);
        if (slot == currentSlot) {
            style |= BS_DEFPUSHBUTTON;
        } else {
            style &= ~static_cast<LONG>(BS_DEFPUSHBUTTON);
        }
        SetWindowLongW(button, GWL_STYLE, style);
        InvalidateRect(button, nullptr, FALSE);
    }
}

void Launcher::OnPaint(HDC deviceContext) {
    if (!valid || !deviceContext || !image) {
        return;
    }
    DibImage* picture = layout.drawSharp ? image2x : image;
    HPALETTE previousPalette = nullptr;
    HPALETTE palette = picture->GetPalette();
    if (palette) {
        previousPalette = SelectPalette(deviceContext, palette, FALSE);
        RealizePalette(deviceContext);
    }
    const Box& box = layout.picture;
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    if (!layout.stretch) {
        picture->Draw(deviceContext, box.left, box.top, width, height, 0, 0);
    } else {
        // Halftone is the platform's good filter; it shifts the brush origin,
        // which the platform wants put back.
        int previousMode = SetStretchBltMode(deviceContext, HALFTONE);
        SetBrushOrgEx(deviceContext, 0, 0, nullptr);
        picture->DrawScaled(deviceContext, box.left, box.top, width, height);
        SetStretchBltMode(deviceContext, previousMode);
    }
    if (previousPalette) {
        SelectPalette(deviceContext, previousPalette, FALSE);
    }
}

void Launcher::OnPaletteChanged() {
    InvalidateRect(window, nullptr, FALSE);
}

void Launcher::OnDpiChanged(int newDpi, const RECT& suggested) {
    dpi = newDpi > 0 ? newDpi : kDefaultDpi;
    UpdateFont();
    Arrange(&suggested);
    InvalidateRect(window, nullptr, TRUE);
}
