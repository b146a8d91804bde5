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
    if (search->className && ClassName(window) != search->className) {
        return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectButton(HWND window, LPARAM lParam) {
    if (lstrcmpiA(ClassName(window).c_str(), "Button") == 0) {
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

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
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

RECT RectInParent(HWND child) {
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
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

void ClickAt(POINT screenPoint) {
    SendMouseEvent(screenPoint, 0);
    SendMouseEvent(screenPoint, MOUSEEVENTF_LEFTDOWN);
    SendMouseEvent(screenPoint, MOUSEEVENTF_LEFTUP);
}

void ClickCenterOf(HWND window) {
    RECT rect = WindowRect(window);
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
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

namespace {

DWORD Crc32(DWORD crc, const unsigned char* data, size_t size) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, DWORD value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<DWORD>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(0, body.data(), body.size()));
}

} // namespace

bool WritePng(const char* path, int width, int height, const std::vector<DWORD>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
        return false;
    }
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x) {
            DWORD pixel = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<unsigned char>(pixel >> 16));
            raw.push_back(static_cast<unsigned char>(pixel >> 8));
            raw.push_back(static_cast<unsigned char>(pixel));
        }
    }
    // A zlib stream of stored (uncompressed) blocks.
    std::vector<unsigned char> zlib = {0x78, 0x01};
    DWORD adlerA = 1;
    DWORD adlerB = 0;
    for (size_t offset = 0; offset < raw.size() || offset == 0; offset += 65535) {
        size_t length = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        zlib.push_back(offset + length == raw.size() ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(length));
        zlib.push_back(static_cast<unsigned char>(length >> 8));
        zlib.push_back(static_cast<unsigned char>(~length));
        zlib.push_back(static_cast<unsigned char>(~length >> 8));
        for (size_t i = 0; i < length; ++i) {
            unsigned char byte = raw[offset + i];
            zlib.push_back(byte);
            adlerA = (adlerA + byte) % 65521;
            adlerB = (adlerB + adlerA) % 65521;
        }
    }
    PutBigEndian(zlib, (adlerB << 16) | adlerA);

    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<DWORD>(width));
    PutBigEndian(header, static_cast<DWORD>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});

    FILE* file = fopen(path, "wb");
    if (!file) {
        return false;
    }
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}

} // namespace probe
