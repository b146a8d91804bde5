#include "dib_testing.h"

#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include "compat_control.h"

#include <cstdlib>
#include <unistd.h>
#endif

namespace {

std::string TempFolder() {
#ifdef _WIN32
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string(".\\");
#else
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/";
#endif
}

unsigned long ProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

#ifndef _WIN32
void FailOnViolation(const char* message) {
    ADD_FAILURE() << message;
}
#endif

} // namespace

void DibTest::SetUp() {
#ifndef _WIN32
    compat::Reset();
    compat::SetViolationHandler(FailOnViolation);
#endif
}

void DibTest::TearDown() {
#ifndef _WIN32
    EXPECT_EQ(0, compat::OpenFiles()) << "files left open";
    EXPECT_EQ(0, compat::LiveGlobalBlocks()) << "global blocks left";
    EXPECT_EQ(0, compat::LiveLocalBlocks()) << "local blocks left";
    EXPECT_EQ(0, compat::LivePalettes()) << "palettes left";
    compat::SetViolationHandler(nullptr);
    compat::Reset();
#endif
}

TempPicture::TempPicture(size_t padding) {
    static int counter = 0;
    path_ = TempFolder() + "dib_" + std::to_string(ProcessId()) + "_" + std::to_string(++counter) +
            std::string(padding, 'p') + ".bmp";
}

TempPicture::~TempPicture() {
    Remove();
}

bool TempPicture::Write(const std::vector<std::uint8_t>& bytes) const {
    return bmp::WriteFile(path_, bytes);
}

void TempPicture::Remove() const {
    std::remove(path_.c_str());
}

std::vector<std::uint8_t> DibImageProbe::BlockBytes() const {
    BITMAPINFOHEADER header;
    if (!GetInfoHeader(&header)) {
        return {};
    }
    std::size_t bytes = header.biSize + PaletteBytes(&header) + header.biSizeImage;
    const void* base = GlobalLock(Block());
    if (!base) {
        return {};
    }
    std::vector<std::uint8_t> copy(bytes);
    std::memcpy(copy.data(), base, bytes);
    GlobalUnlock(Block());
    return copy;
}

bool DibImageProbe::Unlocked() const {
    return !Block() || (GlobalFlags(Block()) & GMEM_LOCKCOUNT) == 0;
}

bmp::Rgb BlockColour(const std::vector<std::uint8_t>& block, std::size_t tableAt, int index) {
    std::size_t at = tableAt + 4 * static_cast<std::size_t>(index);
    return {block[at + 2], block[at + 1], block[at]};
}
