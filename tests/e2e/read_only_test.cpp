// The panel on read-only media (a disc, a write-protected stick): start-up
// with a PNG picture, Browse, Install, Cancel and the publisher's check all
// work, and none of them writes anything: the registry and the distribution
// folder are the same before and after. Run by read_only_folder.sh, which
// mounts the folder read-only around the test and compares the prefix's
// drive C; the stand-ins record their starts in a folder of their own.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "probe.h"
#include "wic_files.h"

namespace {

using Lines = std::set<std::string>;

std::string Hex(const BYTE* bytes, DWORD size) {
    std::string text;
    for (DWORD i = 0; i < size; ++i) {
        text += "0123456789ABCDEF"[bytes[i] >> 4];
        text += "0123456789ABCDEF"[bytes[i] & 15];
    }
    return text;
}

// Every key and value under `key`, a line each: path, name, type and data;
// but for Wine's own settings, which its display and input code rewrites
// for any program.
void AddRegistry(HKEY key, const std::string& path, Lines* lines) {
    const std::string kWine = "\\Software\\Wine";
    if (path.size() >= kWine.size() &&
        path.compare(path.size() - kWine.size(), kWine.size(), kWine) == 0) {
        return;
    }
    DWORD keys = 0, longestKey = 0, values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &keys, &longestKey, nullptr, &values,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        lines->insert(path + " (unreadable)");
        return;
    }
    lines->insert(path);
    std::vector<char> name(std::max(longestKey, longestName) + 2);
    std::vector<BYTE> data(longestData + 1);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = longestData + 1, type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) ==
            ERROR_SUCCESS) {
            lines->insert(path + " " + name.data() + "=" + std::to_string(type) + ":" +
                          Hex(data.data(), dataSize));
        }
    }
    for (DWORD i = 0; i < keys; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        HKEY subkey = nullptr;
        if (RegEnumKeyExA(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) ==
                ERROR_SUCCESS &&
            RegOpenKeyExA(key, name.data(), 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            AddRegistry(subkey, path + "\\" + name.data(), lines);
            RegCloseKey(subkey);
        }
    }
}

// Every file and folder under `folder`, a line each, with its size and the
// time it was last written.
void AddFiles(const std::string& folder, Lines* lines) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        lines->insert(folder + "\\" + name + " " + std::to_string(found.nFileSizeLow) + " " +
                      std::to_string(found.ftLastWriteTime.dwLowDateTime));
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            AddFiles(folder + "\\" + name, lines);
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
}

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length < MAX_PATH ? value : "";
}

// What a program could write to: the registry's settings of the users and of
// the machine's software (the rest of the machine's keys Windows keeps to
// itself, and Wine rewrites its display devices' there for any program),
// and the distribution folder. (read_only_folder.sh compares the prefix's
// drive C, the user's profile with it.)
Lines Snapshot(const std::string& folder) {
    Lines lines;
    AddRegistry(HKEY_USERS, "HKU", &lines);
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &software) == ERROR_SUCCESS) {
        AddRegistry(software, "HKLM\\Software", &lines);
        RegCloseKey(software);
    }
    AddFiles(folder, &lines);
    return lines;
}

// Up to ten lines of `a` that are not in `b`.
std::string Missing(const Lines& a, const Lines& b) {
    std::vector<std::string> missing;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(missing));
    std::string text;
    for (size_t i = 0; i < missing.size() && i < 10; ++i) {
        text += missing[i] + "\n";
    }
    return text;
}

// The folder of the test programs, where the build put the panel and the
// stand-in.
std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

class ReadOnly : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string work = Environment("TANDREL_READ_ONLY_WORK");
        ASSERT_FALSE(work.empty()) << "run by read_only_folder.sh, which makes the folder";
        source_ = work + "\\source";
        folder_ = work + "\\read-only";
        records_ = work + "\\records";
        ASSERT_TRUE(CreateDirectoryA(records_.c_str(), nullptr));
        SetEnvironmentVariableA("TANDREL_STAND_IN_RECORDS", records_.c_str());
    }

    // Starts the panel in the folder; with `arguments`, its output goes to
    // `output` among the records.
    bool Start(const std::string& arguments = "", const std::string& output = "") {
        std::string commandLine = "\"" + folder_ + "\\tandrel.exe\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        if (!output.empty()) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = CreateFileA((records_ + "\\" + output).c_str(), GENERIC_WRITE, 0,
                                             &inherit, CREATE_ALWAYS, 0, nullptr);
        }
        PROCESS_INFORMATION info = {};
        bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, !output.empty(),
                                      0, nullptr, folder_.c_str(), &startup, &info);
        if (startup.hStdOutput) {
            CloseHandle(startup.hStdOutput);
        }
        if (started) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            processId_ = info.dwProcessId;
        }
        return started;
    }
    // The panel's window, active, with its three buttons.
    ::testing::AssertionResult Shown() {
        std::vector<HWND> windows;
        probe::WaitUntil([&] {
            windows = probe::WindowsOf(processId_, "TANDREL");
            return !windows.empty();
        });
        if (windows.empty() || probe::Buttons(windows[0]).size() != 3 ||
            !probe::Activate(windows[0])) {
            return ::testing::AssertionFailure() << "no active panel with three buttons";
        }
        window_ = windows[0];
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult ExitsWith(DWORD expected) {
        DWORD code = 0xDEAD;
        bool ended = WaitForSingleObject(process_, probe::kWaitMs) == WAIT_OBJECT_0;
        if (!ended) {
            TerminateProcess(process_, 1);
        }
        GetExitCodeProcess(process_, &code);
        CloseHandle(process_);
        process_ = nullptr;
        if (!ended || code != expected) {
            return ::testing::AssertionFailure() << (ended ? "exit code " : "ended, ") << code;
        }
        return ::testing::AssertionSuccess();
    }
    std::string Record(const std::string& name) const {
        std::string text;
        HANDLE file = CreateFileA((records_ + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        char buffer[4096];
        DWORD got = 0;
        while (file != INVALID_HANDLE_VALUE &&
               ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            text.append(buffer, got);
        }
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        return text;
    }

    std::string source_, folder_, records_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

TEST_F(ReadOnly, EverythingWorksAndNothingIsWritten) {
    // The distribution, written through the folder's writable side.
    std::string build = BuildFolder();
    ASSERT_TRUE(CopyFileA((build + "\\tandrel_signed.exe").c_str(),
                          (source_ + "\\tandrel.exe").c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileA((build + "\\stand_in.exe").c_str(), (source_ + "\\explorer.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((build + "\\stand_in_signed.exe").c_str(),
                          (source_ + "\\setup.exe").c_str(), FALSE));
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); // for the encoder
    ASSERT_TRUE(wic::Write(source_ + "\\panel.png", GUID_ContainerFormatPng, 400, 300,
                           wic::Pixels(400 * 300 * 4, 0x80)));
    CoUninitialize();
    const char kIni[] =
        "[General]\r\nBmp=panel.png\r\nInstaller=setup.exe /q\r\nButtonWidth=100\r\n"
        "ButtonHeight=30\r\n[Button_Captions]\r\nInstallBut=Install\r\n"
        "BrowseBut=Browse\r\nCancelBut=Cancel\r\n";
    HANDLE ini = CreateFileA((source_ + "\\tandrel.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(ini, kIni, sizeof(kIni) - 1, &written, nullptr));
    CloseHandle(ini);
    // The folder itself refuses to be written to.
    HANDLE probeFile = CreateFileA((folder_ + "\\written.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, 0, nullptr);
    ASSERT_EQ(INVALID_HANDLE_VALUE, probeFile) << "the folder is not read-only";
    Lines before = Snapshot(folder_);

    // Start-up, Browse, then Install, which closes the panel.
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Shown());
    RECT client = probe::ClientRectOnScreen(window_);
    EXPECT_EQ(300, client.bottom - client.top) << "the picture was not shown";
    probe::PressKey(VK_DOWN);
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(probe::WaitUntil([&] { return !Record("explorer.exe.record").empty(); }))
        << "Browse did not start the file browser";
    probe::PressKey(VK_UP);
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(ExitsWith(0));
    EXPECT_TRUE(probe::WaitUntil([&] { return !Record("setup.exe.record").empty(); }))
        << "Install did not start the installer";
    // Cancel.
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Shown());
    probe::PressKey(VK_UP);
    probe::PressKey(VK_RETURN);
    EXPECT_TRUE(ExitsWith(0));
    // The publisher's check.
    ASSERT_TRUE(Start("/check", "check.txt"));
    EXPECT_TRUE(ExitsWith(0)) << Record("check.txt");
    EXPECT_NE(std::string::npos, Record("check.txt").find("note: panel.png: 400 x 300 pixels"))
        << Record("check.txt");

    Lines after = Snapshot(folder_);
    EXPECT_EQ("", Missing(after, before)) << "new or changed";
    EXPECT_EQ("", Missing(before, after)) << "gone or changed";
}

} // namespace
