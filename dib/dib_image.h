// The launcher's picture: a Windows bitmap, PNG, JPEG or GIF file, read on
// first use into one movable block laid out as a packed DIB (40-byte info
// header, masks or colour table, pixel rows), with a logical palette built
// from it on request. What the bytes mean is dib_format's business, decoding
// the system's (dib_decode); this class makes the platform calls.
#ifndef TANDREL_DIB_DIB_IMAGE_H
#define TANDREL_DIB_DIB_IMAGE_H

#include <windows.h>

#include "dib/dib_format.h"

class DibImage {
  public:
    // The system colour that the panel's window class paints its background
    // with: transparent pictures are blended over it when they are loaded.
    static constexpr int kBackground = COLOR_BTNFACE;

    // Never fails; a name of more than 259 characters leaves an image that
    // never loads. Nothing is read until the size, palette or pixels are asked
    // for, and a failed read is tried again at the next request.
    explicit DibImage(const char* bitmapFile);
#ifdef _WIN32
    // Provisional: the wide name as the ANSI code page has it.
    DibImage(const WCHAR* bitmapFile, COLORREF background);
#endif
    virtual ~DibImage();

    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;

    // 1 with the width and height in pixels (the height positive also for a
    // top-down picture) when the picture is loaded; else 0 with both set to 0.
    // A null pointer gives 0 and loads nothing.
    int GetSize(int* width, int* height);

    // The picture's palette (its colour table, or a colour cube for a 24-bit
    // picture without one), built on first request and owned by the image;
    // none when the picture has neither or is missing.
    HPALETTE GetPalette();

    // Draws the picture with its upper left corner at (xDest, yDest); 1 when
    // the pixels were handed to the platform, 0 when there is no picture.
    int Draw(HDC deviceContext, int xDest, int yDest, int width, int height, int xSrc, int ySrc);

    // Why the last load left no picture; None after one that succeeded, and
    // before the first.
    dib::Refusal LastRefusal() const {
        return refusal;
    }
    // Draws the whole picture stretched to width x height with its upper left
    // corner at (xDest, yDest), filtered as the device context's stretching
    // mode says; 1 when the pixels were handed to the platform, 0 when there
    // is no picture.
    int DrawScaled(HDC deviceContext, int xDest, int yDest, int width, int height);

  private:
    // The block, loaded first if need be, locked; null when there is none.
    BYTE* LockLoaded();
    void Load();
    // A bitmap's headers and colour table into a new block, or a PNG, JPEG or
    // GIF's kind, its size checked; its outcome in `refusal`.
    dib::Kind ReadHeader(HFILE file, dib::Layout* layout);
    void ReadPixels(HFILE file, std::uint32_t alphaMask);
    void BuildPalette();
    // Copies the block's 40-byte header; never loads.
    int GetInfoHeader(BYTE* out) const;
    // `count` when all bytes arrived, 0 after a short read.
    static DWORD ReadChunked(HFILE file, void* buffer, unsigned count);

    int valid;
    char fileName[MAX_PATH];
    HGLOBAL packedDib;
    HPALETTE palette;
    dib::Refusal refusal;
};

#endif
