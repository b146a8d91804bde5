#include "wic_files.h"

#include <wrl/client.h>

#include <algorithm>
#include <cstdio>

namespace wic {
namespace {

using Microsoft::WRL::ComPtr;

bool Create(ComPtr<IWICImagingFactory>* factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory->GetAddressOf())));
}

// The encoder writes no transparency: a graphic control extension naming
// `index` goes in before the image, which follows any global colour table.
bool MarkTransparent(const std::string& path, std::uint8_t index) {
    std::vector<std::uint8_t> gif(1 << 16);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    gif.resize(file ? std::fread(gif.data(), 1, gif.size(), file) : 0);
    std::size_t at = gif.size() > 13 ? 13 + (gif[10] & 0x80 ? 3u << ((gif[10] & 7) + 1) : 0) : 0;
    const std::uint8_t control[] = {0x21, 0xF9, 4, 1, 0, 0, index, 0};
    bool image = file && std::fclose(file) == 0 && at < gif.size() && gif[at] == 0x2C;
    if (!image) {
        return false;
    }
    gif.insert(gif.begin() + static_cast<long>(at), control, control + 8);
    file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(gif.data(), 1, gif.size(), file) == gif.size();
    return file && std::fclose(file) == 0 && written;
}

// The file is complete once everything here is released.
bool Encode(const std::wstring& path, const GUID& container, int width, int height, Pixels& data,
            UINT bytes, std::vector<WICColor>& colours) {
    WICPixelFormatGUID format = bytes == 1   ? GUID_WICPixelFormat8bppIndexed
                                : bytes == 3 ? GUID_WICPixelFormat24bppBGR
                                             : GUID_WICPixelFormat32bppBGRA;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IWICPalette> palette;
    return Create(&factory) && SUCCEEDED(factory->CreateStream(&stream)) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
           SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, height)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           (bytes != 1 || (colours.size() <= 256 && SUCCEEDED(factory->CreatePalette(&palette)) &&
                           SUCCEEDED(palette->InitializeCustom(colours.data(), colours.size())) &&
                           SUCCEEDED(frame->SetPalette(palette.Get())))) &&
           SUCCEEDED(frame->WritePixels(height, width * bytes, data.size(), data.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

} // namespace

bool Write(const std::string& path, const GUID& container, int width, int height,
           const Pixels& bgra) {
    bool gif = container == GUID_ContainerFormatGif, jpeg = container == GUID_ContainerFormatJpeg;
    UINT bytes = gif ? 1 : jpeg ? 3 : 4;
    std::vector<WICColor> colours;
    Pixels data;
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        const std::uint8_t* p = &bgra[i];
        WICColor colour = p[3] ? 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0] : 0;
        auto known = std::find(colours.begin(), colours.end(), colour);
        if (gif && known == colours.end()) {
            known = colours.insert(known, colour);
        }
        data.push_back(static_cast<std::uint8_t>(gif ? known - colours.begin() : p[0]));
        data.insert(data.end(), p + 1, p + (gif ? 1 : bytes));
    }
    auto clear = std::find(colours.begin(), colours.end(), 0u);
    return Encode({path.begin(), path.end()}, container, width, height, data, bytes, colours) &&
           (!gif || clear == colours.end() ||
            MarkTransparent(path, static_cast<std::uint8_t>(clear - colours.begin())));
}

Pixels Read(const std::string& path) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgra;
    UINT width = 0, height = 0;
    Pixels pixels;
    if (Create(&factory) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(std::wstring(path.begin(), path.end()).c_str(),
                                                     nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &bgra)) &&
        SUCCEEDED(bgra->GetSize(&width, &height))) {
        pixels.resize(std::size_t{width} * height * 4);
        HRESULT copied = bgra->CopyPixels(nullptr, width * 4, pixels.size(), pixels.data());
        pixels.resize(SUCCEEDED(copied) ? pixels.size() : 0);
    }
    return pixels;
}

} // namespace wic
