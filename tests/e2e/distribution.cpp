#include "distribution.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <fstream>

#include "probe.h"

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The stand-in writes its command line and its current directory, a line each.
std::string RecordLine(const std::string& recordPath, int line) {
    std::ifstream record(recordPath, std::ios::binary);
    std::string text;
    for (int i = 0; i <= line; ++i) {
        if (!std::getline(record, text)) {
            return "";
        }
    }
    return text;
}

void RemoveTree(const std::string& path) {
    std::string from = path + '\0'; // the list of names ends with an empty one
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

} // namespace

std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

Distribution::Distribution() {
    static int count = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    // Wine reuses small process ids; the clock keeps names from earlier runs apart.
    char name[64];
    snprintf(name, sizeof(name), "tandrel-e2e-%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(),
             ++count);
    path_ = std::string(temp) + name;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
    CopyProgram("tandrel.exe", "tandrel.exe");
    CopyProgram("stand_in.exe", "explorer.exe");
}

Distribution::~Distribution() {
    RemoveTree(path_);
}

bool Distribution::WriteFile(const std::string& name, const std::string& bytes) const {
    return WriteFile(name, std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

bool Distribution::WriteFile(const std::string& name,
                             const std::vector<unsigned char>& bytes) const {
    FILE* file = fopen(PathOf(name).c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

bool Distribution::CopyProgram(const std::string& buildName, const std::string& name) const {
    std::string source = BuildFolder() + "\\" + buildName;
    return CopyFileA(source.c_str(), PathOf(name).c_str(), FALSE) != 0;
}

bool Distribution::MakeFolder(const std::string& name) const {
    return CreateDirectoryA(PathOf(name).c_str(), nullptr) != 0;
}

std::string Distribution::RecordedCommandLine(const std::string& name) const {
    return RecordLine(PathOf(name) + ".record", 0);
}

std::string Distribution::RecordedDirectory(const std::string& name) const {
    return RecordLine(PathOf(name) + ".record", 1);
}

DWORD Distribution::Starts(const std::string& name) const {
    std::ifstream starts(PathOf(name) + ".starts", std::ios::binary | std::ios::ate);
    return starts ? static_cast<DWORD>(starts.tellg()) : 0;
}

Panel::~Panel() {
    End();
}

void Panel::End() {
    if (!process_) {
        return;
    }
    if (IsRunning()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, probe::kWaitMs);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

bool Panel::Start(const Distribution& distribution, const std::string& folder) {
    End();
    std::string commandLine = "\"" + distribution.PathOf("tandrel.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        (folder.empty() ? distribution.Path() : folder).c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

bool Panel::IsRunning() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Panel::ChildRuns() const {
    HANDLE processes = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    BOOL more = Process32First(processes, &entry);
    while (more && entry.th32ParentProcessID != processId_) {
        more = Process32Next(processes, &entry);
    }
    CloseHandle(processes);
    return more != FALSE;
}

HWND Panel::WaitForWindow() {
    HWND window = nullptr;
    probe::WaitUntil([&] {
        window = probe::FindWindowOfProcess(processId_, "TANDREL", true);
        return window != nullptr || !IsRunning();
    });
    return window;
}

bool Panel::WaitForExit(DWORD* exitCode, DWORD timeoutMs) {
    if (!probe::WaitUntil([this] { return !IsRunning(); }, timeoutMs)) {
        return false;
    }
    return GetExitCodeProcess(process_, exitCode) != 0;
}

bool Panel::ExitsWithoutWindow(DWORD* exitCode) {
    bool windowSeen = false;
    bool exited = probe::WaitUntil([&] {
        if (!probe::VisibleWindowsOfProcess(processId_).empty()) {
            windowSeen = true;
        }
        return windowSeen || !IsRunning();
    });
    if (windowSeen || !exited) {
        return false;
    }
    return GetExitCodeProcess(process_, exitCode) != 0;
}
