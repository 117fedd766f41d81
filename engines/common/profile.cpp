#include "engines/common/profile.h"

#include <algorithm>
#include <sstream>

#include "engines/common/browser.h"
#include "engines/common/engine_protocol.h"
#include "engines/common/permissions.h"
#include "engines/common/text.h"
#include "engines/common/uri.h"
#include "settings/replace_file.h"

namespace {

const wchar_t* const kStates[] = {L"default", L"allow", L"deny"};

struct KeptState {
    int kind;
    bool allowed;
    std::wstring origin;
};

// Every state the text of a permissions.txt keeps, one per kind and origin
// (a later line for the same one counts), in its order.
std::vector<KeptState> ReadStates(const std::string& text) {
    std::vector<KeptState> states;
    std::wistringstream lines(Wide(text));
    for (std::wstring line; std::getline(lines, line);) {
        std::wistringstream words(line);
        KeptState state = {-1, false, L""};
        std::wstring word;
        if (!(words >> state.kind >> word >> state.origin) || (word != L"allow" && word != L"deny")) continue;
        state.allowed = word == L"allow";
        std::erase_if(states, [&](const KeptState& s) { return s.kind == state.kind && s.origin == state.origin; });
        states.push_back(state);
    }
    return states;
}

std::string FileText(const std::vector<KeptState>& states) {
    std::wstring text;
    for (const KeptState& s : states)
        text += std::to_wstring(s.kind) + (s.allowed ? L" allow " : L" deny ") + s.origin + L"\n";
    return Utf8(text);
}

// One kept state as the runtime hands it out, and the list of them.
class PermissionSetting : public ComObject<ICoreWebView2PermissionSetting> {
public:
    explicit PermissionSetting(KeptState state)
        : ComObject(IID_ICoreWebView2PermissionSetting), state_(std::move(state)) {}
    HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* value) override {
        return Out(value, state_.kind);
    }
    HRESULT STDMETHODCALLTYPE get_PermissionOrigin(LPWSTR* value) override {
        return ReturnString(state_.origin, value);
    }
    HRESULT STDMETHODCALLTYPE get_PermissionState(COREWEBVIEW2_PERMISSION_STATE* value) override {
        return Out(value, state_.allowed ? COREWEBVIEW2_PERMISSION_STATE_ALLOW : COREWEBVIEW2_PERMISSION_STATE_DENY);
    }

private:
    KeptState state_;
};

class PermissionSettings : public ComObject<ICoreWebView2PermissionSettingCollectionView> {
public:
    explicit PermissionSettings(std::vector<KeptState> states)
        : ComObject(IID_ICoreWebView2PermissionSettingCollectionView), states_(std::move(states)) {}
    HRESULT STDMETHODCALLTYPE GetValueAtIndex(UINT32 index, ICoreWebView2PermissionSetting** value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        if (index >= states_.size()) return E_INVALIDARG;
        *value = new PermissionSetting(states_[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Count(UINT32* value) override { return Out(value, states_.size()); }

private:
    std::vector<KeptState> states_;
};

// Where a user-data folder lists its deleted profiles, one name a line.
std::wstring DeletedList(const std::wstring& userDataFolder) {
    return userDataFolder + L"\\EBWebView\\deleted profiles.txt";
}

bool DeleteTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName, inside = path + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(inside);
            else
                DeleteFileW(inside.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool ProfileDeletionPending(const std::wstring& userDataFolder, const std::wstring& name) {
    std::istringstream names(ReadFileText(DeletedList(userDataFolder)));
    for (std::string listed; std::getline(names, listed);)
        if (lstrcmpiW(Wide(listed).c_str(), name.c_str()) == 0) return true;  // names are case-insensitive
    return false;
}

void RemoveDeletedProfiles(const std::wstring& userDataFolder) {
    std::string listed = ReadFileText(DeletedList(userDataFolder)), left;
    if (listed.empty()) return;
    std::istringstream names(listed);
    for (std::string name; std::getline(names, name);) {
        // A name the runtime took (no separators) names a folder inside, nothing else.
        if (name.empty() || name == "." || name == ".." || name.find_first_of("\\/:") != std::string::npos) continue;
        if (DeleteTree(userDataFolder + L"\\EBWebView\\" + Wide(name)))
            EngineLog(L"profile folder removed " + Wide(name));
        else
            left += name + "\n";
    }
    if (left.empty())
        DeleteFileW(DeletedList(userDataFolder).c_str());
    else
        ReplaceFileWhole(DeletedList(userDataFolder), left);
}

Profile::Profile(const std::wstring& userDataFolder, std::wstring name, bool inPrivate)
    : ComObject({&IID_ICoreWebView2Profile, &IID_ICoreWebView2Profile2, &IID_ICoreWebView2Profile3,
                 &IID_ICoreWebView2Profile4, &IID_ICoreWebView2Profile5, &IID_ICoreWebView2Profile6,
                 &IID_ICoreWebView2Profile7, &IID_ICoreWebView2Profile8}),
      name_(std::move(name)),
      folder_(userDataFolder.empty() || inPrivate ? L"" : userDataFolder + L"\\EBWebView\\" + name_),
      inPrivate_(inPrivate) {}

// A view made with it opens the profile, made on disk if it is new, as the runtime makes it.
void Profile::AddView(const std::shared_ptr<Browser>& view) {
    std::erase_if(views_, [](const std::weak_ptr<Browser>& v) { return v.expired(); });
    views_.push_back(view);
    MakeFolder();
}

void Profile::MakeFolder() const {
    if (folder_.empty()) return;
    CreateDirectoryW(folder_.substr(0, folder_.rfind(L'\\')).c_str(), nullptr);
    CreateDirectoryW(folder_.c_str(), nullptr);
}

bool Profile::HasViews() const {
    return std::any_of(views_.begin(), views_.end(), [](const std::weak_ptr<Browser>& v) {
        auto view = v.lock();
        return view && !view->closed;
    });
}

std::string Profile::StatesText() const {
    if (inPrivate_) return inMemory_;
    return folder_.empty() ? "" : ReadFileText(folder_ + L"\\permissions.txt");
}

std::vector<std::pair<std::wstring, bool>> Profile::Kept(COREWEBVIEW2_PERMISSION_KIND kind) const {
    std::vector<std::pair<std::wstring, bool>> kept;
    for (const KeptState& state : ReadStates(StatesText()))
        if (state.kind == kind) kept.emplace_back(state.origin, state.allowed);
    return kept;
}

bool Profile::Keep(COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                   COREWEBVIEW2_PERMISSION_STATE state) {
    if (folder_.empty() && !inPrivate_) return false;
    std::vector<KeptState> states = ReadStates(StatesText());
    std::string before = FileText(states);
    std::erase_if(states, [&](const KeptState& s) { return s.kind == kind && s.origin == origin; });
    if (state != COREWEBVIEW2_PERMISSION_STATE_DEFAULT)
        states.push_back({kind, state == COREWEBVIEW2_PERMISSION_STATE_ALLOW, origin});
    std::string after = FileText(states);
    if (after == before) return true;  // set again as it was, as at every start of the program
    if (inPrivate_) {
        inMemory_ = after;
        return true;
    }
    // EBWebView first, inside the user-data folder the environment made.
    CreateDirectoryW(folder_.substr(0, folder_.rfind(L'\\')).c_str(), nullptr);
    CreateDirectoryW(folder_.c_str(), nullptr);
    return ReplaceFileWhole(folder_ + L"\\permissions.txt", after);
}

// Whatever the profile keeps for sites goes: its permission states (the
// views hear that every one is back to asking) and what stands behind each
// of its views keeps for them; the handler is told later.
HRESULT Profile::ClearBrowsingDataAll(ICoreWebView2ClearBrowsingDataCompletedHandler* handler) {
    std::vector<KeptState> states = ReadStates(StatesText());
    bool cleared = true;
    if (inPrivate_)
        inMemory_.clear();
    else if (!folder_.empty())
        cleared = DeleteFileW((folder_ + L"\\permissions.txt").c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
                  GetLastError() == ERROR_PATH_NOT_FOUND;
    for (const std::weak_ptr<Browser>& weak : views_) {
        auto view = weak.lock();
        if (!view || view->closed) continue;
        view->ClearBrowsingData();
        for (const KeptState& s : states)
            PermissionStateChanged(*view, static_cast<COREWEBVIEW2_PERMISSION_KIND>(s.kind), s.origin,
                                   COREWEBVIEW2_PERMISSION_STATE_DEFAULT);
    }
    HRESULT result = cleared ? S_OK : HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    EngineLog(L"browsing data cleared " + name_ + (cleared ? L"" : L" not all"));
    if (handler && EngineVariable(kEngineFailVariable) == L"clear") {
        EngineLog(L"clearing unanswered");  // as a runtime that never calls back
    } else if (handler) {
        Ref<ICoreWebView2ClearBrowsingDataCompletedHandler> done(handler);
        PostTask([done, result] { done->Invoke(result); });
    }
    return S_OK;
}

HRESULT Profile::get_ProfileName(LPWSTR* value) { return ReturnString(name_, value); }

HRESULT Profile::get_ProfilePath(LPWSTR* value) { return ReturnString(folder_, value); }

// Kept at once, so that whatever the program asks of a view after this call
// meets the new state; the views hear of it, and the handler is told later.
HRESULT Profile::SetPermissionState(COREWEBVIEW2_PERMISSION_KIND kind, LPCWSTR origin,
                                    COREWEBVIEW2_PERMISSION_STATE state,
                                    ICoreWebView2SetPermissionStateCompletedHandler* handler) {
    if (!origin || kind < COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION ||
        kind > COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT || state < COREWEBVIEW2_PERMISSION_STATE_DEFAULT ||
        state > COREWEBVIEW2_PERMISSION_STATE_DENY)
        return E_INVALIDARG;
    std::wstring canonical = OriginOf(CanonicalUri(origin));
    if (canonical == L"null") return E_INVALIDARG;
    HRESULT result = Keep(kind, canonical, state) ? S_OK : E_FAIL;
    EngineLog(L"permission state " + std::wstring(kStates[state]) + L" " + std::to_wstring(kind) + L" " + canonical +
              (SUCCEEDED(result) ? L"" : L" not kept"));
    for (const std::weak_ptr<Browser>& weak : views_)
        if (auto view = weak.lock(); view && !view->closed && SUCCEEDED(result))
            PermissionStateChanged(*view, kind, canonical, state);
    if (handler) {
        Ref<ICoreWebView2SetPermissionStateCompletedHandler> done(handler);
        PostTask([done, result] { done->Invoke(result); });
    }
    return S_OK;
}

// Every state kept, as it is now, every kind's; the handler is told later.
HRESULT Profile::GetNonDefaultPermissionSettings(
    ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    std::vector<KeptState> states = ReadStates(StatesText());
    EngineLog(L"permissions listed " + std::to_wstring(states.size()));
    auto settings = Ref<ICoreWebView2PermissionSettingCollectionView>::Adopt(new PermissionSettings(std::move(states)));
    Ref<ICoreWebView2GetNonDefaultPermissionSettingsCompletedHandler> done(handler);
    PostTask([done, settings] { done->Invoke(S_OK, settings.get()); });
    return S_OK;
}

// Listed for removal once no browser needs its files; its views close now,
// and its handlers hear it later.
HRESULT Profile::Delete() {
    if (deleted_) return S_OK;
    deleted_ = true;
    if (!folder_.empty()) {
        std::wstring userDataFolder = folder_.substr(0, folder_.rfind(L"\\EBWebView\\"));
        ReplaceFileWhole(DeletedList(userDataFolder), ReadFileText(DeletedList(userDataFolder)) + Utf8(name_) + "\n");
    }
    EngineLog(L"profile deleted " + name_);
    for (const std::weak_ptr<Browser>& weak : views_)
        if (auto view = weak.lock(); view && !view->closed) view->Close();
    Ref<Profile> self(this);
    PostTask([self] {
        for (const auto& [token, handler] : self->deletedHandlers_) handler->Invoke(self.get(), nullptr);
    });
    return S_OK;
}

HRESULT Profile::add_Deleted(ICoreWebView2ProfileDeletedEventHandler* handler, EventRegistrationToken* token) {
    if (!handler || !token) return E_POINTER;
    token->value = nextToken_++;
    deletedHandlers_.emplace_back(token->value, Ref<ICoreWebView2ProfileDeletedEventHandler>(handler));
    return S_OK;
}

HRESULT Profile::remove_Deleted(EventRegistrationToken token) {
    std::erase_if(deletedHandlers_, [&](const auto& entry) { return entry.first == token.value; });
    return S_OK;
}
