// The control channel: what the page "does" when a test says so. Words are
// separated by spaces; see engine_protocol.h and README.md.
#include "engines/test/test_browser.h"

#include "engines/common/engine_protocol.h"
#include "engines/common/uri.h"

#include <sstream>

namespace {

// A whole-word number in [low, high], or -1.
int Number(const std::wstring& word, int low, int high) {
    if (word.empty() || word.size() > 4 || word.find_first_not_of(L"0123456789") != std::wstring::npos) return -1;
    int value = std::stoi(word);
    return value >= low && value <= high ? value : -1;
}

// The requesting side a "request" command names, as a RequestSource; -1 when unknown.
int SourceNamed(const std::wstring& word) {
    const wchar_t* const kNames[] = {L"frame", L"cross-frame", L"worker", L"shared-worker", L"service-worker"};
    for (int i = 0; i < 5; ++i)
        if (word == kNames[i]) return i;
    return -1;
}

// The words from first on, joined by single spaces.
std::wstring Join(const std::vector<std::wstring>& words, size_t first) {
    std::wstring text;
    for (size_t i = first; i < words.size(); ++i) text += (i > first ? L" " : L"") + words[i];
    return text;
}

// "permission <kind> [origin] [script]"; false when malformed.
bool AskedPermission(const TestBrowserPtr& b, const std::vector<std::wstring>& words) {
    bool script = words.size() > 2 && words.back() == L"script";
    size_t origins = words.size() - 2 - script;
    int kind = Number(words[1], COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION,
                      COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT);
    if (kind < 0 || origins > 1) return false;
    AskPermission(b, static_cast<COREWEBVIEW2_PERMISSION_KIND>(kind), origins ? words[2] : L"", !script);
    return true;
}

// "favicon <url> [#rrggbb|unanswered]" or "favicon none"; a colour of the address's own when none is given.
bool NamedFavicon(const TestBrowserPtr& b, const std::vector<std::wstring>& words) {
    COLORREF color = static_cast<COLORREF>(std::hash<std::wstring>()(words[1]) & 0xFFFFFF);
    bool answered = words.size() < 3 || words[2] != L"unanswered";
    if (words.size() == 3 && answered && !ParseColor(words[2], &color)) return false;
    SetFavicon(b, words[1] == L"none" ? L"" : CanonicalUri(words[1]), color, answered);
    return true;
}

bool Run(const TestBrowserPtr& b, const std::vector<std::wstring>& words) {
    const std::wstring& verb = words[0];
    size_t count = words.size();
    Navigation nav;
    nav.userInitiated = verb != kEngineCmdNavigate;  // the user clicked, the page's server redirected, and so on
    if ((verb == kEngineCmdLink && count == 2) || (verb == kEngineCmdNavigate && count == 2) ||
        (verb == kEngineCmdRedirect && count >= 3)) {
        nav.hops.assign(words.begin() + 1, words.end());
        StartNavigation(b, nav);
    } else if ((verb == kEngineCmdFail || verb == kEngineCmdAbort) && count == 3) {
        int status = Number(words[1], COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT,
                            COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED);
        if (status < 0) return false;
        nav.hops = {words[2]};
        nav.failWith = static_cast<COREWEBVIEW2_WEB_ERROR_STATUS>(status);
        nav.commits = verb == kEngineCmdFail;
        StartNavigation(b, nav);
    } else if (verb == kEngineCmdDownload && count == 2) {
        nav.hops = {words[1]};
        nav.failWith = COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED;
        nav.commits = false;
        nav.download = true;
        StartNavigation(b, nav);
    } else if (verb == kEngineCmdAnswer && count == 3) {
        nav.httpStatus = Number(words[1], 100, 599);
        if (nav.httpStatus < 0) return false;
        nav.hops = {words[2]};
        StartNavigation(b, nav);
    } else if ((verb == kEngineCmdAuth || verb == kEngineCmdCertError) && count == 2) {
        nav.hops = {words[1]};
        nav.challenge = verb == kEngineCmdAuth ? Challenge::kSignIn : Challenge::kBadCertificate;
        StartNavigation(b, nav);
    } else if ((verb == kEngineCmdDown || verb == kEngineCmdUp) && count == 2) {
        SetServerDown(HostOf(CanonicalUri(L"http://" + words[1] + L"/")), verb == kEngineCmdDown);
    } else if (verb == kEngineCmdRedirects && count == 3) {
        b->redirects[CanonicalUri(words[1])] = CanonicalUri(words[2]);
    } else if (verb == kEngineCmdRedirects && count == 2) {
        b->redirects.erase(CanonicalUri(words[1]));
    } else if (verb == kEngineCmdPopup && (count == 2 || (count == 3 && words[2] == L"script"))) {
        RequestPopup(b, words[1], count == 2);
    } else if (verb == kEngineCmdFrameLink && (count == 2 || (count == 3 && words[2] == L"script"))) {
        FollowFrameLink(b, words[1], count == 2);
    } else if (verb == kEngineCmdRequest && count >= 2 && count <= 4) {
        int context = count >= 3 ? Number(words[2], COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT,
                                          COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER)
                                 : COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER;
        int source = count == 4 ? SourceNamed(words[3]) : 0;
        if (context < 0 || source < 0) return false;
        RequestResource(b, words[1], static_cast<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>(context),
                        static_cast<RequestSource>(source));
    } else if (verb == kEngineCmdCrash && count == 2) {
        int kind = Number(words[1], COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED,
                          COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED);
        if (kind < 0) return false;
        FailProcess(b, static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(kind));
    } else if (verb == kEngineCmdFullscreen && count == 2 && (words[1] == L"on" || words[1] == L"off")) {
        SetFullscreenElement(b, words[1] == L"on");
    } else if (verb == kEngineCmdBeforeUnload && count == 2 && (words[1] == L"on" || words[1] == L"off")) {
        b->beforeUnload = words[1] == L"on";
    } else if (verb == kEngineCmdAudio && count == 2 && (words[1] == L"on" || words[1] == L"off")) {
        b->playingAudio = words[1] == L"on";
    } else if ((verb == kEngineCmdAlert || verb == kEngineCmdConfirm) && count >= 2) {
        OpenPageDialog(b, verb == kEngineCmdAlert ? COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT : COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM,
                       Join(words, 1), L"");
    } else if (verb == kEngineCmdPrompt && count >= 3) {
        OpenPageDialog(b, COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT, Join(words, 2), words[1]);
    } else if (verb == kEngineCmdPermission && count >= 2 && count <= 4) {
        return AskedPermission(b, words);
    } else if (verb == kEngineCmdNotify && count >= 2) {
        MakeNotification(b, words[1], Join(words, 2));
    } else if (verb == kEngineCmdNotifyClose && count == 2) {
        return CloseNotification(b, words[1]);
    } else if (verb == kEngineCmdTitle && count >= 2) {
        SetTitle(b, Join(words, 1));
    } else if (verb == kEngineCmdFavicon && (count == 2 || count == 3)) {
        return NamedFavicon(b, words);
    } else if (verb == kEngineCmdOpens && count == 2) {
        return OpenFileDialog(b, words[1]);
    } else if (verb == kEngineCmdProfileDelete && count == 1) {
        b->profile->Delete();
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
