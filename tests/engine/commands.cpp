// The control channel: what the page "does" when a test says so. Words are
// separated by spaces; see engine_protocol.h and README.md.
#include "tests/engine/test_browser.h"
#include "tests/engine/engine_protocol.h"

#include <sstream>

namespace {

// A whole-word number in [low, high], or -1.
int Number(const std::wstring& word, int low, int high) {
    if (word.empty() || word.size() > 4 || word.find_first_not_of(L"0123456789") != std::wstring::npos) return -1;
    int value = std::stoi(word);
    return value >= low && value <= high ? value : -1;
}

bool Run(const TestBrowserPtr& b, const std::vector<std::wstring>& words) {
    const std::wstring& verb = words[0];
    size_t count = words.size();
    Navigation nav;
    nav.userInitiated = true;  // the user clicked, the page's server redirected, and so on
    if ((verb == kEngineCmdLink && count == 2) || (verb == kEngineCmdRedirect && count >= 3)) {
        nav.hops.assign(words.begin() + 1, words.end());
        StartNavigation(b, nav);
    } else if (verb == kEngineCmdFail && count == 3) {
        int status = Number(words[1], COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT,
                            COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED);
        if (status < 0) return false;
        nav.hops = {words[2]};
        nav.failWith = static_cast<COREWEBVIEW2_WEB_ERROR_STATUS>(status);
        StartNavigation(b, nav);
    } else if (verb == kEngineCmdPopup && count == 2) {
        RequestPopup(b, words[1]);
    } else if (verb == kEngineCmdRequest && (count == 2 || count == 3)) {
        int context = count == 3 ? Number(words[2], COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT,
                                          COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER)
                                 : COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER;
        if (context < 0) return false;
        RequestResource(b, words[1], static_cast<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>(context));
    } else if (verb == kEngineCmdFullscreen && count == 2 && (words[1] == L"on" || words[1] == L"off")) {
        SetFullscreenElement(b, words[1] == L"on");
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool RunCommand(const TestBrowserPtr& b, const std::wstring& text) {
    std::wistringstream stream(text);
    std::vector<std::wstring> words;
    for (std::wstring word; stream >> word;) words.push_back(word);
    bool understood = !words.empty() && Run(b, words);
    EngineLog((understood ? L"command " : L"command rejected ") + text);
    return understood;
}
