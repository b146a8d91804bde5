#include "probe.h"

#include <cstdio>
#include <cstring>

namespace probe {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return condition();
        }
        Sleep(10);
    }
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className; // null: any class
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) {
        return TRUE;
    }
    if (search->visibleOnly && !IsWindowVisible(window)) {
        return TRUE;
    }
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (search->className && lstrcmpA(className, search->className) != 0) {
        return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectButton(HWND window, LPARAM lParam) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpiA(className, "Button") == 0) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    }
    return TRUE;
}

GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

void SendKeyEvent(WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

// Mouse events carry their position, so that each one lands where meant
// whatever the pointer's last known place.
void SendMouseEvent(POINT screenPoint, DWORD flags) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screenPoint.x, 65535, width > 1 ? width - 1 : 1);
    input.mi.dy = MulDiv(screenPoint.y, 65535, height > 1 ? height - 1 : 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

} // namespace

HWND FindWindowOfProcess(DWORD processId, const char* className, bool visibleOnly) {
    WindowSearch search = {processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> VisibleWindowsOfProcess(DWORD processId) {
    WindowSearch search = {processId, nullptr, true, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

LONG Style(HWND window) {
    return GetWindowLongA(window, GWL_STYLE);
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRectOnScreen(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> Buttons(HWND parent) {
    std::vector<HWND> buttons;
    EnumChildWindows(parent, CollectButton, reinterpret_cast<LPARAM>(&buttons));
    return buttons;
}

HWND FocusOf(HWND window) {
    return ThreadInfoOf(window).hwndFocus;
}

HWND ActiveOf(HWND window) {
    return ThreadInfoOf(window).hwndActive;
}

bool Activate(HWND window) {
    return WaitUntil([window] {
        if (GetForegroundWindow() != window) {
            SetForegroundWindow(window);
            return false;
        }
        return ActiveOf(window) == window;
    });
}

void PressKey(WORD virtualKey) {
    SendKeyEvent(virtualKey, false);
    SendKeyEvent(virtualKey, true);
}

void PressKeyWithAlt(WORD virtualKey) {
    SendKeyEvent(VK_MENU, false);
    PressKey(virtualKey);
    SendKeyEvent(VK_MENU, true);
}

void ClickCenterOf(HWND window) {
    RECT rect = WindowRect(window);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    for (DWORD flags : {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        SendMouseEvent(centre, flags);
    }
}

std::vector<DWORD> CapturePixels(const RECT& screenRect) {
    int width = screenRect.right - screenRect.left;
    int height = screenRect.bottom - screenRect.top;
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0) {
        return pixels;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY);
        GdiFlush();
        const DWORD* source = static_cast<const DWORD*>(bits);
        pixels.assign(source, source + static_cast<size_t>(width) * height);
        for (DWORD& pixel : pixels) {
            pixel &= 0x00FFFFFF;
        }
        SelectObject(memory, previous);
    }
    if (bitmap) {
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace probe
