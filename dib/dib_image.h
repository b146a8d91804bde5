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
    // `fileName` is opened as it is written, relative to the current
    // directory, and may hold any characters; one of more than 259 leaves an
    // image that never loads. Transparent pictures are blended over
    // `background` when they are loaded. Nothing is read until the size,
    // palette or pixels are asked for, and a file is read once: a picture
    // that failed to load stays missing for the life of the object.
    DibImage(const WCHAR* fileName, COLORREF background);
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

    // Why the load left no picture: FileNotFound when the file cannot be
    // opened, NameTooLong for a name that is never opened; None after a load
    // that succeeded, and before the first.
    dib::Refusal LastRefusal() const { return refusal; }

  private:
    // The block, loaded first if it has not been tried, locked; null when
    // there is none.
    BYTE* LockLoaded();
    void Load();
    // A new block built from the front that was read and the rest of `file`.
    HGLOBAL ReadBitmap(HANDLE file, const dib::Layout& layout, const BYTE* front, DWORD length);
    void BuildPalette();

    WCHAR fileName[MAX_PATH];
    COLORREF background;
    bool tried; // loaded, or failed for good
    HGLOBAL packedDib;
    HPALETTE palette;
    dib::Refusal refusal;
};

#endif
