#include "engines/common/image.h"

#include <initializer_list>
#include <vector>

namespace {

// Writes source into a new stream in the container's format.
HRESULT Encode(IWICBitmapSource* source, const GUID& container, IStream** out) {
    IWICImagingFactory* factory = ImagingFactory();
    if (!factory) return CO_E_NOTINITIALIZED;
    IStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr)) hr = factory->CreateEncoder(container, nullptr, &encoder);
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, nullptr);
    if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr)) hr = frame->WriteSource(source, nullptr);
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    LARGE_INTEGER start = {};
    if (SUCCEEDED(hr)) hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
    for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder})
        if (object) object->Release();
    if (SUCCEEDED(hr)) {
        *out = stream;
    } else if (stream) {
        stream->Release();
    }
    return hr;
}

std::string ReadAll(IStream* stream) {
    std::string bytes;
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0) bytes.append(buffer, read);
    return bytes;
}

}  // namespace

IWICImagingFactory* ImagingFactory() {
    static IWICImagingFactory* factory;
    if (!factory) CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    return factory;
}

std::string SolidPng(COLORREF color, UINT size) {
    IWICImagingFactory* factory = ImagingFactory();
    std::vector<BYTE> pixels(size * size * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = GetBValue(color);
        pixels[i + 1] = GetGValue(color);
        pixels[i + 2] = GetRValue(color);
    }
    IWICBitmap* bitmap = nullptr;
    IStream* stream = nullptr;
    std::string png;
    if (factory && SUCCEEDED(factory->CreateBitmapFromMemory(size, size, GUID_WICPixelFormat24bppBGR, size * 3,
                                                             static_cast<UINT>(pixels.size()), pixels.data(), &bitmap)) &&
        SUCCEEDED(Encode(bitmap, GUID_ContainerFormatPng, &stream))) {
        png = ReadAll(stream);
        stream->Release();
    }
    if (bitmap) bitmap->Release();
    return png;
}

HRESULT EncodeImage(const std::string& image, COREWEBVIEW2_FAVICON_IMAGE_FORMAT format, IStream** out) {
    IWICImagingFactory* factory = ImagingFactory();
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!factory) return CO_E_NOTINITIALIZED;
    IWICStream* input = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    bool jpeg = format == COREWEBVIEW2_FAVICON_IMAGE_FORMAT_JPEG;
    HRESULT hr = factory->CreateStream(&input);
    if (SUCCEEDED(hr))
        hr = input->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(image.data())),
                                         static_cast<DWORD>(image.size()));
    if (SUCCEEDED(hr)) hr = factory->CreateDecoderFromStream(input, nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
    // JPEG has no transparency: its encoder takes plain BGR.
    if (SUCCEEDED(hr))
        hr = WICConvertBitmapSource(jpeg ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppBGRA, frame, &converted);
    if (SUCCEEDED(hr)) hr = Encode(converted, jpeg ? GUID_ContainerFormatJpeg : GUID_ContainerFormatPng, out);
    for (IUnknown* object : std::initializer_list<IUnknown*>{converted, frame, decoder, input})
        if (object) object->Release();
    return hr;
}
