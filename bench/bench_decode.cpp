// Loading a large PNG and JPEG through DibImage, measured against the imaging
// component's own decode of the same files to memory in the same run, and
// the peak memory of each, taken in a process of its own. Prints figures;
// judges nothing.
//
//   wine bench_decode.exe [width height [rounds]]     (default 4000 3000 5)
#include "dib/dib_image.h"
#include "wic_files.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"

namespace {

// Smooth shading with some grain and varying alpha, so that the PNG neither
// packs to nothing nor is all noise.
wic::Pixels Artwork(int width, int height) {
    wic::Pixels pixels(static_cast<std::size_t>(width) * height * 4);
    std::uint32_t grain = 12345;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        int x = static_cast<int>(i / 4 % width), y = static_cast<int>(i / 4 / width);
        grain = grain * 1103515245 + 12345;
        pixels[i] = static_cast<std::uint8_t>(x * 255 / width + (grain >> 29));
        pixels[i + 1] = static_cast<std::uint8_t>(y * 255 / height + (grain >> 28 & 3));
        pixels[i + 2] = static_cast<std::uint8_t>((x + y) / 16);
        pixels[i + 3] = static_cast<std::uint8_t>(x < width / 2 ? 255 : (x * 7 + y) & 0xFF);
    }
    return pixels;
}

// Seconds for one load of the file; -1 when it gave no picture.
double Ours(const std::string& path) {
    double start = Now();
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    DibImage* image = new DibImage(wide, RGB(192, 192, 192));
    int width = 0, height = 0;
    int loaded = image->GetSize(&width, &height);
    double seconds = Now() - start;
    delete image;
    return loaded ? seconds : -1;
}

double Theirs(const std::string& path) {
    double start = Now();
    bool decoded = !wic::Read(path).empty();
    double seconds = Now() - start;
    return decoded ? seconds : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// In a process of its own: the working set that one load adds at its peak,
// in KiB, as the exit code. COM and the imaging component are loaded first,
// so that their code counts for neither contender.
int MeasureMemory(const char* contender, const std::string& path) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) ||
        !LoadLibraryA("windowscodecs.dll")) {
        return 0;
    }
    SIZE_T before = WorkingSet(false);
    double seconds = std::strcmp(contender, "ours") == 0 ? Ours(path) : Theirs(path);
    SIZE_T peak = WorkingSet(true);
    return seconds < 0 ? 0 : static_cast<int>((peak > before ? peak - before : 0) / 1024);
}

double PeakKiB(const char* contender, const std::string& path) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine =
        std::string("\"") + program + "\" --memory " + contender + " \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = 0;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--memory") == 0) {
        return MeasureMemory(argv[2], argv[3]);
    }
    int width = argc > 2 ? std::atoi(argv[1]) : 4000;
    int height = argc > 2 ? std::atoi(argv[2]) : 3000;
    int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 1;
    }
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    std::string base = std::string(length > 0 && length < sizeof folder ? folder : ".\\") +
                       "bench_decode_" + std::to_string(GetCurrentProcessId());
    const struct {
        const char* name;
        GUID container;
        int decodedBytesPerPixel; // as the decoder holds the picture
    } kinds[] = {{"PNG with alpha", GUID_ContainerFormatPng, 4},
                 {"JPEG", GUID_ContainerFormatJpeg, 3}};
    wic::Pixels artwork = Artwork(width, height);
    int status = 0;
    for (const auto& kind : kinds) {
        std::string path = base + (kind.decodedBytesPerPixel == 4 ? ".png" : ".jpg");
        if (!wic::Write(path, kind.container, width, height, artwork)) {
            std::fprintf(stderr, "bench_decode: cannot write %s\n", path.c_str());
            return 1;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        DWORD fileBytes = GetFileSize(file, nullptr);
        CloseHandle(file);
        // Once each, so that both find the file in the cache.
        Ours(path);
        Theirs(path);
        std::vector<double> ours, theirs;
        for (int i = 0; i < rounds; ++i) {
            ours.push_back(Ours(path));
            theirs.push_back(Theirs(path));
        }
        double oursMemory = PeakKiB("ours", path) * 1024;
        double theirsMemory = PeakKiB("theirs", path) * 1024;
        DeleteFileA(path.c_str());
        if (*std::min_element(ours.begin(), ours.end()) < 0 ||
            *std::min_element(theirs.begin(), theirs.end()) < 0) {
            std::fprintf(stderr, "bench_decode: %s did not decode\n", kind.name);
            status = 1;
            continue;
        }
        double decoded = static_cast<double>(width) * height * kind.decodedBytesPerPixel;
        double block = 40.0 + static_cast<double>((width * 3 + 3) / 4 * 4) * height;
        std::printf("%s: %d x %d, %lu bytes; %d rounds\n", kind.name, width, height,
                    static_cast<unsigned long>(fileBytes), rounds);
        std::printf("  WIC's own decode to 32-bit BGRA: median %.1f ms, best %.1f ms\n",
                    Median(theirs) * 1e3, *std::min_element(theirs.begin(), theirs.end()) * 1e3);
        std::printf("  DibImage load:                   median %.1f ms, best %.1f ms\n",
                    Median(ours) * 1e3, *std::min_element(ours.begin(), ours.end()) * 1e3);
        std::printf("  time ratio load / WIC's own: %.2f (aim: at most 1.2)\n",
                    Median(ours) / Median(theirs));
        std::printf("  peak working set growth: load %.1f MB, WIC's own %.1f MB; decoded "
                    "picture %.1f MB + block %.1f MB = %.1f MB (aim: load at most that)\n",
                    oursMemory / 1e6, theirsMemory / 1e6, decoded / 1e6, block / 1e6,
                    (decoded + block) / 1e6);
    }
    CoUninitialize();
    return status;
}
