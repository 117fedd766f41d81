// Downloads: a document answer Chromium saves instead of showing. They land
// in the folder "Downloads" inside the user-data folder the program gave the
// environment, and nowhere else; the program hears of each through
// DownloadStarting, after the navigation that led to it has failed.
#include "engines/chromium/chromium_browser.h"

namespace {

// The path as the browser process knows it. Under Wine, Chromium is a Linux
// program: the path goes over in its Unix form, which Wine itself tells.
std::string BrowserPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return Utf8(path);
    std::string converted = name;
    HeapFree(GetProcessHeap(), 0, name);
    return converted;
}

}  // namespace

std::wstring DownloadFolder(const std::wstring& userDataFolder) {
    if (userDataFolder.empty()) return L"";
    std::wstring folder = userDataFolder + L"\\Downloads";
    CreateDirectoryW(userDataFolder.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void ChromiumBrowser::AllowDownloads() {
    json behavior = {{"behavior", downloadFolder_.empty() ? "deny" : "allow"}, {"browserContextId", context_}};
    if (!downloadFolder_.empty()) behavior["downloadPath"] = BrowserPath(downloadFolder_);
    devtools_->Call("Browser.setDownloadBehavior", behavior);
}

void ChromiumBrowser::OnDownloadWillBegin(const json& params) {
    std::string guid = JsonString(params, "guid");
    Download& download = downloads_[guid];
    download.uri = Wide(JsonString(params, "url"));
    download.path = downloadFolder_ + L"\\" + Wide(JsonString(params, "suggestedFilename"));
    // The page's own load that became it: one that just ended without a
    // document (Chromium tells the download right after), or one to its
    // address whose end is still to come.
    Navigation* made = nullptr;
    if (JsonString(params, "frameId") == target_)
        for (auto& [loader, navigation] : navigations_)
            if (!navigation.done && (navigation.aborted || navigation.uri == download.uri) &&
                (!made || navigation.id > made->id))
                made = &navigation;
    if (made) made->download = guid;
    if (made && made->aborted) return EndAbortedLoad(*made);
    // Else no load has ended for it yet: a link that saves (download
    // attribute), a script's, or a load whose end is on its way, which is
    // then told first.
    PostTask([self = shared_from_this(), guid] { static_cast<ChromiumBrowser&>(*self).TellDownload(guid); });
}

// A load that ended without a document: the runtime reports one that became
// a download as the connection aborted, with no HTTP status, and then raises
// DownloadStarting; anything else as cancelled.
void ChromiumBrowser::EndAbortedLoad(Navigation& navigation) {
    std::string download = navigation.download;
    Complete(navigation,
             download.empty() ? COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED
                              : COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED,
             false, 0);
    if (!download.empty()) TellDownload(download);
}

void ChromiumBrowser::TellDownload(const std::string& guid) {
    auto found = downloads_.find(guid);
    if (found == downloads_.end() || found->second.told) return;
    Download& download = found->second;
    if (RaiseDownloadStarting(*this, download.uri, download.path)) {
        if (download.ended.empty())
            devtools_->Call("Browser.cancelDownload", {{"guid", guid}, {"browserContextId", context_}});
        downloads_.erase(found);
        return;
    }
    download.told = true;
    if (!download.ended.empty()) EndDownload(guid, download.ended);
}

void ChromiumBrowser::OnDownloadProgress(const json& params) {
    std::string guid = JsonString(params, "guid"), state = JsonString(params, "state");
    auto found = downloads_.find(guid);
    if (found == downloads_.end() || state == "inProgress") return;
    found->second.ended = state;
    if (found->second.told) EndDownload(guid, state);  // else once the program has been told it began
}

void ChromiumBrowser::EndDownload(const std::string& guid, const std::string& state) {
    const Download& download = downloads_[guid];
    EngineLog((state == "completed" ? L"download completed " + download.path + L" " : L"download cancelled ") +
              download.uri);
    downloads_.erase(guid);
}
