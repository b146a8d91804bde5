#include "dib/dib_decode.h"
#include "dib/system_library.h"

#include <ole2.h>
#include <olectl.h>
#include <wincodec.h>

#include <cstring>

namespace dib {
namespace {

typedef HRESULT(WINAPI* CoInitializeExFunction)(void*, DWORD);
typedef HRESULT(WINAPI* CoCreateInstanceFunction)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
typedef void(WINAPI* CoUninitializeFunction)();
typedef HRESULT(WINAPI* CreateStreamFunction)(HGLOBAL, BOOL, IStream**);
typedef HRESULT(WINAPI* OleLoadPictureFunction)(IStream*, LONG, BOOL, REFIID, void**);

// Converted pixels pass through a strip of rows this large, so that decoding
// never holds a second copy of the picture besides the decoder's own.
constexpr UINT kStripBytes = 1 << 18;

template <typename Interface>
void Release(Interface* object) {
    if (object) {
        object->Release();
    }
}

// A new zero-filled block with the header of a decoded picture of that size,
// locked at `base`; none, with the reason, when it cannot be had.
HGLOBAL NewBlock(UINT width, UINT height, Refusal* why, BYTE** base) {
    InfoHeader header;
    std::uint32_t bytes = 0;
    *why = DecodedHeader(width, height, &header, &bytes);
    if (*why != Refusal::None) {
        return nullptr;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    *base = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!*base) {
        *why = Refusal::NoMemory;
        if (block) {
            GlobalFree(block);
        }
        return nullptr;
    }
    StoreHeader(header, *base);
    return block;
}

// Unlocks a new block, and frees it when its rows could not be filled.
HGLOBAL Finish(HGLOBAL block, bool filled, Refusal* why) {
    GlobalUnlock(block);
    if (!filled) {
        *why = Refusal::DecoderFailed;
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

// 24-bit pixels go straight into the block; any other kind is converted to
// 32-bit with alpha, a strip at a time, and blended into it.
HRESULT CopyRows(IWICBitmapSource* source, bool direct, BYTE* block, COLORREF background) {
    InfoHeader h = LoadHeader(block);
    UINT width = static_cast<UINT>(h.width), height = static_cast<UINT>(-h.height);
    UINT stride = h.sizeImage / height;
    BYTE* rows = block + kInfoHeaderBytes;
    WICRect rect = {0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    if (direct) {
        return source->CopyPixels(&rect, stride, h.sizeImage, rows);
    }
    UINT stripRows = kStripBytes / (width * 4) + 1;
    BYTE* strip = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, stripRows * width * 4));
    HRESULT result = strip ? S_OK : E_OUTOFMEMORY;
    for (UINT y = 0; y < height && SUCCEEDED(result); y += stripRows) {
        rect.Y = static_cast<INT>(y);
        rect.Height = static_cast<INT>(height - y < stripRows ? height - y : stripRows);
        result = source->CopyPixels(&rect, width * 4, width * 4 * rect.Height, strip);
        for (INT i = 0; i < rect.Height && SUCCEEDED(result); ++i) {
            BlendRow(strip + i * width * 4, width, background, rows + (y + i) * stride);
        }
    }
    if (strip) {
        LocalFree(strip);
    }
    return result;
}

HGLOBAL DecodeWithWic(IWICImagingFactory* factory, const WCHAR* path, COLORREF background,
                      Refusal* why) {
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HGLOBAL block = nullptr;
    *why = Refusal::DecoderFailed;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = {};
    // By name rather than by the open file: a stream on a file handle maps
    // the whole file into memory, which a name's stream does not.
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(frame->GetPixelFormat(&format)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        // The pixels are asked for only once their size has passed.
        BYTE* base = nullptr;
        block = NewBlock(width, height, why, &base);
        bool direct = IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
        IWICBitmapSource* source = direct ? static_cast<IWICBitmapSource*>(frame) : converter;
        if (block) {
            block = Finish(block, SUCCEEDED(CopyRows(source, direct, base, background)), why);
        }
    }
    Release(converter);
    Release(frame);
    Release(decoder);
    return block;
}

// The whole file in a stream, which frees it when released.
IPicture* LoadOlePicture(HMODULE ole32, HMODULE oleaut32, HANDLE file, Refusal* why) {
    CreateStreamFunction makeStream =
        FunctionOf<CreateStreamFunction>(ole32, "CreateStreamOnHGlobal");
    OleLoadPictureFunction load = FunctionOf<OleLoadPictureFunction>(oleaut32, "OleLoadPicture");
    if (!makeStream || !load) {
        return nullptr;
    }
    *why = Refusal::DecoderFailed;
    DWORD size = GetFileSize(file, nullptr);
    HGLOBAL data =
        size != INVALID_FILE_SIZE && size > 0 ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    void* at = data ? GlobalLock(data) : nullptr;
    DWORD read = 0;
    bool whole = at && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
                 ReadFile(file, at, size, &read, nullptr) && read == size;
    if (at) {
        GlobalUnlock(data);
    }
    IStream* stream = nullptr;
    IPicture* picture = nullptr;
    if (whole && SUCCEEDED(makeStream(data, TRUE, &stream))) {
        load(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
             reinterpret_cast<void**>(&picture));
        stream->Release();
    } else if (data) {
        GlobalFree(data);
    }
    return picture;
}

// Rendered over the background, so that a GIF's transparent colour takes it.
bool Render(IPicture* picture, BYTE* block, COLORREF background) {
    InfoHeader h = LoadHeader(block);
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(block), DIB_RGB_COLORS,
                                       &bits, nullptr, 0);
    bool rendered = false;
    if (section) {
        HGDIOBJ old = SelectObject(dc, section);
        BYTE* rows = static_cast<BYTE*>(bits);
        UINT stride = h.sizeImage / static_cast<UINT>(-h.height);
        const BYTE fill[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
        for (UINT i = 0; i < stride; ++i) {
            rows[i] = fill[i % 3];
        }
        for (UINT at = stride; at < h.sizeImage; at += stride) {
            std::memcpy(rows + at, rows, stride);
        }
        rendered = SUCCEEDED(
            picture->Render(dc, 0, 0, h.width, -h.height, 0, height, width, -height, nullptr));
        GdiFlush();
        std::memcpy(block + kInfoHeaderBytes, bits, h.sizeImage);
        SelectObject(dc, old);
        DeleteObject(section);
    }
    DeleteDC(dc);
    return rendered;
}

HGLOBAL DecodeWithOlePicture(HANDLE file, COLORREF background, Refusal* why) {
    HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    HMODULE oleaut32 = LoadSystemLibrary(L"oleaut32.dll");
    IPicture* picture = ole32 && oleaut32 ? LoadOlePicture(ole32, oleaut32, file, why) : nullptr;
    HGLOBAL block = nullptr;
    OLE_HANDLE handle = 0;
    BITMAP bitmap;
    if (picture && SUCCEEDED(picture->get_Handle(&handle)) &&
        GetObjectA(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof bitmap,
                   &bitmap)) {
        BYTE* base = nullptr;
        block = NewBlock(static_cast<UINT>(bitmap.bmWidth), static_cast<UINT>(bitmap.bmHeight), why,
                         &base);
        if (block) {
            block = Finish(block, Render(picture, base, background), why);
        }
    }
    Release(picture);
    if (oleaut32) {
        FreeLibrary(oleaut32);
    }
    if (ole32) {
        FreeLibrary(ole32);
    }
    return block;
}

} // namespace

HGLOBAL DecodeWith(IWICImagingFactory* factory, const WCHAR* path, HANDLE file, Kind kind,
                   COLORREF background, Refusal* why) {
    if (factory) {
        return DecodeWithWic(factory, path, background, why);
    }
    *why = Refusal::NoDecoder;
    return kind == Kind::Png ? nullptr : DecodeWithOlePicture(file, background, why);
}

HGLOBAL DecodePicture(const WCHAR* path, HANDLE file, Kind kind, COLORREF background,
                      Refusal* why) {
    *why = Refusal::NoDecoder;
    HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    auto start = FunctionOf<CoInitializeExFunction>(ole32, "CoInitializeEx");
    auto create = FunctionOf<CoCreateInstanceFunction>(ole32, "CoCreateInstance");
    auto stop = FunctionOf<CoUninitializeFunction>(ole32, "CoUninitialize");
    HGLOBAL block = nullptr;
    if (start && create && stop) {
        // COM runs for this load only; a thread that had it keeps it as it was.
        HRESULT started = start(nullptr, COINIT_APARTMENTTHREADED);
        IWICImagingFactory* factory = nullptr;
        if (FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                          IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
            factory = nullptr;
        }
        block = DecodeWith(factory, path, file, kind, background, why);
        Release(factory);
        if (SUCCEEDED(started)) {
            stop();
        }
    }
    if (ole32) {
        FreeLibrary(ole32);
    }
    return block;
}

} // namespace dib
