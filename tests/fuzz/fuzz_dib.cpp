// Feeds arbitrary bytes to DibImage as a picture file and asks for everything
// the launcher asks for. The stand-in's drawing call aborts on any read
// outside the block; the sanitizers catch the rest.
#include "dib/dib_image.h"

#include "compat_control.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder && *folder ? folder : "/tmp") + "/fuzz_dib_" +
               std::to_string(getpid()) + ".bmp";
    }();
    return path;
}

bool WriteInput(const uint8_t* data, size_t size) {
    int fd = open(InputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < size) {
        ssize_t put = write(fd, data + done, size - done);
        if (put <= 0) {
            break;
        }
        done += static_cast<size_t>(put);
    }
    return close(fd) == 0 && done == size;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_dib: %s\n", what);
        std::abort();
    }
}

// Larger than the picture, where an int allows.
int Grown(int value) {
    return value > INT_MAX - 7 ? INT_MAX : value + 7;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!WriteInput(data, size)) {
        return 0;
    }
    compat::Reset();
    // Large enough for every interesting header, small enough to stay fast;
    // bigger blocks fail as they would in a crowded 32-bit process.
    compat::SetGlobalLimit(64u << 20);
    {
        DibImage image(InputPath().c_str());
        int width = -1, height = -1;
        int loaded = image.GetSize(&width, &height);
        Check(loaded ? width >= 0 && height >= 0 : width == 0 && height == 0, "size reported");
        image.GetPalette();
        HDC dc = reinterpret_cast<HDC>(0x1);
        Check(image.Draw(dc, 0, 0, width, height, 0, 0) == loaded, "draw result");
        image.Draw(dc, 3, 3, Grown(width), Grown(height), 2, 1);
        image.Draw(dc, 0, 0, width, -height, 0, 0);
        Check(image.DrawScaled(dc, 0, 0, Grown(width), Grown(height)) == loaded,
              "scaled draw result");
    }
    Check(compat::OpenFiles() == 0, "file left open");
    Check(compat::LiveGlobalBlocks() == 0, "block left");
    Check(compat::LiveLocalBlocks() == 0, "local block left");
    Check(compat::LivePalettes() == 0, "palette left");
    return 0;
}
