// A picture of the page as Chromium renders it: a screencast frame decoded
// with the Windows Imaging Component, and painted into the view window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Frame {
    int width = 0, height = 0;
    std::vector<BYTE> pixels;  // 24-bit BGR rows, top-down, each padded to 4 bytes
};

// Loads the imaging component ahead of the first frame, which then paints sooner.
void PrepareFrameDecoder();
// Decodes a base64 JPEG or PNG; false (and the frame untouched) when it isn't one.
bool DecodeFrame(const std::string& base64, Frame* frame);
// Paints the frame at the client's top left, white where it doesn't reach.
void PaintFrame(HDC dc, const RECT& client, const Frame& frame);
