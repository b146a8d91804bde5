#include "launcher/dll_search.h"

#include "dib/system_library.h"

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFunction)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryFunction)(const wchar_t*);

} // namespace

void LoadDllsFromSystemFolderOnly() {
    SetDefaultDllDirectoriesFunction setDefault = LoadedFunction<SetDefaultDllDirectoriesFunction>(
        L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    // Windows XP SP1 and later: an empty name takes the current directory
    // out of the search, which still begins in the program's folder.
    SetDllDirectoryFunction setDirectory =
        LoadedFunction<SetDllDirectoryFunction>(L"kernel32.dll", "SetDllDirectoryW");
    if (setDirectory) {
        setDirectory(L"");
    }
}
