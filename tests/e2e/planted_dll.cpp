// A DLL planted beside the panel under a system DLL's name, as one may lie in
// a Downloads folder or on a downloaded disc image: loaded, it leaves
// NAME.loaded in the folder that TANDREL_TEST_RECORDS names.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
    char records[MAX_PATH] = {}, path[MAX_PATH] = {}, marker[2 * MAX_PATH + 16];
    if (reason == DLL_PROCESS_ATTACH &&
        GetEnvironmentVariableA("TANDREL_TEST_RECORDS", records, MAX_PATH) < MAX_PATH &&
        GetModuleFileNameA(module, path, MAX_PATH) < MAX_PATH) {
        const char* name = path + lstrlenA(path);
        while (name > path && name[-1] != '\\') {
            --name;
        }
        wsprintfA(marker, "%s%s.loaded", records, name);
        CloseHandle(CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}
