// The panel's keys and the focus moves between its buttons.
#include <gtest/gtest.h>

#include "launcher/keyboard.h"

namespace {

TEST(Keyboard, KeyTable) {
    const struct {
        unsigned key;
        KeyAction action;
        bool handled; // else the key goes on to the window's default handling
        unsigned long keyData = 0;
    } cases[] = {
        {0x09, kKeyFocusNext, true},     // Tab
        {0x27, kKeyFocusNext, true},     // Right
        {0x28, kKeyFocusNext, true},     // Down
        {0x25, kKeyFocusPrevious, true}, // Left
        {0x26, kKeyFocusPrevious, true}, // Up
        {0x1B, kKeyClose, true},         // Escape
        {0x0D, kKeyPressFocused, false}, // Enter goes on to the button
        {0x20, kKeyIgnored, false},      // Space is the button's own
        {0x10, kKeyIgnored, false},      // Shift
        {0x109, kKeyIgnored, false},     // not a key, but Tab's low byte
        // Repeats of a held key (bit 30): Enter presses the button only once.
        {0x0D, kKeyIgnored, false, 1ul << 30},
        {0x28, kKeyFocusNext, true, 1ul << 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.action, KeyActionFor(c.key, c.keyData));
        EXPECT_EQ(c.handled, IsKeyHandled(KeyActionFor(c.key, c.keyData)));
    }
}

TEST(Keyboard, FocusMovesStopAtEmptySlotsAndWrapAtTheEnds) {
    const bool three[kSlotCount] = {true, true, true}, two[kSlotCount] = {true, false, true},
               one[kSlotCount] = {false, false, true};
    const struct {
        const char* name;
        const bool* filled;
        int from;
        bool forward;
        int to;
    } cases[] = {
        {"three: Cancel forward wraps to Install", three, kCancelSlot, true, kInstallSlot},
        {"three: Cancel back to Browse", three, kCancelSlot, false, kBrowseSlot},
        {"three: Install back wraps to Cancel", three, kInstallSlot, false, kCancelSlot},
        {"three: Install forward to Browse", three, kInstallSlot, true, kBrowseSlot},
        {"three: none focused, forward", three, kNoSlot, true, kInstallSlot},
        {"three: none focused, back", three, kNoSlot, false, kCancelSlot},
        {"two: Install forward stops at empty Browse", two, kInstallSlot, true, kNoSlot},
        {"two: Cancel back stops at empty Browse", two, kCancelSlot, false, kNoSlot},
        {"one: Cancel forward stops", one, kCancelSlot, true, kNoSlot},
        {"one: Cancel back stops", one, kCancelSlot, false, kNoSlot},
        {"one: none focused, back finds Cancel", one, kNoSlot, false, kCancelSlot},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.to, FocusMoveTarget(c.from, c.forward, c.filled));
    }
}

} // namespace
