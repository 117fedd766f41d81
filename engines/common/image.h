// Pictures through the Windows Imaging Component: the page's icon as the
// program asks for it, and the plain icon the test engine's pages have.
#pragma once

#include <wincodec.h>

#include <string>

#include "webview/webview2.h"

// The imaging factory, made once COM is there to make it; null before.
IWICImagingFactory* ImagingFactory();
// A square PNG of one colour.
std::string SolidPng(COLORREF color, UINT size);
// An image WIC can read (PNG, ICO, JPEG, GIF, BMP) as a stream in the format
// asked for, at its start; its first frame only.
HRESULT EncodeImage(const std::string& image, COREWEBVIEW2_FAVICON_IMAGE_FORMAT format, IStream** stream);
