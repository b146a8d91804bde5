// Start-up to first paint: tandrel.exe in a distribution folder against the
// minimal window (minimal_window.exe, the floor) and against the same with
// the panel's native buttons (minimal_buttons.exe), each started the same way
// from the same folder, taking turns. Prints figures; judges nothing.
//
//   wine bench_startup.exe [runs] [--pixels]     (default 20 runs of each)
//
// The clock starts just before CreateProcess. The panel, like the floor,
// shows its window and paints it synchronously (ShowWindow, UpdateWindow)
// before its message loop first waits, so by default the first paint is
// taken as done when the process first waits for input with the window
// shown: WaitForInputIdle, started once the window is visible (under Wine a
// process has nothing to wait on before its start-up is complete, and the
// call would return at once). After each such run the picture is compared on
// the screen, to show that it was there. With --pixels the first paint is
// instead the moment the whole picture is seen on the screen, polled; the
// panel may still be painting its buttons then, so this reading comes a few
// milliseconds early for the panel, and serves to check the other.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_folder.h"
#include "bench_picture.h"

namespace {

using Distribution = bench::Folder;

// However slow a loaded machine is to start a Wine process.
const DWORD kTimeoutMs = 15000;
// Between looks at the window list or the screen: short enough for a fine
// reading, long enough not to keep the Wine server and X busy with our own
// requests while the program under test needs them.
const DWORD kPollMs = 1;
// After a process has ended, before the next one starts: its windows and
// X resources go in the background.
const DWORD kSettleMs = 100;

// The picture in the panel's client area, compared with what it should be.
// Keeps its bitmap between looks, so that polling costs one BitBlt a look.
class PictureOnScreen {
  public:
    PictureOnScreen()
        : expected_(), screen_(GetDC(nullptr)), memory_(nullptr), bitmap_(nullptr),
          previous_(nullptr), bits_(nullptr) {
        for (int y = 0; y < bench::kPictureHeight; ++y) {
            for (int x = 0; x < bench::kPictureWidth; ++x) {
                expected_.push_back(static_cast<DWORD>(bench::PictureColour(x, y)));
            }
        }
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = bench::kPictureWidth;
        info.bmiHeader.biHeight = -bench::kPictureHeight; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        memory_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (memory_ && bitmap_) {
            previous_ = SelectObject(memory_, bitmap_);
        }
    }
    ~PictureOnScreen() {
        if (previous_) {
            SelectObject(memory_, previous_);
        }
        if (bitmap_) {
            DeleteObject(bitmap_);
        }
        if (memory_) {
            DeleteDC(memory_);
        }
        ReleaseDC(nullptr, screen_);
    }
    PictureOnScreen(const PictureOnScreen&) = delete;
    PictureOnScreen& operator=(const PictureOnScreen&) = delete;

    // Whether every pixel of the picture is on the screen in `window`'s client area.
    bool IsShownIn(HWND window) {
        if (!previous_ || !bits_) {
            return false;
        }
        RECT client = {};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        BitBlt(memory_, 0, 0, bench::kPictureWidth, bench::kPictureHeight, screen_, client.left,
               client.top, SRCCOPY);
        GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits_);
        for (size_t i = 0; i < expected_.size(); ++i) {
            if ((pixels[i] & 0x00FFFFFF) != expected_[i]) {
                return false;
            }
        }
        return true;
    }

  private:
    std::vector<DWORD> expected_;
    HDC screen_;
    HDC memory_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    void* bits_;
};

// One contender and what was measured of it, in seconds from just before
// CreateProcess.
struct Contender {
    Contender(const char* label_, const char* program_, const char* className_)
        : label(label_), program(program_), className(className_) {}

    const char* label;
    const char* program;   // its file name in the distribution folder
    const char* className; // of its main window
    std::vector<double> created, shown, painted, idle;
    int pictureSeen = 0;
    int buttons = -1; // child buttons of its window at the last run
};

// A process this benchmark started: ended by its handle if still running
// when the object goes, and only that one.
class Started {
  public:
    explicit Started(const PROCESS_INFORMATION& info)
        : process_(info.hProcess), processId_(info.dwProcessId) {
        CloseHandle(info.hThread);
    }
    ~Started() {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kTimeoutMs);
        }
        CloseHandle(process_);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    HANDLE Handle() const { return process_; }
    DWORD Id() const { return processId_; }
    bool Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

  private:
    HANDLE process_;
    DWORD processId_;
};

bool Fail(const Contender& contender, const char* what) {
    std::fprintf(stderr, "bench_startup: %s: %s\n", contender.label, what);
    return false;
}

// Starts the contender in the folder, times its start-up and closes it as
// the system menu's Close would. `record` false: a warm-up, not counted.
bool RunOnce(Contender& contender, const Distribution& distribution, bool byPixels,
             PictureOnScreen& screen, bool record) {
    std::string commandLine = "\"" + distribution.PathOf(contender.program) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    double start = Now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        distribution.Path().c_str(), &startup, &info)) {
        return Fail(contender, "CreateProcess failed");
    }
    Started process(info);

    // The window: first created, then shown.
    double created = -1;
    double shown = -1;
    HWND window = nullptr;
    while (!window) {
        HWND found = FindWindowA(contender.className, nullptr);
        DWORD owner = 0;
        if (found) {
            GetWindowThreadProcessId(found, &owner);
        }
        if (found && owner == process.Id()) {
            double now = Now() - start;
            if (created < 0) {
                created = now;
            }
            if (IsWindowVisible(found)) {
                shown = now;
                window = found;
                break;
            }
        }
        if (!process.Running()) {
            return Fail(contender, "ended without showing its window");
        }
        if (Now() - start > kTimeoutMs / 1000.0) {
            return Fail(contender, "no window in time");
        }
        Sleep(kPollMs);
    }

    double painted = -1;
    if (byPixels) {
        while (!screen.IsShownIn(window)) {
            if (!process.Running()) {
                return Fail(contender, "ended before its picture was seen");
            }
            if (Now() - start > kTimeoutMs / 1000.0) {
                return Fail(contender, "its picture was not seen in time");
            }
            Sleep(kPollMs);
        }
        painted = Now() - start;
    }
    if (WaitForInputIdle(process.Handle(), kTimeoutMs) != 0) {
        return Fail(contender, "never waited for input");
    }
    double idle = Now() - start;
    if (!byPixels) {
        painted = idle;
    }

    // Not timed: what was on the screen, and the buttons.
    bool seen = byPixels || screen.IsShownIn(window);
    contender.buttons = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ++contender.buttons;
    }

    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process.Handle(), kTimeoutMs) != WAIT_OBJECT_0) {
        return Fail(contender, "did not close");
    }
    Sleep(kSettleMs);

    if (record) {
        contender.created.push_back(created);
        contender.shown.push_back(shown);
        contender.painted.push_back(painted);
        contender.idle.push_back(idle);
        contender.pictureSeen += seen ? 1 : 0;
    }
    return true;
}

struct Summary {
    double median, mean, min, p90;
};

Summary Summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    Summary s;
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    double sum = 0;
    for (double v : values) {
        sum += v;
    }
    s.mean = sum / static_cast<double>(n);
    s.min = values.front();
    // Nearest rank: the smallest value with at least 90% of the runs at or below it.
    size_t rank = static_cast<size_t>(std::ceil(0.9 * static_cast<double>(n)));
    s.p90 = values[rank > 0 ? rank - 1 : 0];
    return s;
}

void PrintRow(const char* name, const std::vector<double>& values) {
    Summary s = Summarize(values);
    std::printf("  %-18s %8.1f %8.1f %8.1f %8.1f\n", name, s.median * 1e3, s.mean * 1e3,
                s.min * 1e3, s.p90 * 1e3);
}

// Element by element: a[i] - b[i], or a[i] / b[i].
std::vector<double> Differences(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        out.push_back(a[i] - b[i]);
    }
    return out;
}

std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        out.push_back(a[i] / b[i]);
    }
    return out;
}

void PrintContender(const Contender& c, bool byPixels) {
    std::printf("%s\n", c.label);
    PrintRow("window created", c.created);
    PrintRow("window shown", c.shown);
    if (byPixels) {
        PrintRow("picture on screen", c.painted);
        PrintRow("first idle", c.idle);
    } else {
        PrintRow("first paint", c.painted);
    }
    // Starting a Wine process is most of the time, and most of its noise; what
    // the program itself does once its window exists is read apart from it.
    PrintRow("created to paint", Differences(c.painted, c.created));
}

std::vector<unsigned char> PictureFile() {
    const int stride = (bench::kPictureWidth * 3 + 3) / 4 * 4;
    std::vector<unsigned char> file(bench::kBitmapHeaderBytes +
                                    static_cast<std::size_t>(stride) * bench::kPictureHeight);
    bench::BitmapHeader(bench::kPictureWidth, bench::kPictureHeight, file.data());
    // Bottom-up rows of blue, green, red.
    for (int y = 0; y < bench::kPictureHeight; ++y) {
        unsigned char* row =
            &file[bench::kBitmapHeaderBytes +
                  static_cast<std::size_t>(bench::kPictureHeight - 1 - y) * stride];
        for (int x = 0; x < bench::kPictureWidth; ++x) {
            unsigned long colour = bench::PictureColour(x, y);
            row[x * 3] = static_cast<unsigned char>(colour);
            row[x * 3 + 1] = static_cast<unsigned char>(colour >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(colour >> 16);
        }
    }
    return file;
}

// The panel's folder as a publisher would lay it out: settings, picture,
// icon, three buttons. The floor's program goes beside it.
bool PrepareDistribution(const Distribution& distribution, bool* withIcon) {
    *withIcon = distribution.Copy("sample\\disc.ico", "disc.ico");
    std::string ini = "[General]\r\n"
                      "TitleBar=Quillmere Studio 1.0\r\n";
    if (*withIcon) {
        ini += "SysMenuIcon=disc.ico\r\n";
    }
    ini += "Bmp=panel.bmp\r\n"
           "Installer=\"setup files\\setup.exe\" /lang en\r\n"
           "ButtonWidth=" +
           std::to_string(bench::kButtonWidth) +
           "\r\nButtonHeight=" + std::to_string(bench::kButtonHeight) +
           "\r\n"
           "[Button_Captions]\r\n"
           "InstallBut=&Install Studio\r\n"
           "BrowseBut=&Browse this disc\r\n"
           "CancelBut=Cancel\r\n";
    return distribution.Write("tandrel.ini", {ini.begin(), ini.end()}) &&
           distribution.Write("panel.bmp", PictureFile()) &&
           distribution.Copy("tandrel.exe", "tandrel.exe") &&
           distribution.Copy("minimal_window.exe", "minimal_window.exe") &&
           distribution.Copy("minimal_buttons.exe", "minimal_buttons.exe");
}

} // namespace

int main(int argc, char** argv) {
    int runs = 20;
    bool byPixels = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pixels") == 0) {
            byPixels = true;
        } else {
            runs = std::max(1, std::atoi(argv[i]));
        }
    }

    Distribution distribution;
    bool withIcon = false;
    if (!PrepareDistribution(distribution, &withIcon)) {
        std::fprintf(stderr, "bench_startup: cannot prepare %s\n", distribution.Path().c_str());
        return 1;
    }
    PictureOnScreen screen;
    Contender floor("minimal window", "minimal_window.exe", bench::kFloorClass);
    Contender buttons("with native buttons", "minimal_buttons.exe", bench::kFloorClass);
    Contender panel("tandrel", "tandrel.exe", "TANDREL");
    Contender* const contenders[] = {&floor, &buttons, &panel};

    // One run of each first, so that all find their files and Wine's in the cache.
    for (Contender* c : contenders) {
        if (!RunOnce(*c, distribution, byPixels, screen, false)) {
            return 1;
        }
    }
    if (panel.buttons != 3 || buttons.buttons != 3) {
        std::fprintf(stderr, "bench_startup: %d and %d buttons, not 3\n", buttons.buttons,
                     panel.buttons);
        return 1;
    }
    // Taking turns, each first in every third round, so that a slow stretch
    // of the machine falls on all alike.
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 3; ++k) {
            if (!RunOnce(*contenders[(i + k) % 3], distribution, byPixels, screen, true)) {
                return 1;
            }
        }
    }

    std::printf("start-up to first paint, timed from just before CreateProcess: %d runs of "
                "each, taking turns, after one warm-up run of each\n",
                runs);
    std::printf("first paint: %s\n",
                byPixels ? "the whole picture seen on the screen (polled; buttons not looked at)"
                         : "window shown, then WaitForInputIdle");
    std::printf("picture: %d x %d, 24 bits; tandrel: settings, picture file, %s3 buttons\n",
                bench::kPictureWidth, bench::kPictureHeight, withIcon ? "icon file, " : "");
    std::printf("%-20s %8s %8s %8s %8s  (ms)\n", "", "median", "mean", "min", "p90");
    for (Contender* c : contenders) {
        PrintContender(*c, byPixels);
    }
    if (!byPixels) {
        std::printf("picture on screen at first idle: minimal window %d/%d, with buttons %d/%d, "
                    "tandrel %d/%d\n",
                    floor.pictureSeen, runs, buttons.pictureSeen, runs, panel.pictureSeen, runs);
    }
    // Each round has one run of each, close together in time: the median of
    // the rounds' own ratios is the least swayed by a machine that is busy
    // with something else for a while.
    Summary p = Summarize(panel.painted);
    for (const Contender* c : {&floor, &buttons}) {
        Summary f = Summarize(c->painted);
        Summary rounds = Summarize(Ratios(panel.painted, c->painted));
        std::printf("ratio tandrel / %s, first paint: medians %.2f, means %.2f, median of the "
                    "rounds' ratios %.2f (aim: at most 1.1)\n",
                    c->label, p.median / f.median, p.mean / f.mean, rounds.median);
    }
    return 0;
}
