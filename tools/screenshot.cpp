// screenshot.exe, the demo's camera.
//   screenshot FILE.png   waits for the panel and saves its window as PNG
//   screenshot close      asks the panel to close, as its Close command does
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// However slow the machine is to start the panel under Wine.
const DWORD kWaitMs = 15000;

// A screen rectangle's pixels as 0x00RRGGBB values, row by row from the top.
std::vector<DWORD> CapturePixels(const RECT& rect) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<DWORD> pixels;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                       {}};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = width > 0 && height > 0
                         ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                         : nullptr;
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        pixels.assign(static_cast<const DWORD*>(bits),
                      static_cast<const DWORD*>(bits) + static_cast<size_t>(width) * height);
        for (DWORD& pixel : pixels) {
            pixel &= 0x00FFFFFF;
        }
        SelectObject(memory, previous);
    }
    if (bitmap) {
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

DWORD Crc32(DWORD crc, const unsigned char* data, size_t size) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, DWORD value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<DWORD>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(0, body.data(), body.size()));
}

// Writes pixels as a PNG file of stored (uncompressed) blocks, for the record only.
bool WritePng(const char* path, int width, int height, const std::vector<DWORD>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
        return false;
    }
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x) {
            DWORD pixel = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<unsigned char>(pixel >> 16));
            raw.push_back(static_cast<unsigned char>(pixel >> 8));
            raw.push_back(static_cast<unsigned char>(pixel));
        }
    }
    // A zlib stream of stored (uncompressed) blocks.
    std::vector<unsigned char> zlib = {0x78, 0x01};
    DWORD adlerA = 1;
    DWORD adlerB = 0;
    for (size_t offset = 0; offset < raw.size() || offset == 0; offset += 65535) {
        size_t length = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        zlib.push_back(offset + length == raw.size() ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(length));
        zlib.push_back(static_cast<unsigned char>(length >> 8));
        zlib.push_back(static_cast<unsigned char>(~length));
        zlib.push_back(static_cast<unsigned char>(~length >> 8));
        for (size_t i = 0; i < length; ++i) {
            unsigned char byte = raw[offset + i];
            zlib.push_back(byte);
            adlerA = (adlerA + byte) % 65521;
            adlerB = (adlerB + adlerA) % 65521;
        }
    }
    PutBigEndian(zlib, (adlerB << 16) | adlerA);

    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<DWORD>(width));
    PutBigEndian(header, static_cast<DWORD>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});

    FILE* file = fopen(path, "wb");
    if (!file) {
        return false;
    }
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}

HWND WaitForPanel() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(10)) {
        HWND panel = FindWindowA("TANDREL", nullptr);
        if (panel && IsWindowVisible(panel)) {
            return panel;
        }
    }
    return nullptr;
}

int Screenshot(const char* path) {
    HWND panel = WaitForPanel();
    if (!panel) {
        fprintf(stderr, "screenshot: no panel window\n");
        return 1;
    }
    // Once the panel answers a message it has handled its first paint.
    DWORD_PTR ignored;
    SendMessageTimeoutA(panel, WM_NULL, 0, 0, SMTO_BLOCK, kWaitMs, &ignored);
    // Only what is on the screen can be copied from it.
    RECT rect, screen;
    GetWindowRect(panel, &rect);
    GetWindowRect(GetDesktopWindow(), &screen);
    IntersectRect(&rect, &rect, &screen);
    std::vector<DWORD> pixels = CapturePixels(rect);
    if (!WritePng(path, rect.right - rect.left, rect.bottom - rect.top, pixels)) {
        fprintf(stderr, "screenshot: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int Close() {
    HWND panel = FindWindowA("TANDREL", nullptr);
    if (!panel) {
        fprintf(stderr, "screenshot: no panel window\n");
        return 1;
    }
    PostMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "close") == 0) {
        return Close();
    }
    if (argc == 2) {
        return Screenshot(argv[1]);
    }
    fprintf(stderr, "usage: screenshot FILE.png | screenshot close\n");
    return 2;
}
