#include "app/app_icon.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "app/com_ref.h"
#include "app/exe_path.h"
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

// An image in memory as WIC decodes it, up to its first frame; members in
// the order they are made, so they are let go of last first.
struct DecodedImage {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;

    // false when the size bytes at image can't be decoded; they must outlive this object.
    bool Decode(const char* image, size_t size) {
        return size &&
               SUCCEEDED(CoCreateInstance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                          factory.out())) &&
               SUCCEEDED(factory->CreateStream(&stream)) &&
               SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(image)),
                                                      static_cast<DWORD>(size))) &&
               SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
               SUCCEEDED(decoder->GetFrame(0, &frame));
    }
};

bool IconFromImage(const std::string& image, std::string* ico) {
    DecodedImage decoded;
    ComRef<IWICFormatConverter> source;
    UINT width, height;
    if (!decoded.Decode(image.data(), image.size()) || FAILED(decoded.factory->CreateFormatConverter(&source)) ||
        // Scaling premultiplied pixels keeps transparent ones' colour out of the edges.
        FAILED(source->Initialize(decoded.frame, kPremultipliedBgra, WICBitmapDitherTypeNone, nullptr, 0,
                                  WICBitmapPaletteTypeCustom)) ||
        FAILED(source->GetSize(&width, &height)) || !width || !height)
        return false;
    IWICImagingFactory* factory = decoded.factory;
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
    *ico = IconFileBytes(images, ARRAYSIZE(kSizes));
    return true;
}

bool WriteIconFromPng(const std::string& png, const std::wstring& path) {
    std::string ico;
    return IconFromImage(png, &ico) && ReplaceFileWhole(path, ico);
}

IconFileRead ReadIconFileBytes(const std::wstring& path, std::string* bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return IconFileRead::kUnreadable;
    LARGE_INTEGER size = {};
    DWORD done = 0;
    IconFileRead result = IconFileRead::kUnreadable;
    bool sized = GetFileSizeEx(file, &size);
    if (sized && size.QuadPart > kMaxIconFileBytes) {
        result = IconFileRead::kTooLarge;
    } else if (sized) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        if (ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &done, nullptr) && done == bytes->size())
            result = IconFileRead::kRead;
    }
    CloseHandle(file);
    return result;
}

bool IsPng(const char* image, size_t size) { return size >= 8 && !memcmp(image, "\x89PNG\r\n\x1A\n", 8); }

// An .ico file's directory entry, as the file holds it after the 6 bytes of
// ICONDIR (reserved 0, type 1, a count): its image's width and height (0 for
// 256), colours, planes and bits per pixel, then its size and offset.
struct IconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD size, offset;
};
static_assert(sizeof(IconEntry) == 16, "an entry is 16 bytes");

// Whether the size bytes at image, not a PNG, are the bitmap entry says: a
// BITMAPINFOHEADER of its width, twice its height (the colours, then the
// mask) and its bits per pixel (where it gives them), uncompressed, and bytes
// enough for its palette, colours and mask.
static bool IsBitmapOfEntry(const char* image, size_t size, const IconEntry& entry) {
    BITMAPINFOHEADER head;
    if (size < sizeof head) return false;
    memcpy(&head, image, sizeof head);
    const UINT64 width = entry.width ? entry.width : 256, height = entry.height ? entry.height : 256;
    const WORD bits = head.biBitCount;
    if (head.biSize != sizeof head || UINT64(head.biWidth) != width || UINT64(head.biHeight) != 2 * height ||
        head.biPlanes != 1 || head.biCompression != BI_RGB || (entry.bits && entry.bits != bits) ||
        bits > 32 || !(0x101000112ull >> bits & 1) || head.biClrUsed > 256)  // 1, 4, 8, 24 or 32 bits
        return false;
    // Past 8 bits a palette is optional, but the colours still follow it.
    const UINT64 palette = (head.biClrUsed ? head.biClrUsed : bits > 8 ? 0 : 1u << bits) * 4;
    const UINT64 colours = (width * bits + 31) / 32 * 4 * height, mask = (width + 31) / 32 * 4 * height;
    return sizeof head + palette + colours + mask <= size;
}

IconFault IconFileFault(const std::string& bytes, unsigned* image) {
    *image = 0;
    WORD head[3] = {};
    if (bytes.size() >= sizeof head) memcpy(head, bytes.data(), sizeof head);
    if (head[0] != 0 || head[1] != 1 || !head[2]) return IconFault::kNotIcon;
    if (head[2] > kMaxIconImages) return IconFault::kTooManyImages;
    const size_t images = sizeof head + sizeof(IconEntry) * head[2];
    if (bytes.size() < images) return IconFault::kNotIcon;
    IconEntry entries[kMaxIconImages];
    memcpy(entries, &bytes[sizeof head], images - sizeof head);
    for (unsigned i = 0; i < head[2]; ++i) {
        *image = i + 1;
        const size_t size = entries[i].size, offset = entries[i].offset;
        if (!size || offset > bytes.size() || size > bytes.size() - offset) return IconFault::kOutside;
        // Apart from the directory and from the images listed before it.
        if (offset < images) return IconFault::kOverlap;
        for (unsigned j = 0; j < i; ++j)
            if (offset < size_t(entries[j].offset) + entries[j].size && entries[j].offset < offset + size)
                return IconFault::kOverlap;
        const char* data = &bytes[offset];
        DecodedImage decoded;
        if (IsPng(data, size) ? !decoded.Decode(data, size) : !IsBitmapOfEntry(data, size, entries[i]))
            return IconFault::kUndecodable;
    }
    *image = 0;
    return IconFault::kNone;
}

bool WriteProgramIcon(const std::wstring& path, HMODULE module) {
    // The group: a 6-byte header like ICONDIR, then 14-byte entries that end
    // in the id of the RT_ICON resource holding the image, not an offset.
    std::string group = ExeResource(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    const WORD count = group.size() >= 6 ? *reinterpret_cast<const WORD*>(&group[4]) : 0;
    if (!count || group.size() < 6 + 14u * count) return false;
    IconImage images[16];
    if (count > ARRAYSIZE(images)) return false;
    for (WORD i = 0; i < count; ++i) {
        const char* entry = &group[6 + 14 * i];
        memcpy(images[i].head, entry, 8);
        WORD id;
        memcpy(&id, entry + 12, sizeof id);
        images[i].data = ExeResource(module, MAKEINTRESOURCEW(id), RT_ICON);
        if (images[i].data.empty()) return false;
    }
    return ReplaceFileWhole(path, IconFileBytes(images, count));
}
