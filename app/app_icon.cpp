#include "app/app_icon.h"

#include <wincodec.h>

#include <algorithm>

#include "app/com_ref.h"
#include "settings/replace_file.h"

// WIC's class and format ids, here rather than from the uuid library.
static const GUID kImagingFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
static const GUID kPngFormat = {0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
static const GUID kBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};
static const GUID kPremultipliedBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};
// WICBitmapInterpolationModeHighQualityCubic (Windows 10 on); Fant before it.
static const WICBitmapInterpolationMode kHighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

static const UINT kSizes[] = {16, 24, 32, 48, 256};

// One image of an .ico: its directory entry's first eight bytes (width,
// height, colours, reserved, planes, bits per pixel) and its data.
struct IconImage {
    BYTE head[8];
    std::string data;
};

// ICONDIR, one ICONDIRENTRY per image (size and offset after the head), then
// the images in order.
static std::string IconFileBytes(const IconImage* images, WORD count) {
    const WORD dir[3] = {0, 1, count};
    std::string bytes(reinterpret_cast<const char*>(dir), sizeof dir);
    DWORD offset = sizeof dir + 16u * count;
    for (WORD i = 0; i < count; ++i) {
        const DWORD place[2] = {static_cast<DWORD>(images[i].data.size()), offset};
        bytes.append(reinterpret_cast<const char*>(images[i].head), 8);
        bytes.append(reinterpret_cast<const char*>(place), sizeof place);
        offset += place[0];
    }
    for (WORD i = 0; i < count; ++i) bytes += images[i].data;
    return bytes;
}

// size x size premultiplied BGRA pixels as a PNG (straight alpha, as PNG holds).
static bool EncodePng(IWICImagingFactory* factory, UINT size, BYTE* pixels, std::string* png) {
    for (BYTE *p = pixels, *end = pixels + size * size * 4; p < end; p += 4) {
        if (!p[3] || p[3] == 255) continue;
        for (int c = 0; c < 3; ++c) p[c] = static_cast<BYTE>(std::min(255, (p[c] * 255 + p[3] / 2) / p[3]));
    }
    ComRef<IStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = kBgra;
    HGLOBAL memory;
    STATSTG stat;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(kPngFormat, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(size, size)) || FAILED(frame->SetPixelFormat(&format)) || format != kBgra ||
        FAILED(frame->WritePixels(size, size * 4, size * size * 4, pixels)) || FAILED(frame->Commit()) ||
        FAILED(encoder->Commit()) || FAILED(GetHGlobalFromStream(stream, &memory)) ||
        FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return false;
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    if (!bytes) return false;
    png->assign(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return true;
}

bool WriteIconFromPng(const std::string& png, const std::wstring& path) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> source;
    UINT width, height;
    if (png.empty() ||
        FAILED(CoCreateInstance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                factory.out())) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(png.data())),
                                            static_cast<DWORD>(png.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&source)) ||
        // Scaling premultiplied pixels keeps transparent ones' colour out of the edges.
        FAILED(source->Initialize(frame, kPremultipliedBgra, WICBitmapDitherTypeNone, nullptr, 0,
                                  WICBitmapPaletteTypeCustom)) ||
        FAILED(source->GetSize(&width, &height)) || !width || !height)
        return false;
    IconImage images[ARRAYSIZE(kSizes)];
    for (size_t i = 0; i < ARRAYSIZE(kSizes); ++i) {
        // The longer side fills the square; the other is centred on it.
        UINT size = kSizes[i];
        UINT w = width >= height ? size : std::max(1u, static_cast<UINT>(UINT64(width) * size / height));
        UINT h = height >= width ? size : std::max(1u, static_cast<UINT>(UINT64(height) * size / width));
        std::string pixels(size * size * 4, '\0');
        UINT offset = ((size - h) / 2 * size + (size - w) / 2) * 4;
        ComRef<IWICBitmapScaler> scaler;
        if (FAILED(factory->CreateBitmapScaler(&scaler)) ||
            (FAILED(scaler->Initialize(source, w, h, kHighQualityCubic)) &&
             FAILED(scaler->Initialize(source, w, h, WICBitmapInterpolationModeFant))) ||
            FAILED(scaler->CopyPixels(nullptr, size * 4, static_cast<UINT>(pixels.size()) - offset,
                                      reinterpret_cast<BYTE*>(&pixels[offset]))) ||
            !EncodePng(factory, size, reinterpret_cast<BYTE*>(&pixels[0]), &images[i].data))
            return false;
        const BYTE head[8] = {static_cast<BYTE>(size), static_cast<BYTE>(size), 0, 0, 1, 0, 32, 0};
        memcpy(images[i].head, head, sizeof head);
    }
    return ReplaceFileWhole(path, IconFileBytes(images, ARRAYSIZE(kSizes)));
}

// A resource's bytes; empty when module has none of that name and type.
static std::string ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found)) : std::string();
}

bool WriteProgramIcon(const std::wstring& path, HMODULE module) {
    // The group: a 6-byte header like ICONDIR, then 14-byte entries that end
    // in the id of the RT_ICON resource holding the image, not an offset.
    std::string group = ResourceBytes(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    const WORD count = group.size() >= 6 ? *reinterpret_cast<const WORD*>(&group[4]) : 0;
    if (!count || group.size() < 6 + 14u * count) return false;
    IconImage images[16];
    if (count > ARRAYSIZE(images)) return false;
    for (WORD i = 0; i < count; ++i) {
        const char* entry = &group[6 + 14 * i];
        memcpy(images[i].head, entry, 8);
        WORD id;
        memcpy(&id, entry + 12, sizeof id);
        images[i].data = ResourceBytes(module, MAKEINTRESOURCEW(id), RT_ICON);
        if (images[i].data.empty()) return false;
    }
    return ReplaceFileWhole(path, IconFileBytes(images, count));
}
