// A fresh distribution folder for one test case.
#ifndef TANDREL_TESTS_E2E_DISTRIBUTION_H
#define TANDREL_TESTS_E2E_DISTRIBUTION_H

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "probe.h"

// A temporary folder holding a copy of tandrel.exe and a stand-in explorer.exe
// beside it (found before the system's, so that no test opens a real file
// browser). When the object goes, the folder goes with everything in it.
// Names are UTF-8 and may hold any characters.
class Distribution {
  public:
    // In a folder of its own, or in `path` when given.
    explicit Distribution(const std::string& path = "") : path_(path) {
        static int count = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        // Wine reuses small process ids; the clock keeps earlier runs' names apart.
        if (path_.empty()) {
            path_ = probe::Utf8(temp) + "tandrel-e2e-" + std::to_string(GetCurrentProcessId()) +
                    "-" + std::to_string(GetTickCount()) + "-" + std::to_string(++count) + "a";
        }
        RemoveTree();
        CreateDirectoryW(probe::Wide(path_).c_str(), nullptr);
        CopyProgram("tandrel.exe", "tandrel.exe");
        CopyProgram("stand_in.exe", "explorer.exe");
    }
    ~Distribution() { RemoveTree(); }
    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "\\" + name; }
    bool WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::FILE* file = _wfopen(probe::Wide(PathOf(name)).c_str(), L"wb");
        bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return file && std::fclose(file) == 0 && written;
    }
    bool WriteIni(const std::string& text) const {
        return WriteFile("tandrel.ini", std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    bool MakeFolder(const std::string& name) const {
        return CreateDirectoryW(probe::Wide(PathOf(name)).c_str(), nullptr) != 0;
    }
    // A file's bytes, empty when it is missing.
    std::string Read(const std::string& name) const {
        std::string bytes;
        if (std::FILE* file = _wfopen(probe::Wide(PathOf(name)).c_str(), L"rb")) {
            char buffer[4096];
            for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) {
                bytes.append(buffer, got);
            }
            std::fclose(file);
        }
        return bytes;
    }
    // Copies a program of the test programs' folder into the distribution.
    bool CopyProgram(const std::string& buildName, const std::string& name) const {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring source = path;
        source = source.substr(0, source.find_last_of(L"\\/") + 1) + probe::Wide(buildName);
        return CopyFileW(source.c_str(), probe::Wide(PathOf(name)).c_str(), FALSE) != 0;
    }

  private:
    void RemoveTree() const {
        std::wstring from = probe::Wide(path_) + L'\0'; // the list of names ends with an empty one
        SHFILEOPSTRUCTW operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&operation);
    }

    std::string path_;
};

#endif
