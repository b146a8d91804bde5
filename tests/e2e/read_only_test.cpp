// The panel on a downloaded disc image: read-only as a disc is, with DLLs
// planted beside it under names of system DLLs that its work loads by name.
// Start-up with a PNG, Browse, Install, Cancel and the check work, and no
// planted DLL is loaded. Run by read_only_folder.sh, which mounts the folder
// read-only and checks that the prefix's registry and drive C are unchanged;
// the stand-ins and the planted DLLs record themselves in a folder of their
// own.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600 // RegSetKeyValueA, which Wine has
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "panel_fixture.h"
#include "wic_files.h"

namespace {

// The DLLs that decoding a PNG loads by name on the panel's behalf (the
// imports of the COM and imaging DLLs, which the panel loads by full path),
// as Wine's loader trace lists them. Wine is told to prefer, in tandrel.exe,
// a DLL of these names that its search finds to its own, as Windows would.
const char* const kPlanted[] = {"rpcrt4", "combase", "propsys", "shcore", "shlwapi"};
const char kPrefer[] = "Software\\Wine\\AppDefaults\\tandrel.exe\\DllOverrides";

TEST(DownloadedImage, EverythingWorksAndNoPlantedDllIsLoaded) {
    char work[MAX_PATH] = {}, build[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableA("TANDREL_READ_ONLY_WORK", work, MAX_PATH))
        << "run by read_only_folder.sh, which makes the folder";
    std::string source = work + std::string("\\source\\"),
                folder = work + std::string("\\read-only"),
                records = work + std::string("\\records\\");
    ASSERT_TRUE(CreateDirectoryA(records.c_str(), nullptr));
    SetEnvironmentVariableA("TANDREL_TEST_RECORDS", records.c_str());
    auto recorded = [&](const std::string& name) {
        return GetFileAttributesA((records + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    };

    // Written through the folder's writable side, from the build's folder.
    GetModuleFileNameA(nullptr, build, MAX_PATH);
    *std::strrchr(build, '\\') = '\0';
    auto copy = [&](const char* from, const std::string& to) {
        return CopyFileA((build + std::string("\\") + from).c_str(), (source + to).c_str(), FALSE);
    };
    ASSERT_TRUE(copy("tandrel_signed.exe", "tandrel.exe") && copy("stand_in.exe", "explorer.exe") &&
                copy("stand_in_signed.exe", "setup.exe"));
    for (const char* name : kPlanted) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kPrefer, name, REG_SZ, "native,builtin", 15);
        ASSERT_TRUE(copy("planted.dll", name + std::string(".dll")));
    }
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); // for the encoder
    ASSERT_TRUE(wic::Write(source + "panel.png", GUID_ContainerFormatPng, 400, 300,
                           wic::Pixels(400 * 300 * 4, 0x80)));
    CoUninitialize();
    std::ofstream(source + "tandrel.ini")
        << "[General]\nBmp=panel.png\nInstaller=setup.exe /q\nButtonWidth=100\nButtonHeight=30\n"
           "[Button_Captions]\nInstallBut=Install\nBrowseBut=Browse\nCancelBut=Cancel\n";
    ASSERT_EQ(INVALID_HANDLE_VALUE, CreateFileA((folder + "\\written").c_str(), GENERIC_WRITE, 0,
                                                nullptr, CREATE_NEW, 0, nullptr))
        << "the folder is not read-only";

    // Starts tandrel.exe in the folder and, unless null, has `drive` work its
    // window; then waits for it to end with 0.
    // The check's report goes to a file, as `tandrel.exe /check > report.txt` has it.
    auto run = [&](const char* arguments, const std::function<void()>& drive) {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE output = CreateFileA((records + "output.txt").c_str(), GENERIC_WRITE, 0, &inherit,
                                    CREATE_ALWAYS, 0, nullptr);
        Panel panel;
        bool started = panel.Start(folder + "\\tandrel.exe", folder, arguments, output);
        CloseHandle(output);
        HWND window = started && drive ? panel.WaitForWindow() : nullptr;
        EXPECT_TRUE(!drive || (window && probe::Activate(window)));
        if (window) {
            drive();
        }
        return panel.ExitsWith(0);
    };
    // Browse, then Install, which starts the installer and closes the panel.
    EXPECT_TRUE(run("", [&] {
        probe::PressKey(VK_DOWN);
        probe::PressKey(VK_RETURN);
        EXPECT_TRUE(probe::WaitUntil([&] { return recorded("explorer.exe.record"); }));
        probe::PressKey(VK_UP);
        probe::PressKey(VK_RETURN);
    }));
    EXPECT_TRUE(probe::WaitUntil([&] { return recorded("setup.exe.record"); }));
    EXPECT_TRUE(run("", [] {
        probe::PressKey(VK_UP); // Cancel
        probe::PressKey(VK_RETURN);
    }));
    // The check: 0, so the picture was read and shown.
    EXPECT_TRUE(run("/check", nullptr)) << std::ifstream(records + "output.txt").rdbuf();

    RegDeleteKeyA(HKEY_CURRENT_USER, kPrefer);
    for (const char* name : kPlanted) {
        EXPECT_FALSE(recorded(name + std::string(".dll.loaded"))) << name;
    }
}

} // namespace
