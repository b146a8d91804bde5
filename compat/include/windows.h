// Native stand-in for the Win32 calls that the picture code makes (files,
// memory, palettes, drawing), for its tests only, with their controls: how
// much memory there is, and what the code under test opened and drew.
// Types keep their 32-bit Windows sizes.
#ifndef TANDREL_COMPAT_WINDOWS_H
#define TANDREL_COMPAT_WINDOWS_H

#include <cstdint>
#include <vector>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef char16_t WCHAR;
typedef std::uint32_t DWORD, UINT, SIZE_T, COLORREF; // SIZE_T as on i686: no block of 4 GiB
typedef std::int32_t LONG, BOOL;
typedef void *HANDLE, *HGLOBAL, *HLOCAL, *HGDIOBJ;
typedef struct HPALETTE__* HPALETTE;
typedef struct HDC__* HDC;
struct BITMAPINFO; // laid out as bytes by the picture code, only handed over
struct LOGPALETTE;
struct SECURITY_ATTRIBUTES;
struct OVERLAPPED;

const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(std::intptr_t{-1});
constexpr int MAX_PATH = 260, FILE_BEGIN = 0, DIB_RGB_COLORS = 0;
constexpr DWORD GENERIC_READ = 0x80000000, FILE_SHARE_READ = 1, OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr UINT GMEM_MOVEABLE = 2, GMEM_ZEROINIT = 0x40, LPTR = 0x40, SRCCOPY = 0xCC0020;

// Names of ASCII characters only.
HANDLE CreateFileW(const WCHAR* name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* read, OVERLAPPED* overlapped);
DWORD SetFilePointer(HANDLE file, LONG low, LONG* high, DWORD origin);
BOOL CloseHandle(HANDLE object);
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL block);
HPALETTE CreatePalette(const LOGPALETTE* description);
BOOL DeleteObject(HGDIOBJ object);
// Both read every row they are asked to draw from `bits`, as the platform
// does, so that the sanitizers see a read past the block.
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                      UINT colorUse);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info,
                  UINT colorUse, DWORD rop);

namespace compat {

// What was asked since the last reset (Records() = {}), and the memory left.
struct Record {
    SIZE_T memory = 0xFFFFFFFF; // a larger global or local block is not had
    int opens = 0;              // files opened, or tried
    UINT scanLines = 0;         // rows read by the last draw
    std::vector<BYTE> drawn;    // the locked block that held its header, as it was
};
Record& Records();

// Objects alive now, whatever the records say: files, global blocks, locked
// ones among them, local blocks, palettes.
std::vector<int> Living();

} // namespace compat

#endif
