// The check of an .ico file handed to --make-program, over crafted files:
// the directory, each image's place in the file, and each image decoded.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <vector>

#include "app/app_icon.h"

namespace {

// A 1x1 PNG Windows decodes.
const std::string kPng(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x06\x00\x00"
    "\x00\x1F\x15\xC4\x89\x00\x00\x00\x0D\x49\x44\x41\x54\x78\x9C\x63\x10\x50\x30\xF8\x0F\x00\x02\x04\x01\x60\x8D\xBC"
    "\xBB\x71\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
    70);

// A bitmap image as an .ico holds it: its header, palette, colours and mask.
// used: its palette's colours (biClrUsed), 0 for as many as its bits give.
std::string Bitmap(LONG width, LONG height, WORD bits, DWORD compression = BI_RGB, long extra = 0, DWORD used = 0) {
    BITMAPINFOHEADER head = {sizeof(BITMAPINFOHEADER), width, height, 1, bits, compression, 0, 0, 0, used, 0};
    const LONG rows = height / 2;
    size_t size = sizeof head + (used ? 4 * used : bits <= 8 ? 4u << bits : 0) + (width * bits + 31) / 32 * 4 * rows +
                  (width + 31) / 32 * 4 * rows + extra;
    std::string image(size, '\x40');
    memcpy(image.data(), &head, sizeof head);
    return image;
}

struct Image {
    BYTE width, height;  // 0 for 256
    WORD bits;
    std::string data;
    DWORD size = 0, offset = 0;  // when not 0: instead of where the data lies
};

// The .ico: its directory, then each image's data in turn.
std::string Ico(const std::vector<Image>& images) {
    const WORD head[3] = {0, 1, static_cast<WORD>(images.size())};
    std::string bytes(reinterpret_cast<const char*>(head), sizeof head), data;
    for (const Image& image : images) {
        const DWORD place[2] = {image.size ? image.size : static_cast<DWORD>(image.data.size()),
                                image.offset ? image.offset
                                             : static_cast<DWORD>(6 + 16 * images.size() + data.size())};
        const BYTE entry[8] = {image.width, image.height, 0, 0, 1, 0, static_cast<BYTE>(image.bits), 0};
        bytes.append(reinterpret_cast<const char*>(entry), 8).append(reinterpret_cast<const char*>(place), 8);
        data += image.data;
    }
    return bytes + data;
}

TEST(AppIconTest, EachImageLiesInItsOwnPlaceAndDecodes) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for WIC
    const Image png = {1, 1, 32, kPng};
    const DWORD first = 6 + 16 * 2;  // where the first of two images begins
    const struct {
        const char* what;
        std::string bytes;
        IconFault fault;
        unsigned image;
    } kCases[] = {
        {"a PNG and bitmaps of 32, 8, 4 and 1 bits",
         Ico({png, {16, 16, 32, Bitmap(16, 32, 32)}, {32, 32, 8, Bitmap(32, 64, 8)}, {48, 48, 4, Bitmap(48, 96, 4)},
              {16, 16, 0, Bitmap(16, 32, 1)}}),
         IconFault::kNone, 0},
        {"a 256-pixel bitmap, entry 0", Ico({{0, 0, 32, Bitmap(256, 512, 32)}}), IconFault::kNone, 0},
        {"64 images", Ico(std::vector<Image>(64, png)), IconFault::kNone, 0},
        {"65 images", Ico(std::vector<Image>(65, png)), IconFault::kTooManyImages, 0},
        {"no images", Ico({}), IconFault::kNotIcon, 0},
        {"a directory cut short", Ico({png, png}).substr(0, 30), IconFault::kNotIcon, 0},
        {"a size past the end", Ico({png, {1, 1, 32, kPng, 71}}), IconFault::kOutside, 2},
        {"an offset past the end", Ico({png, {1, 1, 32, kPng, 0, 4000}}), IconFault::kOutside, 2},
        // Many entries on one block would make a program many times the file's size.
        {"two entries on one image", Ico({png, {1, 1, 32, kPng, 70, first}}), IconFault::kOverlap, 2},
        {"one over the start of one listed before", Ico({{1, 1, 32, kPng, 0, first + 70}, {1, 1, 32, kPng, 71, first}}),
         IconFault::kOverlap, 2},
        {"an image over the directory", Ico({png, {1, 1, 32, kPng, 70, 6}}), IconFault::kOverlap, 2},
        {"a PNG cut short", Ico({png, {1, 1, 32, kPng.substr(0, 20)}}), IconFault::kUndecodable, 2},
        {"a bitmap of another width", Ico({png, {32, 16, 32, Bitmap(16, 32, 32)}}), IconFault::kUndecodable, 2},
        {"a bitmap whose height has no mask", Ico({{16, 16, 32, Bitmap(16, 16, 32)}}), IconFault::kUndecodable, 1},
        {"a bitmap of 2 bits", Ico({{16, 16, 0, Bitmap(16, 32, 2)}}), IconFault::kUndecodable, 1},
        {"a compressed bitmap", Ico({{16, 16, 8, Bitmap(16, 32, 8, BI_RLE8)}}), IconFault::kUndecodable, 1},
        {"a bitmap a byte short", Ico({{16, 16, 32, Bitmap(16, 32, 32, BI_RGB, -1)}}), IconFault::kUndecodable, 1},
        {"an 8-bit bitmap of 16 colours", Ico({{32, 32, 8, Bitmap(32, 64, 8, BI_RGB, 0, 16)}}), IconFault::kNone, 0},
        {"a 32-bit bitmap with a palette", Ico({{16, 16, 32, Bitmap(16, 32, 32, BI_RGB, 0, 256)}}), IconFault::kNone,
         0},
        // Its colours follow the palette it names, so they would end past the image.
        {"a 32-bit bitmap without the palette it names", Ico({{16, 16, 32, Bitmap(16, 32, 32, BI_RGB, -1024, 256)}}),
         IconFault::kUndecodable, 1},
    };
    for (const auto& c : kCases) {
        unsigned image = 99;
        EXPECT_EQ(IconFileFault(c.bytes, &image), c.fault) << c.what;
        EXPECT_EQ(image, c.image) << c.what;
    }
}

}  // namespace
