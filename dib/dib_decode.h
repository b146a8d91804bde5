// PNG, JPEG and GIF pictures through the system's own decoders, which are
// loaded from the system folder only when such a picture is asked for: the
// Windows Imaging Component where it is installed (Vista and later, XP with
// it added), else OleLoadPicture for JPEG and GIF. A decoded picture becomes
// the block a bitmap file would: a top-down 24-bit packed DIB without a
// colour table, so the colour cube and drawing serve it unchanged, and its
// transparency blended over the background. Built natively, there are no
// decoders.
#ifndef TANDREL_DIB_DIB_DECODE_H
#define TANDREL_DIB_DIB_DECODE_H

#include <windows.h>

#include "dib/dib_format.h"

#ifdef _WIN32
struct IWICImagingFactory;
#endif

namespace dib {

// `file` is `path` opened for reading, wherever it stands; the imaging
// component opens the path itself, as the current directory resolves it. The
// block is new and movable; none, with the reason in `why`, when the picture
// cannot be shown.
HGLOBAL DecodePicture(const WCHAR* path, HANDLE file, Kind kind, COLORREF background, Refusal* why);

#ifdef _WIN32
// DecodePicture's choice, with COM started on this thread: the imaging
// component's `factory` where the system has one, which decides alone; with
// none (null), the older picture loader for JPEG and GIF, and no decoder for
// a PNG.
HGLOBAL DecodeWith(IWICImagingFactory* factory, const WCHAR* path, HANDLE file, Kind kind,
                   COLORREF background, Refusal* why);
#endif

} // namespace dib

#endif
