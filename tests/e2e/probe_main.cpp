// probe.exe: the tests' window probe on the command line, for scripts.
//   probe screenshot FILE.png   waits for the panel and saves its window as PNG
//   probe close                 asks the panel to close, as its Close command does
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "probe.h"

namespace {

HWND WaitForPanel() {
    HWND panel = nullptr;
    probe::WaitUntil([&] {
        panel = FindWindowA("TANDREL", nullptr);
        return panel != nullptr && IsWindowVisible(panel);
    });
    return panel;
}

int Screenshot(const char* path) {
    HWND panel = WaitForPanel();
    if (!panel) {
        fprintf(stderr, "probe: no panel window\n");
        return 1;
    }
    // Once the panel answers a message it has handled its first paint.
    DWORD_PTR ignored;
    SendMessageTimeoutA(panel, WM_NULL, 0, 0, SMTO_BLOCK, probe::kWaitMs, &ignored);
    RECT rect = probe::WindowRect(panel);
    std::vector<DWORD> pixels = probe::CapturePixels(rect);
    if (!probe::WritePng(path, rect.right - rect.left, rect.bottom - rect.top, pixels)) {
        fprintf(stderr, "probe: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int Close() {
    HWND panel = FindWindowA("TANDREL", nullptr);
    if (!panel) {
        fprintf(stderr, "probe: no panel window\n");
        return 1;
    }
    PostMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "screenshot") == 0) {
        return Screenshot(argv[2]);
    }
    if (argc == 2 && strcmp(argv[1], "close") == 0) {
        return Close();
    }
    fprintf(stderr, "usage: probe screenshot FILE.png | probe close\n");
    return 2;
}
