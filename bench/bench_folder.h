// The benchmarks' own distribution folder: a temporary folder beside the
// build's programs, gone with everything in it when the object goes.
#ifndef TANDREL_BENCH_BENCH_FOLDER_H
#define TANDREL_BENCH_BENCH_FOLDER_H

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

class Folder {
  public:
    Folder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = temp + ("tandrel-bench-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(GetTickCount()));
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Folder() {
        std::string from = path_ + '\0'; // a list of names, ended by an empty one
        SHFILEOPSTRUCTA operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&operation);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "\\" + name; }
    bool Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        std::FILE* file = std::fopen(PathOf(name).c_str(), "wb");
        bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return file && std::fclose(file) == 0 && written;
    }
    // Copies a file of the build's folder (where this program is) in.
    bool Copy(const std::string& buildName, const std::string& name) const {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string source = self;
        source = source.substr(0, source.find_last_of('\\') + 1) + buildName;
        return CopyFileA(source.c_str(), PathOf(name).c_str(), FALSE) != 0;
    }

  private:
    std::string path_;
};

} // namespace bench

#endif
