// The Launcher's answers to the user: button clicks, keys and activation.
#include "launcher/launcher.h"

#include "launcher/command_line.h"
#include "launcher/program_start.h"
#include "launcher/wide_text.h"

bool Launcher::OnButtonClicked(HWND control) {
    if (!control) {
        return false;
    }
    if (buttons[kInstallSlot] == control) {
        currentSlot = kInstallSlot;
        StartInstallerAndClose();
    } else if (buttons[kBrowseSlot] == control) {
        currentSlot = kBrowseSlot;
        Browse();
    } else if (buttons[kCancelSlot] == control) {
        currentSlot = kCancelSlot;
        RequestClose();
    } else {
        return false;
    }
    return true;
}

void Launcher::StartInstallerAndClose() {
    // An installer that could not be started leaves the panel open, so that the
    // user can still browse the medium or cancel; closing would look like success.
    const char16_t* installer = settings.Text(kInstaller);
    if (installer[0] && !StartInstaller(installer, PlatformStarter(&window))) {
        return;
    }
    RequestClose();
}

void Launcher::Browse() {
    WCHAR directory[kMaxPathChars];
    DWORD length = GetCurrentDirectoryW(kMaxPathChars, directory);
    // A directory that did not fit was not read: nothing is started then.
    if (length == 0 || length >= kMaxPathChars) {
        return;
    }
    char16_t command[kBrowseCommandSize];
    if (FormatBrowseCommand(U(directory), command, kBrowseCommandSize)) {
        StartCommandLine(command);
    }
}

void Launcher::RequestClose() {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool Launcher::OnKeyDown(UINT virtualKey, LPARAM keyData) {
    KeyAction action = KeyActionFor(virtualKey, static_cast<unsigned long>(keyData));
    switch (action) {
    case kKeyFocusNext:
        MoveFocus(true);
        break;
    case kKeyFocusPrevious:
        MoveFocus(false);
        break;
    case kKeyPressFocused:
        // The Space press reaches whichever button has the focus, which then
        // reports a click like a mouse press.
        keybd_event(VK_SPACE, 0, 0, 0);
        keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
        break;
    case kKeyClose:
        RequestClose();
        break;
    case kKeyIgnored:
        break;
    }
    return IsKeyHandled(action);
}

void Launcher::OnActivate(bool active) {
    if (active) {
        FocusSlot(currentSlot);
    }
}

int Launcher::FocusedSlot() const {
    HWND focus = GetFocus();
    if (!focus) {
        return kNoSlot;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (buttons[slot] == focus) {
            return slot;
        }
    }
    return kNoSlot;
}

void Launcher::MoveFocus(bool forward) {
    bool filled[kSlotCount];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        filled[slot] = buttons[slot] != nullptr;
    }
    int target = FocusMoveTarget(FocusedSlot(), forward, filled);
    if (target != kNoSlot) {
        FocusSlot(target);
    }
}

LRESULT CALLBACK ButtonSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && g_launcher) {
        g_launcher->OnKeyDown(static_cast<UINT>(wParam), lParam);
    }
    return CallWindowProcW(g_oldButtonProc, window, message, wParam, lParam);
}
