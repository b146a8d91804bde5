// A DLL planted beside the panel under a system DLL's name, as an attacker
// would leave one in a Downloads folder: loaded by any process, it writes
// that process's command line to a marker file beside itself.
#include <windows.h>

#include <cstring>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    char path[MAX_PATH + 8] = {};
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return TRUE;
    }
    std::memcpy(path + length, ".loaded", sizeof(".loaded"));
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        const char* commandLine = GetCommandLineA();
        DWORD written = 0;
        WriteFile(marker, commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written,
                  nullptr);
        CloseHandle(marker);
    }
    return TRUE;
}
