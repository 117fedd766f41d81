#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "settings/site_address.h"

namespace {

const unsigned kMaxIdleMinutes = 1440;  // a day

// A whole number of minutes the idle reset may wait, or 0.
unsigned IdleMinutes(const std::wstring& word) {
    if (word.empty() || word.size() > 4 || word.find_first_not_of(L"0123456789") != std::wstring::npos) return 0;
    unsigned minutes = static_cast<unsigned>(wcstoul(word.c_str(), nullptr, 10));
    return minutes <= kMaxIdleMinutes ? minutes : 0;
}

// The site a kiosk's line names, or what is wrong with it.
void TakeSite(const std::vector<std::wstring>& addresses, CommandLine& parsed) {
    if (addresses.size() > 1) {
        parsed.problem = L"A kiosk shows one site, but the command line names two: " + QuotedForMessage(addresses[0]) +
                         L" and " + QuotedForMessage(addresses[1]) + L".";
    } else if (addresses.size() == 1) {
        std::wstring site = addresses[0];
        if (NormalizeSiteAddress(site))
            parsed.site = site;
        else
            parsed.problem = L"The site address given with --kiosk is not valid: " + QuotedForMessage(addresses[0]) + L".";
    }
}

}  // namespace

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
    auto say = [&](const std::wstring& problem) {
        if (parsed.problem.empty()) parsed.problem = problem;  // the first one counts
    };
    std::vector<std::wstring> addresses;  // words that are no switch
    for (int i = 1; i < count; ++i) {
        std::wstring word = words[i];
        bool forProgram = true;  // a word of --make-program's
        if (is(i, L"--make-program")) {
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
        } else if (is(i, L"--publisher")) {
            value(i, &request.publisher);
        } else if (is(i, L"--version")) {
            value(i, &request.version);
        } else if (is(i, L"--allow")) {
            request.allow.emplace_back();
            value(i, &request.allow.back());
        } else {
            forProgram = false;
        }
        if (forProgram) continue;
        // Any other word is none of --make-program's.
        if (stray.empty()) stray = word;
        if (is(i, L"--background")) {
            parsed.background = true;
        } else if (is(i, L"--app") || is(i, L"--remove-app")) {
            // The id that follows; a missing one is an empty id, which names no app.
            bool remove = is(i, L"--remove-app");
            (remove ? parsed.removeAppGiven : parsed.appGiven) = true;
            if (i + 1 < count) (remove ? parsed.removeApp : parsed.app) = words[++i];
        } else if (is(i, L"--kiosk")) {
            parsed.kiosk.on = true;
        } else if (is(i, L"--kiosk-allow-sleep")) {
            parsed.kiosk.allowSleep = true;
        } else if (is(i, L"--kiosk-public")) {
            parsed.kiosk.inPrivate = true;
        } else if (is(i, L"--kiosk-idle-minutes")) {
            std::wstring given = i + 1 < count ? words[++i] : L"";
            parsed.kiosk.idleMinutes = IdleMinutes(given);
            if (!parsed.kiosk.idleMinutes)
                say(L"--kiosk-idle-minutes needs a whole number of minutes from 1 to 1440" +
                    (given.empty() ? std::wstring() : L", not " + QuotedForMessage(given)) + L".");
        } else if (word.size() > 7 && CompareStringOrdinal(word.c_str(), 7, L"--kiosk", 7, TRUE) == CSTR_EQUAL) {
            say(L"Velotide does not know the switch " + QuotedForMessage(word) + L".");
        } else if (word.rfind(L"--", 0) != 0) {
            addresses.push_back(word);
        }
    }
    if (!stray.empty()) fault(L"\u201C" + stray + L"\u201D is not a word --make-program takes.");
    LocalFree(words);
    if (parsed.kiosk.on) TakeSite(addresses, parsed);
    return parsed;
}

std::wstring QuotedForMessage(const std::wstring& word) {
    std::wstring shown = word.substr(0, 64);
    for (wchar_t& c : shown)
        if (c < 0x20) c = L' ';
    return L"\u201C" + shown + L"\u201D";
}

int SayCommandLineProblem(const std::wstring& problem) {
    MessageBoxW(nullptr, problem.c_str(), L"Velotide", MB_ICONERROR);
    return 2;
}
