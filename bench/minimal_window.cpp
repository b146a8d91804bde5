// The floor of bench_startup: the least a Windows program does to show a
// picture: a window class, one window with the panel's client size, centred,
// a paint handler that draws a 24-bit picture from memory, a message loop. No
// settings file, no picture file, no child windows, no resources.
//
// Built a second time with TANDREL_BENCH_BUTTONS: the same with the panel's
// three push buttons in the message font, themed through the panel's own
// manifest. That is what native buttons cost any program, apart from what the
// panel adds to them.
#include <windows.h>

#ifdef TANDREL_BENCH_BUTTONS
#include <commctrl.h>
#endif

#include "bench_picture.h"

namespace {

const DWORD kStyle = WS_DLGFRAME | WS_SYSMENU; // as the panel's window
const int kStride = (bench::kPictureWidth * 3 + 3) / 4 * 4;

// Bottom-up rows, as a picture file stores them. On the heap: a static array
// of this size would be stored in the program file and make it load slower.
BYTE* g_pixels = nullptr;
BITMAPINFOHEADER g_header;

bool MakePicture() {
    const DWORD bytes = static_cast<DWORD>(kStride) * bench::kPictureHeight;
    g_pixels = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (!g_pixels) {
        return false;
    }
    g_header.biSize = sizeof g_header;
    g_header.biWidth = bench::kPictureWidth;
    g_header.biHeight = bench::kPictureHeight;
    g_header.biPlanes = 1;
    g_header.biBitCount = 24;
    g_header.biCompression = BI_RGB;
    g_header.biSizeImage = bytes;
    for (int y = 0; y < bench::kPictureHeight; ++y) {
        BYTE* row = g_pixels + (bench::kPictureHeight - 1 - y) * kStride;
        for (int x = 0; x < bench::kPictureWidth; ++x) {
            unsigned long colour = bench::PictureColour(x, y);
            row[x * 3] = static_cast<BYTE>(colour);
            row[x * 3 + 1] = static_cast<BYTE>(colour >> 8);
            row[x * 3 + 2] = static_cast<BYTE>(colour >> 16);
        }
    }
    return true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC deviceContext = BeginPaint(window, &paint);
        SetDIBitsToDevice(deviceContext, 0, 0, bench::kPictureWidth, bench::kPictureHeight, 0, 0, 0,
                          bench::kPictureHeight, g_pixels, reinterpret_cast<BITMAPINFO*>(&g_header),
                          DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!MakePicture()) {
        return 1;
    }

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = bench::kFloorClass;
    if (!RegisterClassA(&windowClass)) {
        return 1;
    }

    // Created at its final size and place, so that showing it is the only step.
    // The system gives every overlapped window a caption, whether or not its
    // style asks for one; the frame is reckoned with it.
    RECT rect = {0, 0, bench::kClientWidth, bench::kClientHeight};
    AdjustWindowRect(&rect, kStyle | WS_CAPTION, FALSE);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window =
        CreateWindowExA(0, bench::kFloorClass, "Minimal window", kStyle, left > 0 ? left : 0,
                        top > 0 ? top : 0, width, height, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
#ifdef TANDREL_BENCH_BUTTONS
    InitCommonControls();
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
    const int x = bench::kPictureWidth + bench::kButtonWidth / 4, h = bench::kButtonHeight;
    const int ys[] = {h / 2, h / 2 + h * 4 / 3, bench::kClientHeight - h * 3 / 2};
    const char* const captions[] = {"&Install Studio", "&Browse this disc", "Cancel"};
    for (int i = 0; i < 3; ++i) {
        HWND button = CreateWindowExA(0, "BUTTON", captions[i],
                                      WS_CHILD | WS_VISIBLE | (i ? 0 : BS_DEFPUSHBUTTON), x, ys[i],
                                      bench::kButtonWidth, h, window, nullptr, instance, nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
#endif
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
