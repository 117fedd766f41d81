// Text between the engines' UTF-16 faces and the UTF-8 of their logs, the
// DevTools protocol and data addresses.
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);
