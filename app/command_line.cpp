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
    auto is = [&](int i, const wchar_t* word) { return CompareStringOrdinal(words[i], -1, word, -1, TRUE) == CSTR_EQUAL; };
    for (int i = 1; i < count; ++i) {
        if (is(i, L"--background")) {
            parsed.background = true;
        } else if (is(i, L"--app") || is(i, L"--remove-app")) {
            // The id that follows; a missing one is an empty id, which names no app.
            bool remove = is(i, L"--remove-app");
            (remove ? parsed.removeAppGiven : parsed.appGiven) = true;
            if (i + 1 < count) (remove ? parsed.removeApp : parsed.app) = words[++i];
        }
    }
    LocalFree(words);
    return parsed;
}
