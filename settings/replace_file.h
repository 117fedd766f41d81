// Replacing a file of the data directory whole: the new bytes go to a file
// beside it first, and only a complete copy takes its place.
#pragma once

#include <string>

// Writes bytes to path + ".tmp", forces them to disk and moves that file over
// path. On any failure the file at path stays as it was, the temporary file is
// removed, and the result is false.
bool ReplaceFileWhole(const std::wstring& path, const std::string& bytes);
