// Where the program looks for a DLL loaded by name once it has narrowed the
// search: a DLL beside the program (planted.dll, which the build puts beside
// the tests) is no longer found, the system's own still are. The setting holds
// for the rest of the process, which has no other use for DLLs beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/dll_search.h"

namespace {

TEST(DllSearch, ADllBesideTheProgramIsNoLongerFoundByName) {
    HMODULE beside = LoadLibraryW(L"planted.dll");
    ASSERT_NE(nullptr, beside) << "planted.dll is not beside the test program";
    FreeLibrary(beside);

    LoadDllsFromSystemFolderOnly();
    EXPECT_EQ(nullptr, LoadLibraryW(L"planted.dll"));
    HMODULE system = LoadLibraryW(L"msimg32.dll");
    EXPECT_NE(nullptr, system);
    FreeLibrary(system);
}

} // namespace
