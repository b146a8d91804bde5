// Where Windows looks for the DLLs that the panel, or the system on its
// behalf, loads by name.
#ifndef TANDREL_LAUNCHER_DLL_SEARCH_H
#define TANDREL_LAUNCHER_DLL_SEARCH_H

// Limits the search to the system folder, so that a DLL planted beside the
// program (in a Downloads folder, say) is never taken for a system one. Where
// Windows cannot limit it that far (XP, and Vista and 7 without the update
// that brought the call), the current directory at least leaves the search;
// on the oldest systems it stays as it is.
void LoadDllsFromSystemFolderOnly();

#endif
