#include "engines/common/permissions.h"

#include "engines/common/args.h"

namespace {

const size_t kDocumentAnswers = 64;

// The saved answer for origin: 1 allowed, 0 denied, -1 none.
int SavedAnswer(const Browser& b, const std::wstring& origin, COREWEBVIEW2_PERMISSION_KIND kind) {
    int answer = -1;
    for (const auto& [saved, allowed] : b.profile->Kept(kind))
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
        b.profile->Keep(request.kind, request.origin, state))
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

void PermissionStateChanged(Browser& b, COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                            COREWEBVIEW2_PERMISSION_STATE state) {
    std::wstring told = L" " + std::to_wstring(kind) + L" " + origin;
    std::erase_if(b.documentPermissions, [&](const auto& answer) { return answer.first.ends_with(told); });
    b.CarryPermissionState(kind, origin, state);
}
