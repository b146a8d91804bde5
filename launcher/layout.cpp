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

// Truncating division; INT_MIN / -1 cannot happen with the divisors used here.
int Divide(int a, int b) {
    return a / b;
}

// Where a length starts when centred in another: each half is truncated
// before the subtraction.
int CentredStart(int outer, int inner) {
    return Subtract(Divide(outer, 2), Divide(inner, 2));
}

} // namespace

WindowPlacement PlaceWindow(const LayoutInput& input) {
    WindowPlacement placement = {};
    placement.width = Add(input.frameWidth, input.pictureWidth);
    placement.height = Add(input.frameHeight, input.pictureHeight);
    placement.width = Add(placement.width, Divide(Multiply(input.buttonWidth, 3), 2));

    placement.left = input.currentLeft;
    placement.top = input.currentTop;
    if (input.haveWorkArea) {
        int areaWidth = Subtract(input.workRight, input.workLeft);
        int areaHeight = Subtract(input.workBottom, input.workTop);
        placement.left = input.workLeft;
        placement.top = input.workTop;
        if (placement.width <= areaWidth && placement.height <= areaHeight) {
            placement.left = Add(placement.left, CentredStart(areaWidth, placement.width));
            placement.top = Add(placement.top, CentredStart(areaHeight, placement.height));
        }
    } else if (input.haveDesktop) {
        placement.left = CentredStart(input.desktopWidth, placement.width);
        placement.top = CentredStart(input.desktopHeight, placement.height);
        if (placement.left < 0 || placement.top < 0) {
            placement.left = 0;
            placement.top = 0;
        }
    }
    placement.move = placement.width > 0 && placement.height > 0;
    return placement;
}

int ScaleLength(int length, int dpi, int fromDpi) {
    if (fromDpi <= 0) {
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

PanelMetrics ScalePanel(int pictureWidth, int pictureHeight, int buttonWidth, int buttonHeight,
                        int dpi) {
    PanelMetrics metrics;
    metrics.pictureWidth = ScaleLength(pictureWidth, dpi, kDefaultDpi);
    metrics.pictureHeight = ScaleLength(pictureHeight, dpi, kDefaultDpi);
    metrics.buttonWidth = ScaleLength(buttonWidth, dpi, kDefaultDpi);
    metrics.buttonHeight = ScaleLength(buttonHeight, dpi, kDefaultDpi);
    return metrics;
}

int ButtonColumnX(int clientLeft, int clientRight, int pictureWidth, int buttonWidth) {
    int columnLeft = Add(clientLeft, pictureWidth);
    int columnHalf = Divide(Subtract(clientRight, columnLeft), 2);
    return Subtract(Add(columnLeft, columnHalf), Divide(buttonWidth, 2));
}

int FirstButtonY(int buttonHeight) {
    return Divide(buttonHeight, 2);
}

int NextButtonY(int y, int buttonHeight) {
    return Add(y, Divide(Multiply(buttonHeight, 4), 3));
}

int CancelButtonY(int clientBottom, int buttonHeight) {
    return Subtract(clientBottom, Divide(Multiply(buttonHeight, 3), 2));
}
