// Test control for the native stand-in of windows.h: makes chosen platform
// calls fail, and reads back what the code under test asked of the platform.
#ifndef TANDREL_COMPAT_CONTROL_H
#define TANDREL_COMPAT_CONTROL_H

#include <windows.h>

#include <string>
#include <vector>

namespace compat {

enum class Call {
    OpenFile,
    Read, // _lread, which then reports HFILE_ERROR
    GlobalAlloc,
    GlobalReAlloc,
    GlobalLock,
    LocalAlloc,
    CreatePalette,
};

// Makes one future call of the given kind fail: the first one after `skip`
// calls of that kind have gone through. Plans for several kinds may be active.
void FailCall(Call call, int skip = 0);

// Forgets failure plans and records (not live objects) and restores the
// global block limit.
void Reset();

// Largest global block that can be had. The default, 1 GiB, is about what a
// 32-bit process can find in one piece; a fuzzer sets less to stay fast.
void SetGlobalLimit(SIZE_T bytes);

// Called when a drawing call would read outside the locked block that holds
// its header. The default prints the message and aborts the process.
void SetViolationHandler(void (*handler)(const char* message));

// Records since the last Reset.
int OpenFileCalls();
std::string LastOpenedName();
const std::vector<UINT>& ReadRequests(); // byte counts asked of _lread

struct DrawCall {
    HDC deviceContext;
    int xDest, yDest;
    DWORD width, height;
    int xSrc, ySrc;
    UINT startScan, scanLines;
    BITMAPINFOHEADER header;  // as it stood in the block during the call
    std::size_t bitsOffset;   // of the pixel rows from the block's start
    std::size_t bytesReached; // pixel bytes the call's arguments reach
};
const std::vector<DrawCall>& DrawCalls();

// Objects alive now, whatever Reset says.
int LiveGlobalBlocks();
int LiveLocalBlocks();
int LivePalettes();
int OpenFiles();

} // namespace compat

#endif
