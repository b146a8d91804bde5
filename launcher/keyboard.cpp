#include "launcher/keyboard.h"

namespace {

// Virtual-key codes, fixed by the platform.
const unsigned kVkTab = 0x09;
const unsigned kVkReturn = 0x0D;
const unsigned kVkEscape = 0x1B;
const unsigned kVkLeft = 0x25;
const unsigned kVkUp = 0x26;
const unsigned kVkRight = 0x27;
const unsigned kVkDown = 0x28;

const unsigned long kKeyWasDown = 1ul << 30;

} // namespace

KeyAction KeyActionFor(unsigned virtualKey, unsigned long keyData) {
    switch (virtualKey) {
    case kVkTab:
    case kVkRight:
    case kVkDown:
        return kKeyFocusNext;
    case kVkLeft:
    case kVkUp:
        return kKeyFocusPrevious;
    case kVkReturn:
        return (keyData & kKeyWasDown) ? kKeyIgnored : kKeyPressFocused;
    case kVkEscape:
        return kKeyClose;
    default:
        return kKeyIgnored;
    }
}

bool IsKeyHandled(KeyAction action) {
    return action != kKeyIgnored && action != kKeyPressFocused;
}

int WrapSlot(int slot) {
    if (slot < 0) {
        return kCancelSlot;
    }
    if (slot >= kSlotCount) {
        return kInstallSlot;
    }
    return slot;
}

int FocusMoveTarget(int focusedSlot, bool forward, const bool filledSlots[kSlotCount]) {
    int target = WrapSlot(forward ? focusedSlot + 1 : focusedSlot - 1);
    return filledSlots[target] ? target : kNoSlot;
}
