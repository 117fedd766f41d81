#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

CommandLine ParseCommandLine(const wchar_t* line) {
    CommandLine parsed;
    // An empty line would stand for this process's own exe.
    int count = 0;
    wchar_t** words = *line ? CommandLineToArgvW(line, &count) : nullptr;
    if (!words) return parsed;
    parsed.program = words[0];
    for (int i = 1; i < count; ++i)
        if (CompareStringOrdinal(words[i], -1, L"--background", -1, TRUE) == CSTR_EQUAL) parsed.background = true;
    LocalFree(words);
    return parsed;
}
