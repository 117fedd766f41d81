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
    ProgramRequest& request = parsed.makeProgram;
    std::wstring stray;  // the first word --make-program doesn't take
    auto fault = [&](const std::wstring& text) {
        if (request.fault.empty()) request.fault = text;
    };
    // The value after switch i; said as a fault when it is missing or given twice.
    auto value = [&](int& i, std::wstring* slot) {
        if (i + 1 >= count) return fault(std::wstring(words[i]) + L" needs a value.");
        if (!slot->empty()) fault(std::wstring(words[i]) + L" is given twice.");
        *slot = words[++i];
    };
    for (int i = 1; i < count; ++i) {
        if (is(i, L"--background")) {
            parsed.background = true;
            if (stray.empty()) stray = words[i];
        } else if (is(i, L"--app") || is(i, L"--remove-app")) {
            // The id that follows; a missing one is an empty id, which names no app.
            bool remove = is(i, L"--remove-app");
            (remove ? parsed.removeAppGiven : parsed.appGiven) = true;
            if (stray.empty()) stray = words[i];
            if (i + 1 < count) (remove ? parsed.removeApp : parsed.app) = words[++i];
        } else if (is(i, L"--make-program")) {
            // The file to write comes first; a switch there means it is missing.
            parsed.makeProgramGiven = true;
            if (i + 1 < count && wcsncmp(words[i + 1], L"--", 2) != 0) request.out = words[++i];
        } else if (is(i, L"--url")) {
            value(i, &request.url);
        } else if (is(i, L"--name")) {
            value(i, &request.name);
        } else if (is(i, L"--icon")) {
            value(i, &request.icon);
        } else if (is(i, L"--notifications")) {
            value(i, &request.notifications);
        } else if (is(i, L"--allow")) {
            request.allow.emplace_back();
            value(i, &request.allow.back());
        } else if (stray.empty()) {
            stray = words[i];
        }
    }
    if (!stray.empty()) fault(L"\u201C" + stray + L"\u201D is not a word --make-program takes.");
    LocalFree(words);
    return parsed;
}
