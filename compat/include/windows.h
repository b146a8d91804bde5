// Native stand-in for the Win32 calls that DibImage makes, for its tests only,
// with their controls: calls made to fail, and what the code under test asked.
// Types keep their 32-bit Windows sizes.
#ifndef TANDREL_COMPAT_WINDOWS_H
#define TANDREL_COMPAT_WINDOWS_H

#include <cstdint>
#include <string>
#include <vector>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD, UINT, SIZE_T, COLORREF; // SIZE_T as on i686: no block of 4 GiB
typedef std::int32_t LONG, BOOL, HFILE;
typedef void *HGLOBAL, *HLOCAL, *HGDIOBJ;
typedef struct HPALETTE__* HPALETTE;
typedef struct HDC__* HDC;
struct BITMAPINFO; // laid out as bytes by the picture code, only handed over
struct LOGPALETTE;
struct OFSTRUCT {
    BYTE bytes[136];
};

constexpr int MAX_PATH = 260, HFILE_ERROR = -1, OF_READ = 0, FILE_BEGIN = 0, FILE_CURRENT = 1;
constexpr int COLOR_BTNFACE = 15, DIB_RGB_COLORS = 0;
constexpr UINT GMEM_MOVEABLE = 2, GMEM_ZEROINIT = 0x40, LPTR = 0x40, SRCCOPY = 0xCC0020;

HFILE OpenFile(const char* fileName, OFSTRUCT* openBuffer, UINT style);
HFILE _lopen(const char* fileName, int mode);
UINT _lread(HFILE file, void* buffer, UINT bytes);
LONG _llseek(HFILE file, LONG offset, int origin);
HFILE _lclose(HFILE file);
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL block);
DWORD GetSysColor(int index); // a grey for every index
HPALETTE CreatePalette(const LOGPALETTE* description);
BOOL DeleteObject(HGDIOBJ object);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                      UINT colorUse);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info,
                  UINT colorUse, DWORD rop);

namespace compat {

enum class Call { OpenFile, Read, GlobalAlloc, GlobalReAlloc, GlobalLock, LocalAlloc, Palette };

struct DrawCall {
    std::vector<long> args;  // dc, xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines
    std::vector<BYTE> block; // the locked block that holds the header, as it was
};

// Failure plans and what was asked since the last reset (Records() = {}).
struct Record {
    // By Call: how many calls to let through before one fails (-1: none).
    // An OpenFile plan covers _lopen too; a failed _lread gives HFILE_ERROR.
    int skip[7] = {-1, -1, -1, -1, -1, -1, -1};
    int opens = 0; // OpenFile and _lopen
    std::string lastOpened;
    std::vector<UINT> reads; // bytes asked of each _lread
    std::vector<DrawCall> draws;
};
Record& Records();

// Objects alive now, whatever the records say: files, global blocks, locked
// ones among them, local blocks, palettes.
std::vector<int> Living();

} // namespace compat

#endif
