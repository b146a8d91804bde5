// Native stand-in for the part of the Win32 API that the picture code and its
// tests use. Types keep the sizes they have on 32-bit Windows, so structures
// laid over file bytes or handed to the drawing call have the platform's
// layout on a 64-bit host too.
#ifndef TANDREL_COMPAT_WINDOWS_H
#define TANDREL_COMPAT_WINDOWS_H

#include <cstddef>
#include <cstdint>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t UINT;
typedef std::int32_t INT;
typedef std::int32_t BOOL;
typedef char CHAR;
typedef std::uint32_t SIZE_T; // the i686 size: no block of 4 GiB or more
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef int HFILE;

// Memory and object handles are untyped on Windows; palettes and device
// contexts are distinct types, as STRICT makes them.
typedef void* HANDLE;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
struct HPALETTE__;
typedef HPALETTE__* HPALETTE;
struct HDC__;
typedef HDC__* HDC;
typedef void* HGDIOBJ;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define WINAPI

#define HFILE_ERROR (-1)
#define OF_READ 0x0000
#define OFS_MAXPATHNAME 128
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GMEM_LOCKCOUNT 0x00FF
#define GMEM_INVALID_HANDLE 0x8000
#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define SRCCOPY 0x00CC0020

#pragma pack(push, 1)
struct OFSTRUCT {
    BYTE cBytes;
    BYTE fFixedDisk;
    WORD nErrCode;
    WORD Reserved1;
    WORD Reserved2;
    CHAR szPathName[OFS_MAXPATHNAME];
};
#pragma pack(pop)

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPCOREHEADER {
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct RGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

static_assert(sizeof(OFSTRUCT) == 136, "OFSTRUCT layout");
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER layout");
static_assert(sizeof(BITMAPCOREHEADER) == 12, "BITMAPCOREHEADER layout");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER layout");
static_assert(sizeof(RGBQUAD) == 4, "RGBQUAD layout");
static_assert(sizeof(RGBTRIPLE) == 3, "RGBTRIPLE layout");
static_assert(sizeof(BITMAPINFO) == 44, "BITMAPINFO layout");
static_assert(sizeof(PALETTEENTRY) == 4, "PALETTEENTRY layout");
static_assert(sizeof(LOGPALETTE) == 8, "LOGPALETTE layout");

// KERNEL32: files.
HFILE OpenFile(LPCSTR fileName, OFSTRUCT* openBuffer, UINT style);
UINT _lread(HFILE file, LPVOID buffer, UINT bytes);
HFILE _lopen(LPCSTR fileName, int mode);
LONG _llseek(HFILE file, LONG offset, int origin);
HFILE _lclose(HFILE file);

// KERNEL32: memory blocks.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
UINT GlobalFlags(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL block);

// GDI32.
HPALETTE CreatePalette(const LOGPALETTE* description);
BOOL DeleteObject(HGDIOBJ object);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
int GetObjectA(HGDIOBJ object, int bytes, LPVOID buffer);
int SetDIBitsToDevice(HDC deviceContext, int xDest, int yDest, DWORD width, DWORD height, int xSrc,
                      int ySrc, UINT startScan, UINT scanLines, LPCVOID bits,
                      const BITMAPINFO* info, UINT colorUse);
int StretchDIBits(HDC deviceContext, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                  int ySrc, int srcWidth, int srcHeight, LPCVOID bits, const BITMAPINFO* info,
                  UINT colorUse, DWORD rop);

#endif
