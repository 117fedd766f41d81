#include "engines/chromium/frame.h"

#include <wincodec.h>

#include <initializer_list>

#include "engines/chromium/devtools.h"
#include "engines/common/image.h"

void PrepareFrameDecoder() { ImagingFactory(); }

bool DecodeFrame(const std::string& base64, Frame* frame) {
    std::string bytes = FromBase64(base64);
    IWICImagingFactory* factory = ImagingFactory();
    if (bytes.empty() || !factory) return false;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* source = nullptr;
    IWICBitmapSource* converted = nullptr;
    UINT width = 0, height = 0;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &source)) &&
              // JPEG's own format: no conversion pass, which costs as much as the decoding under Wine.
              SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, source, &converted)) &&
              SUCCEEDED(converted->GetSize(&width, &height)) && width > 0 && height > 0;
    UINT stride = (width * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(ok ? static_cast<size_t>(stride) * height : 0);
    ok = ok && SUCCEEDED(converted->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()));
    for (IUnknown* object : std::initializer_list<IUnknown*>{converted, source, decoder, stream})
        if (object) object->Release();
    if (!ok) return false;
    frame->width = static_cast<int>(width);
    frame->height = static_cast<int>(height);
    frame->pixels = std::move(pixels);
    return true;
}

void PaintFrame(HDC dc, const RECT& client, const Frame& frame) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = frame.width;
    info.bmiHeader.biHeight = -frame.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    if (!frame.pixels.empty())
        SetDIBitsToDevice(dc, 0, 0, frame.width, frame.height, 0, 0, 0, frame.height, frame.pixels.data(), &info,
                          DIB_RGB_COLORS);
    // While Chromium catches up with a new size, the rest stays white.
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RECT right = {frame.width, 0, client.right, client.bottom}, below = {0, frame.height, frame.width, client.bottom};
    if (right.left < right.right) FillRect(dc, &right, white);
    if (below.top < below.bottom) FillRect(dc, &below, white);
}
