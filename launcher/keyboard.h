// What the panel's keys do and where the focus goes, as plain functions.
#ifndef TANDREL_LAUNCHER_KEYBOARD_H
#define TANDREL_LAUNCHER_KEYBOARD_H

// Button slots: 0 Install, 1 Browse, 2 Cancel. -1 means no button.
enum { kInstallSlot = 0, kBrowseSlot = 1, kCancelSlot = 2, kSlotCount = 3, kNoSlot = -1 };

enum KeyAction {
    kKeyIgnored,       // not the panel's key
    kKeyFocusNext,     // Tab, Right, Down (Shift is not examined)
    kKeyFocusPrevious, // Left, Up
    kKeyPressFocused,  // Enter: press whichever button has the focus
    kKeyClose,         // Escape
};

// `keyData` is the key-down's own data: an Enter that the keyboard repeats
// while it is held (bit 30 set: the key was already down) presses nothing
// again, so that a held Enter presses the focused button once.
KeyAction KeyActionFor(unsigned virtualKey, unsigned long keyData);

// Whether the key counts as handled by the panel. Enter does not: its press
// reaches the button as a synthesised Space, and the key itself goes on.
bool IsKeyHandled(KeyAction action);

// A step past either end wraps to the other end: -1 to Cancel, 3 to Install.
int WrapSlot(int slot);

// Where a focus move from `focusedSlot` (kNoSlot for none) lands, or kNoSlot
// when the neighbour is empty: an empty slot stops the move, it is not skipped.
int FocusMoveTarget(int focusedSlot, bool forward, const bool filledSlots[kSlotCount]);

#endif
