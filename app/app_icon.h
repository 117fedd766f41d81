// A site app's icon as an .ico file beside its settings, with the sizes
// Windows shows it at: 16 to 48 pixels in lists, title bars and the taskbar,
// 256 for large tiles. All but WriteProgramIcon need COM on the calling
// thread; the writers replace the file whole: a failed write leaves the old
// icon as it was.
#pragma once

#include <windows.h>

#include <string>

// The image (a PNG, or any format Windows decodes) scaled to 16, 24, 32, 48
// and 256 pixels, a non-square one centred on a transparent square, each
// stored as a 32-bit PNG: the .ico file's bytes in ico. False when it can't
// be decoded.
bool IconFromImage(const std::string& image, std::string* ico);
// The same written to path; false when it can't be decoded or written.
bool WriteIconFromPng(const std::string& png, const std::wstring& path);
// Whether the size bytes at image begin with a PNG file's signature: Windows
// decodes other formats alike, whatever the file's name says.
bool IsPng(const char* image, size_t size);

// An icon file's bytes, up to kMaxIconFileBytes (4 MB holds a 256-pixel
// image many times over; more is no icon).
inline constexpr long long kMaxIconFileBytes = 4 << 20;
enum class IconFileRead { kRead, kUnreadable, kTooLarge };
IconFileRead ReadIconFileBytes(const std::wstring& path, std::string* bytes);

// What keeps bytes from being an .ico file the program takes: nothing; not
// an .ico file (its head, or its directory cut short); more images than
// kMaxIconImages (real icons hold a few dozen); an image that lies outside
// the file or over another (the directory's or an image's bytes); or one
// that is neither a PNG Windows decodes nor a bitmap whose header and size
// match its entry. image: the number (from 1) of the image at fault.
inline constexpr unsigned kMaxIconImages = 64;
enum class IconFault { kNone, kNotIcon, kTooManyImages, kOutside, kOverlap, kUndecodable };
IconFault IconFileFault(const std::string& bytes, unsigned* image);

// The program's own icon, icon group 1 of module (this exe when null), as the
// same kind of file: for an app whose site gave no icon.
bool WriteProgramIcon(const std::wstring& path, HMODULE module = nullptr);
