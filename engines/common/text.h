// Text between the engines' UTF-16 faces and the UTF-8 of their logs, the
// DevTools protocol and data addresses; and the small files they keep.
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);
// The bytes of a small file (the first MB at most); "" when it can't be read.
std::string ReadFileText(const std::wstring& path);
