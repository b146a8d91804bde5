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

} // namespace

WindowPlacement PlaceWindow(const LayoutInput& input) {
    WindowPlacement placement = {};
    placement.width = Add(input.frameWidth, input.pictureWidth);
    placement.height = Add(input.frameHeight, input.pictureHeight);
    placement.width = Add(placement.width, Divide(Multiply(input.buttonWidth, 3), 2));

    placement.left = input.currentLeft;
    placement.top = input.currentTop;
    if (input.haveDesktop) {
        // Each half is truncated before the subtraction.
        placement.left = Subtract(Divide(input.desktopWidth, 2), Divide(placement.width, 2));
        placement.top = Subtract(Divide(input.desktopHeight, 2), Divide(placement.height, 2));
        if (placement.left < 0 || placement.top < 0) {
            placement.left = 0;
            placement.top = 0;
        }
    }
    placement.move = placement.width > 0 && placement.height > 0;
    return placement;
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
