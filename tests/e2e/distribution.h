// A fresh distribution folder for one test case.
#ifndef TANDREL_TESTS_E2E_DISTRIBUTION_H
#define TANDREL_TESTS_E2E_DISTRIBUTION_H

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_builder.h"

// A temporary folder holding a copy of tandrel.exe and a stand-in explorer.exe
// beside it (found before the system's, so that no test opens a real file
// browser). When the object goes, the folder goes with everything in it.
class Distribution {
  public:
    Distribution() {
        static int count = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        // Wine reuses small process ids; the clock keeps earlier runs' names apart.
        path_ = temp + ("tandrel-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(GetTickCount()) + "-" + std::to_string(++count));
        RemoveTree();
        CreateDirectoryA(path_.c_str(), nullptr);
        CopyProgram("tandrel.exe", "tandrel.exe");
        CopyProgram("stand_in.exe", "explorer.exe");
    }
    ~Distribution() { RemoveTree(); }
    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "\\" + name; }
    bool WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        return bmp::WriteFile(PathOf(name), bytes);
    }
    bool WriteIni(const std::string& text) const {
        return WriteFile("tandrel.ini", std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    bool MakeFolder(const std::string& name) const {
        return CreateDirectoryA(PathOf(name).c_str(), nullptr) != 0;
    }
    // A file's bytes, empty when it is missing.
    std::string Read(const std::string& name) const {
        std::ifstream file(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    // Copies a program of the test programs' folder into the distribution.
    bool CopyProgram(const std::string& buildName, const std::string& name) const {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string source = path;
        source = source.substr(0, source.find_last_of("\\/") + 1) + buildName;
        return CopyFileA(source.c_str(), PathOf(name).c_str(), FALSE) != 0;
    }

  private:
    void RemoveTree() const {
        std::string from = path_ + '\0'; // the list of names ends with an empty one
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&operation);
    }

    std::string path_;
};

#endif
