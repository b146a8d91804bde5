// The launcher's picture: a Windows bitmap file, read on first use into one
// movable block laid out as a packed DIB (40-byte info header, masks or colour
// table, pixel rows), with a logical palette built from it on request.
#ifndef TANDREL_DIB_DIB_IMAGE_H
#define TANDREL_DIB_DIB_IMAGE_H

#include <windows.h>

class DibImage {
  public:
    // Never fails; a name of more than 259 characters leaves an image that
    // never loads. Nothing is read until the size, palette or pixels are asked
    // for, and a failed read is tried again at the next request.
    explicit DibImage(const char* bitmapFile);
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

    // Draws the whole picture stretched to width x height with its upper left
    // corner at (xDest, yDest), filtered as the device context's stretching
    // mode says; 1 when the pixels were handed to the platform, 0 when there
    // is no picture.
    int DrawScaled(HDC deviceContext, int xDest, int yDest, int width, int height);

  private:
    // Lets the tests look inside.
    friend class DibImageProbe;

    void Load();
    void ReadHeader(HFILE file);
    void BuildPalette();
    int GetInfoHeader(BITMAPINFOHEADER* out) const;

    // Colour-table entries that `header` (a core or an info header, told apart
    // by its size field) describes.
    static WORD NumColors(const void* header);
    // Bytes between the header and the pixel rows: the colour table and, for
    // an info header with BI_BITFIELDS, the three masks in front of it. 0 when
    // that does not fit 16 bits; no header held in a block is like that.
    static WORD PaletteBytes(const void* header);
    // `count` when all bytes arrived, 0 after a short read.
    static DWORD ReadChunked(HFILE file, void* buffer, unsigned count);

    int valid;
    char fileName[MAX_PATH];
    HGLOBAL packedDib;
    HPALETTE palette;
};

#endif
