// What a site kept open all day does, carried between its page and the
// program where the DevTools protocol reports nothing: its notification
// permission and its notifications, through a script of ours in every frame's
// page world that hands them to an isolated world of ours; and its title and
// icon, from a watcher in the top document. See README.md.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engines/chromium/devtools.h"
#include "engines/common/notifications.h"

class PageApi : public std::enable_shared_from_this<PageApi> {
public:
    PageApi(std::shared_ptr<DevTools> devtools, std::weak_ptr<Browser> browser, const std::string& pageSession)
        : devtools_(std::move(devtools)), browser_(std::move(browser)), pageSession_(pageSession) {}

    // Puts the scripts into the page's session, or into a cross-site frame's,
    // before any document of it runs; sent without waiting for the answers.
    void SetUpPage();
    void SetUpFrame(const std::string& session);
    // The profile keeps other answers: the page's next documents start with them.
    void PermissionsChanged() { InstallPageWorld(pageSession_, false); }
    // A Runtime.bindingCalled of that session.
    void OnBinding(const std::string& session, const json& params);
    // The icon's bytes, fetched in the page's own network context; "" when it
    // can't be had.
    void LoadFavicon(const std::wstring& uri, std::function<void(std::string image)> done);

private:
    void SetUp(const std::string& session);
    void InstallPageWorld(const std::string& session, bool runImmediately);
    void Tell(const std::string& session, long long context, const json& message);
    void Notify(Browser& browser, const std::string& session, long long context, const json& message);
    void ReadIcon(const std::string& handle, std::string image, std::function<void(std::string)> done);

    std::shared_ptr<DevTools> devtools_;
    std::weak_ptr<Browser> browser_;
    std::string pageSession_;
    // The page world's script as the page's session has it, and its identifier.
    std::string pageWorld_, pageWorldId_;
    // The page's notifications still open, by "<session> <context> <id>", the newest last.
    std::vector<std::pair<std::string, Ref<NotificationFace>>> notifications_;
};
