// The sample distribution's installer: it installs nothing, it only shows how
// it was started, so that the panel's Install button can be tried safely.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    char text[1024];
    snprintf(text, sizeof(text),
             "Quillmere Studio would be installed now.\n\nCommand line:\n%s\n\nStarted in:\n%s",
             GetCommandLineA(), directory);
    MessageBoxA(nullptr, text, "Quillmere Studio Setup", MB_OK | MB_ICONINFORMATION);
    return 0;
}
