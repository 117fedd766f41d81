#include "engines/common/permissions.h"

#include <sstream>

#include "engines/common/args.h"
#include "engines/common/text.h"

namespace {

const size_t kDocumentAnswers = 64;

// The profile's answers: a line "<kind> allow|deny <origin>" each, the latest
// for an origin and kind counting.
std::wstring StorePath(const Browser& b) {
    return b.profileFolder.empty() ? L"" : b.profileFolder + L"\\EBWebView\\permissions.txt";
}

std::wstring ReadStore(const Browser& b) {
    std::string bytes;
    HANDLE file = CreateFileW(StorePath(b).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"";
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0 && bytes.size() < (1u << 20))
        bytes.append(buffer, read);
    CloseHandle(file);
    return Wide(bytes);
}

// False when there is no profile to keep it in.
bool Save(const Browser& b, const PermissionRequest& request, bool allow) {
    if (b.profileFolder.empty()) return false;
    CreateDirectoryW(b.profileFolder.c_str(), nullptr);
    CreateDirectoryW((b.profileFolder + L"\\EBWebView").c_str(), nullptr);
    std::string line = Utf8(std::to_wstring(request.kind) + (allow ? L" allow " : L" deny ") + request.origin + L"\n");
    HANDLE file = CreateFileW(StorePath(b).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool saved = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) && written == line.size();
    CloseHandle(file);
    return saved;
}

// The saved answer for origin: 1 allowed, 0 denied, -1 none.
int SavedAnswer(const Browser& b, const std::wstring& origin, COREWEBVIEW2_PERMISSION_KIND kind) {
    int answer = -1;
    for (const auto& [saved, allowed] : SavedPermissions(b, kind))
        if (saved == origin) answer = allowed;
    return answer;
}

std::wstring DocumentKey(const std::wstring& document, COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin) {
    return document + L" " + std::to_wstring(kind) + L" " + origin;
}

// Tells the page and remembers it for the document.
void Tell(Browser& b, const PermissionRequest& request, bool granted, const std::function<void(bool)>& done) {
    auto& answers = b.documentPermissions;
    if (answers.size() >= kDocumentAnswers) answers.erase(answers.begin());
    answers.emplace_back(DocumentKey(request.document, request.kind, request.origin), granted);
    EngineLog((granted ? L"permission result granted " : L"permission result denied ") + std::to_wstring(request.kind) +
              L" " + request.origin);
    done(granted);
}

// What the page had asked for ends as the handlers answered.
void CarryOut(Browser& b, const PermissionRequest& request, const PermissionRequestedArgs& args,
              const std::function<void(bool)>& done) {
    const wchar_t* const kStates[] = {L"default", L"allow", L"deny"};
    std::wstring kind = std::to_wstring(request.kind);
    COREWEBVIEW2_PERMISSION_STATE state = args.state();
    EngineLog(L"permission answered " + std::wstring(kStates[state]) + L" " + kind + L" " + request.origin);
    if (state == COREWEBVIEW2_PERMISSION_STATE_DEFAULT && request.kind != COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS)
        EngineLog(L"permission prompt " + kind + L" " + request.origin);
    if (state != COREWEBVIEW2_PERMISSION_STATE_DEFAULT && args.savesInProfile() &&
        Save(b, request, state == COREWEBVIEW2_PERMISSION_STATE_ALLOW))
        EngineLog(L"permission saved " + std::wstring(kStates[state]) + L" " + kind + L" " + request.origin);
    Tell(b, request, state == COREWEBVIEW2_PERMISSION_STATE_ALLOW, done);
}

}  // namespace

void RequestPermission(Browser& b, const PermissionRequest& request, std::function<void(bool granted)> done) {
    if (b.closed) return;
    std::wstring kind = std::to_wstring(request.kind);
    int saved = SavedAnswer(b, request.origin, request.kind);
    if (saved >= 0) {
        EngineLog((saved ? L"permission remembered allow " : L"permission remembered deny ") + kind + L" " +
                  request.origin);
        return Tell(b, request, saved, done);
    }
    EngineLog(L"permission requested " + kind + (request.userInitiated ? L" user " : L" script ") + request.origin);
    auto args = Ref<PermissionRequestedArgs>::Adopt(
        new PermissionRequestedArgs(request.origin, request.kind, request.userInitiated));
    for (auto& handler : b.permissionRequested.Snapshot()) handler->Invoke(b.view, args.get());
    // The answer is carried out once every deferral completed; by then the
    // view may be gone, and with it the page that asked.
    PermissionRequestedArgs* answered = args.get();
    args->Settle([weak = b.weak_from_this(), request, answered, done] {
        auto browser = weak.lock();
        if (browser && !browser->closed) CarryOut(*browser, request, *answered, done);
    });
}

bool HasPermission(const Browser& b, const std::wstring& document, const std::wstring& origin,
                   COREWEBVIEW2_PERMISSION_KIND kind) {
    std::wstring key = DocumentKey(document, kind, origin);
    for (auto answer = b.documentPermissions.rbegin(); answer != b.documentPermissions.rend(); ++answer)
        if (answer->first == key) return answer->second;
    return SavedAnswer(b, origin, kind) == 1;
}

std::vector<std::pair<std::wstring, bool>> SavedPermissions(const Browser& b, COREWEBVIEW2_PERMISSION_KIND kind) {
    std::vector<std::pair<std::wstring, bool>> answers;
    std::wistringstream lines(ReadStore(b));
    for (std::wstring line; std::getline(lines, line);) {
        std::wistringstream words(line);
        int savedKind = -1;
        std::wstring state, origin;
        if (words >> savedKind >> state >> origin && savedKind == kind) answers.emplace_back(origin, state == L"allow");
    }
    return answers;
}

