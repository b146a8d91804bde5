#include "launcher/layout.h"

#include <cstdint>

namespace {

// Wraps a wide intermediate result to 32 bits the way the machine would.
int Wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int Add(int a, int b) {
    return Wrap(static_cast<int64_t>(a) + b);
}
int Subtract(int a, int b) {
    return Wrap(static_cast<int64_t>(a) - b);
}
int Multiply(int a, int b) {
    return Wrap(static_cast<int64_t>(a) * b);
}

// Where a length starts when centred in another: each half is truncated
// before the subtraction.
int CentredStart(int outer, int inner) {
    return Subtract(outer / 2, inner / 2);
}

Box BoxAt(int left, int top, int width, int height) {
    return {left, top, Add(left, width), Add(top, height)};
}

// The window's top-left corner for a window of that size.
void Place(const PanelInput& in, int width, int height, int* left, int* top) {
    *left = in.placeLeft;
    *top = in.placeTop;
    if (in.areaKind == ScreenArea::kWorkArea) {
        int areaWidth = Subtract(in.area.right, in.area.left);
        int areaHeight = Subtract(in.area.bottom, in.area.top);
        *left = in.area.left;
        *top = in.area.top;
        if (width <= areaWidth && height <= areaHeight) {
            *left = Add(*left, CentredStart(areaWidth, width));
            *top = Add(*top, CentredStart(areaHeight, height));
        }
    } else if (in.areaKind == ScreenArea::kDesktop) {
        *left = CentredStart(in.area.right, width);
        *top = CentredStart(in.area.bottom, height);
        if (*left < 0 || *top < 0) {
            *left = 0;
            *top = 0;
        }
    }
}

} // namespace

int ScaleLength(int length, int dpi, int fromDpi) {
    if (fromDpi <= 0 || dpi == fromDpi) {
        return length;
    }
    // In floating point, exact for every int length and DPI, and rounded
    // half away from zero; a length that no int holds scaled is held at the
    // int's end. (A 64-bit division would bring a library routine into the
    // 32-bit program.)
    double scaled = static_cast<double>(length) * dpi / fromDpi;
    scaled += scaled < 0 ? -0.5 : 0.5;
    if (scaled >= 2147483647.0) {
        return INT32_MAX;
    }
    return scaled <= -2147483648.0 ? INT32_MIN : static_cast<int>(scaled);
}

bool SharpPictureWanted(int dpi) {
    return dpi > kDefaultDpi;
}

PanelLayout LayOutPanel(const PanelInput& in) {
    PanelLayout out = {};
    int pictureWidth = ScaleLength(in.pictureWidth, in.dpi, kDefaultDpi);
    int pictureHeight = ScaleLength(in.pictureHeight, in.dpi, kDefaultDpi);
    int buttonWidth = ScaleLength(in.buttonWidth, in.dpi, kDefaultDpi);
    int buttonHeight = ScaleLength(in.buttonHeight, in.dpi, kDefaultDpi);
    out.picture = BoxAt(0, 0, pictureWidth, pictureHeight);
    out.drawSharp = in.sharpPicture && SharpPictureWanted(in.dpi);
    out.stretch = out.drawSharp || in.dpi != kDefaultDpi;

    int clientWidth = Add(pictureWidth, Multiply(buttonWidth, 3) / 2);
    int clientHeight = pictureHeight;
    int width = Add(clientWidth, Subtract(in.frame.right, in.frame.left));
    int height = Add(clientHeight, Subtract(in.frame.bottom, in.frame.top));
    int left = 0;
    int top = 0;
    Place(in, width, height, &left, &top);
    out.window = BoxAt(left, top, width, height);
    out.moveWindow = width > 0 && height > 0;

    int columnHalf = Subtract(clientWidth, pictureWidth) / 2;
    int x = Subtract(Add(pictureWidth, columnHalf), buttonWidth / 2);
    int y = buttonHeight / 2;
    for (int slot = kInstallSlot; slot < kSlotCount; ++slot) {
        if (slot == kCancelSlot) {
            y = Subtract(clientHeight, Multiply(buttonHeight, 3) / 2);
        }
        if (in.buttons[slot]) {
            out.buttons[slot] = BoxAt(x, y, buttonWidth, buttonHeight);
            y = Add(y, Multiply(buttonHeight, 4) / 3);
        }
    }
    return out;
}
