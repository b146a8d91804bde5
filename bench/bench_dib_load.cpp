// Loading a large picture, measured against reading the same file's bytes
// once in the same process, the memory a load takes against the size of its
// block, and the modules that loading a bitmap brings in (the picture
// decoders are for PNG, JPEG and GIF only). Prints figures; judges nothing.
//
//   wine bench_dib_load.exe [width height [rounds]]     (default 8000 6000 5)
#include "dib/dib_image.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_picture.h"

namespace {

// The names of the modules loaded in this process, in load order.
std::vector<std::string> Modules() {
    HMODULE modules[256];
    DWORD bytes = 0;
    std::vector<std::string> names;
    if (EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 256; ++i) {
            char name[MAX_PATH] = "";
            GetModuleBaseNameA(GetCurrentProcess(), modules[i], name, sizeof name);
            names.push_back(name);
        }
    }
    return names;
}

// Writes the picture a row at a time, so that making it leaves no large
// allocation behind to blur the memory figures.
bool WritePicture(const std::string& path, int width, int height) {
    unsigned char header[bench::kBitmapHeaderBytes];
    bench::BitmapHeader(width, height, header);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    std::vector<std::uint8_t> row((static_cast<std::size_t>(width) * 3 + 3) / 4 * 4);
    for (int y = 0; y < height && ok; ++y) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(y) * 13);
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    return std::fclose(file) == 0 && ok;
}

// The yardstick: the whole file into one buffer with one read.
double RawRead(const std::string& path, DWORD* bytesRead) {
    double start = Now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    DWORD size = GetFileSize(file, nullptr);
    void* buffer = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    *bytesRead = 0;
    if (buffer) {
        ReadFile(file, buffer, size, bytesRead, nullptr);
    }
    CloseHandle(file);
    double seconds = Now() - start;
    if (buffer) {
        VirtualFree(buffer, 0, MEM_RELEASE);
    }
    return seconds;
}

// The picture is blended over this, were it transparent.
const COLORREF kBackground = RGB(192, 192, 192);

std::wstring Wide(const std::string& path) {
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    return wide;
}

double Load(const std::string& path, int* width, int* height) {
    double start = Now();
    DibImage* image = new DibImage(Wide(path).c_str(), kBackground);
    int loaded = image->GetSize(width, height);
    double seconds = Now() - start;
    delete image;
    return loaded ? seconds : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int width = argc > 2 ? std::atoi(argv[1]) : 8000;
    int height = argc > 2 ? std::atoi(argv[2]) : 6000;
    int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    std::string path = std::string(length > 0 && length < sizeof folder ? folder : ".\\") +
                       "bench_dib_" + std::to_string(GetCurrentProcessId()) + ".bmp";
    if (!WritePicture(path, width, height)) {
        std::fprintf(stderr, "bench_dib_load: cannot write %s\n", path.c_str());
        return 1;
    }

    // Once through so that both contenders find the file in the cache.
    DWORD fileBytes = 0;
    RawRead(path, &fileBytes);

    // Memory first, while the process has held nothing large yet.
    std::vector<std::string> modulesBefore = Modules();
    SIZE_T before = WorkingSet(false);
    DibImage* image = new DibImage(Wide(path).c_str(), kBackground);
    int w = 0, h = 0;
    int loaded = image->GetSize(&w, &h);
    SIZE_T peak = WorkingSet(true);
    std::string added;
    for (const std::string& name : Modules()) {
        if (std::find(modulesBefore.begin(), modulesBefore.end(), name) == modulesBefore.end()) {
            added += " " + name;
        }
    }
    delete image;
    if (!loaded) {
        std::fprintf(stderr, "bench_dib_load: the picture did not load\n");
        DeleteFileA(path.c_str());
        return 1;
    }
    double blockBytes = 40.0 + static_cast<double>(fileBytes) - 54.0;

    std::vector<double> raw, load;
    for (int i = 0; i < rounds; ++i) {
        DWORD got = 0;
        raw.push_back(RawRead(path, &got));
        load.push_back(Load(path, &w, &h));
    }
    DeleteFileA(path.c_str());

    double rawMedian = Median(raw), loadMedian = Median(load);
    std::printf("picture: %d x %d, 24 bits, %lu bytes; %d rounds\n", width, height,
                static_cast<unsigned long>(fileBytes), rounds);
    std::printf("raw read (one ReadFile): median %.1f ms, best %.1f ms\n", rawMedian * 1e3,
                *std::min_element(raw.begin(), raw.end()) * 1e3);
    std::printf("DibImage load:           median %.1f ms, best %.1f ms\n", loadMedian * 1e3,
                *std::min_element(load.begin(), load.end()) * 1e3);
    std::printf("time ratio load / raw: %.2f (aim: at most 1.3)\n", loadMedian / rawMedian);
    double growth = static_cast<double>(peak > before ? peak - before : 0);
    std::printf("block: %.0f bytes; peak working set growth over the first load: %.0f bytes\n",
                blockBytes, growth);
    std::printf("memory ratio peak growth / block: %.2f (aim: below 2, no second copy)\n",
                growth / blockBytes);
    std::printf("modules loaded by the load:%s\n", added.empty() ? " none" : added.c_str());
    std::printf("modules of the process after it: %zu;", modulesBefore.size());
    for (const std::string& name : Modules()) {
        std::printf(" %s", name.c_str());
    }
    std::printf("\n");
    return 0;
}
