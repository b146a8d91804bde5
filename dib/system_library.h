// The program's two ways to the system's DLLs: a DLL loaded from the system
// folder only, by its full path, so that a DLL of the same name beside the
// program or on the medium is never taken; and a function that newer
// versions of Windows have, looked up at run time so that the program still
// starts where it is missing.
#ifndef TANDREL_DIB_SYSTEM_LIBRARY_H
#define TANDREL_DIB_SYSTEM_LIBRARY_H

#include <windows.h>

#include <cstring>
#include <cwchar>

// `name` from the system folder, or null. The DLLs it needs in turn are
// looked for in that folder first too, not beside the program.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    std::size_t nameLength = std::wcslen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) {
        return nullptr;
    }
    path[length] = L'\\';
    std::memcpy(path + length + 1, name, (nameLength + 1) * sizeof(wchar_t));
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The function `name` of `module`, or null where this Windows lacks it.
template <typename Function>
Function FunctionOf(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// The same, of a system DLL that the process has already loaded (kernel32,
// user32 and the others it imports).
template <typename Function>
Function LoadedFunction(const wchar_t* module, const char* name) {
    return FunctionOf<Function>(GetModuleHandleW(module), name);
}

#endif
