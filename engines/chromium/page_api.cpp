#include "engines/chromium/page_api.h"

#include "engines/chromium/chromium_browser.h"
#include "engines/common/permissions.h"

namespace {

// The world of the engine's fullscreen watcher, which the page's scripts can't see.
const char kWorld[] = "velotide";
const char kBinding[] = "velotidePage";
const size_t kKeptNotifications = 64;
const size_t kMaxIcon = 4u << 20;

// In the page's own world, before its scripts: Notification and the
// notification permission as the program answers them. Requests and
// notifications go out as a "velotide-page" event, answers and the
// notification's events come back as "velotide-engine" events.
// __SAVED__ is what the profile keeps: {"<origin>/": "granted"|"denied"}.
const char kPageWorld[] = R"JS((() => {
  if (!window.Notification) return;
  const saved = __SAVED__;
  let permission = saved[location.origin + '/'] || 'default';
  const asked = new Map(), shown = new Map(), ids = new WeakMap();
  let next = 0;
  const send = message => dispatchEvent(new CustomEvent('velotide-page', {detail: JSON.stringify(message)}));
  const text = value => value === undefined || value === null ? '' : String(value);
  const address = value => { try { return value ? new URL(value, location.href).href : ''; } catch { return ''; } };
  addEventListener('velotide-engine', event => {
    const m = JSON.parse(event.detail);
    if (m.request) {
      permission = m.permission;
      const resolve = asked.get(m.request);
      asked.delete(m.request);
      if (resolve) resolve(permission);
      return;
    }
    const n = shown.get(m.notification);
    if (!n) return;
    if (m.event === 'close' || m.event === 'error') shown.delete(m.notification);
    const e = new Event(m.event);
    n.dispatchEvent(e);
    if (typeof n['on' + m.event] === 'function') n['on' + m.event].call(n, e);
  });
  class Notification extends EventTarget {
    constructor(title, options) {
      super();
      if (arguments.length < 1) throw new TypeError("Failed to construct 'Notification': 1 argument required.");
      options = options || {};
      const id = ++next;
      ids.set(this, id);
      Object.assign(this, {title: text(title), body: text(options.body), tag: text(options.tag), lang: text(options.lang),
        dir: ['ltr', 'rtl'].includes(options.dir) ? options.dir : 'auto', icon: address(options.icon),
        badge: address(options.badge), image: address(options.image), data: options.data ?? null,
        renotify: !!options.renotify, requireInteraction: !!options.requireInteraction, silent: options.silent ?? null,
        timestamp: Number(options.timestamp ?? Date.now()), vibrate: [].concat(options.vibrate ?? []).map(Number),
        actions: [], onshow: null, onclick: null, onclose: null, onerror: null});
      shown.set(id, this);
      if (shown.size > 64) shown.delete(shown.keys().next().value);
      send({notify: id, title: this.title, body: this.body, tag: this.tag, lang: this.lang, dir: this.dir,
        icon: this.icon, badge: this.badge, image: this.image, renotify: this.renotify,
        requireInteraction: this.requireInteraction, silent: !!this.silent, timestamp: this.timestamp,
        vibrate: this.vibrate});
    }
    close() { const id = ids.get(this); if (shown.has(id)) send({close: id}); }
    static get permission() { return permission; }
    static get maxActions() { return 2; }
    static requestPermission(callback) {
      return new Promise(resolve => {
        const id = ++next;
        asked.set(id, result => { if (typeof callback === 'function') callback(result); resolve(result); });
        send({request: id});
      });
    }
  }
  Object.defineProperty(window, 'Notification', {value: Notification, writable: true, configurable: true});
  const permissions = navigator.permissions, query = permissions && permissions.query;
  if (query) permissions.query = function (descriptor) {
    return query.call(this, descriptor).then(status => {
      if (descriptor && descriptor.name === 'notifications')
        Object.defineProperty(status, 'state', {get: () => permission === 'default' ? 'prompt' : permission});
      return status;
    });
  };
})();)JS";

// In our world: the page world's messages go on with the frame's own origin
// and whether the person just acted (which the page can't forge); the top
// document's title and icon address are watched.
const char kOurWorld[] = R"JS(addEventListener('velotide-page', event => {
  if (typeof event.detail !== 'string' || event.detail.length > 65536) return;
  velotidePage(JSON.stringify({page: JSON.parse(event.detail), origin: location.origin,
                               user: navigator.userActivation.isActive}));
});
if (window === top) {
  let last;
  const report = () => {
    const link = document.querySelector('link[rel~="icon" i]');
    const icon = link ? link.href : /^https?:$/.test(location.protocol) ? location.origin + '/favicon.ico' : '';
    const title = document.title.slice(0, 4096), now = JSON.stringify([title, icon]);
    if (now !== last) velotidePage(JSON.stringify({top: {title, icon, document: last === undefined}}));
    last = now;
  };
  document.addEventListener('DOMContentLoaded', () => {
    report();
    new MutationObserver(report).observe(document.head || document.documentElement,
      {subtree: true, childList: true, characterData: true, attributes: true, attributeFilter: ['href', 'rel']});
  });
})JS";

std::string PageWorldScript(const Browser& browser) {
    json saved = json::object();
    for (const auto& [origin, allowed] : browser.profile->Kept(COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS))
        saved[Utf8(origin)] = allowed ? "granted" : "denied";
    std::string script = kPageWorld;
    script.replace(script.find("__SAVED__"), 9, saved.dump());
    return script;
}

std::wstring Text(const json& message, const char* key) { return Wide(JsonString(message, key)); }

// The origin our world names, as the runtime gives an asking page's.
std::wstring OriginOf(const json& message) {
    std::string origin = JsonString(message, "origin");
    return origin.empty() || origin == "null" ? L"null" : Wide(origin) + L"/";
}

bool Flag(const json& message, const char* key) {
    const json& value = JsonObject(message, key);
    return value.is_boolean() && value.get<bool>();
}

NotificationContent ContentOf(const json& m) {
    NotificationContent content;
    content.title = Text(m, "title");
    content.body = Text(m, "body");
    content.tag = Text(m, "tag");
    content.language = Text(m, "lang");
    content.iconUri = Text(m, "icon");
    content.badgeUri = Text(m, "badge");
    content.bodyImageUri = Text(m, "image");
    std::string dir = JsonString(m, "dir");
    content.direction = dir == "ltr"   ? COREWEBVIEW2_TEXT_DIRECTION_KIND_LEFT_TO_RIGHT
                        : dir == "rtl" ? COREWEBVIEW2_TEXT_DIRECTION_KIND_RIGHT_TO_LEFT
                                       : COREWEBVIEW2_TEXT_DIRECTION_KIND_DEFAULT;
    content.renotify = Flag(m, "renotify");
    content.requiresInteraction = Flag(m, "requireInteraction");
    content.silent = Flag(m, "silent");
    const json& timestamp = JsonObject(m, "timestamp");
    content.timestamp = timestamp.is_number() ? timestamp.get<double>() : 0;
    const json& vibrate = JsonObject(m, "vibrate");
    if (vibrate.is_array())
        for (const json& step : vibrate)
            if (step.is_number() && step.get<double>() >= 0 && content.vibration.size() < 32)
                content.vibration.push_back(static_cast<UINT64>(step.get<double>()));
    return content;
}

}  // namespace

void PageApi::SetUpPage() {
    InstallPageWorld(pageSession_, true);
    SetUp(pageSession_);
}

void PageApi::SetUpFrame(const std::string& session) {
    auto browser = browser_.lock();
    if (!browser) return;
    devtools_->Call("Page.addScriptToEvaluateOnNewDocument", {{"source", PageWorldScript(*browser)}}, session);
    SetUp(session);
    devtools_->Call("Runtime.enable", json::object(), session);  // bindings are told only then
}

void PageApi::SetUp(const std::string& session) {
    devtools_->Call("Page.addScriptToEvaluateOnNewDocument",
                    {{"source", kOurWorld}, {"worldName", kWorld}, {"runImmediately", true}}, session);
    devtools_->Call("Runtime.addBinding", {{"name", kBinding}, {"executionContextName", kWorld}}, session);
}

// The page's next documents start with what the profile keeps now: the new
// script goes in first, then the old one out (both running at once for a
// moment is harmless: the outer one is the page's Notification).
void PageApi::InstallPageWorld(const std::string& session, bool runImmediately) {
    auto browser = browser_.lock();
    if (!browser) return;
    std::string script = PageWorldScript(*browser);
    if (script == pageWorld_) return;
    pageWorld_ = script;
    devtools_->Call("Page.addScriptToEvaluateOnNewDocument", {{"source", script}, {"runImmediately", runImmediately}},
                    session, [weak = weak_from_this(), session](const json& result, const json&) {
                        auto self = weak.lock();
                        if (!self) return;
                        if (!self->pageWorldId_.empty())
                            self->devtools_->Call("Page.removeScriptToEvaluateOnNewDocument",
                                                  {{"identifier", self->pageWorldId_}}, session);
                        self->pageWorldId_ = JsonString(result, "identifier");
                    });
}

void PageApi::OnBinding(const std::string& session, const json& params) {
    auto browser = browser_.lock();
    if (!browser || browser->closed || JsonString(params, "name") != kBinding) return;
    json message = json::parse(JsonString(params, "payload"), nullptr, false);
    const json& top = JsonObject(message, "top");
    if (top.is_object() && session == pageSession_) {
        // An untitled document is known by its address, as Chromium's own title has it.
        std::wstring title = Text(top, "title");
        RaiseDocumentTitleChanged(*browser, title.empty() ? browser->Source() : title, Flag(top, "document"));
        RaiseFaviconChanged(*browser, Text(top, "icon"));
        return;
    }
    const json& page = JsonObject(message, "page");
    long long context = JsonNumber(params, "executionContextId");
    if (!page.is_object()) return;
    if (page.contains("request")) {
        PermissionRequest request = {Wide(session + " " + std::to_string(context)), OriginOf(message),
                                     COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS, Flag(message, "user")};
        long long id = JsonNumber(page, "request");
        RequestPermission(*browser, request, [weak = weak_from_this(), session, context, id](bool granted) {
            auto self = weak.lock();
            if (!self) return;
            self->Tell(session, context, {{"request", id}, {"permission", granted ? "granted" : "denied"}});
            self->InstallPageWorld(self->pageSession_, false);
        });
    } else if (page.contains("notify")) {
        Notify(*browser, session, context, message);
    } else if (page.contains("close")) {
        std::string key = session + " " + std::to_string(context) + " " + std::to_string(JsonNumber(page, "close"));
        for (auto& [shown, notification] : notifications_)
            if (shown == key) notification->CloseByPage();
    }
}

void PageApi::Notify(Browser& browser, const std::string& session, long long context, const json& message) {
    const json& page = JsonObject(message, "page");
    long long id = JsonNumber(page, "notify");
    auto fire = [weak = weak_from_this(), session, context, id](const char* type) {
        if (auto self = weak.lock()) self->Tell(session, context, {{"notification", id}, {"event", type}});
    };
    Ref<NotificationFace> notification = ShowNotification(browser, Wide(session + " " + std::to_string(context)),
                                                          OriginOf(message), ContentOf(page), fire);
    if (!notification) return;
    std::erase_if(notifications_, [](const auto& entry) { return entry.second->closed(); });
    if (notifications_.size() >= kKeptNotifications) notifications_.erase(notifications_.begin());
    notifications_.emplace_back(session + " " + std::to_string(context) + " " + std::to_string(id), notification);
}

// The answer reaches the frame's page world as a DOM event, from our world
// in the same frame; a document that is gone by then hears nothing.
void PageApi::Tell(const std::string& session, long long context, const json& message) {
    std::string detail = json(message.dump()).dump();
    devtools_->Call("Runtime.evaluate",
                    {{"contextId", context},
                     {"expression", "dispatchEvent(new CustomEvent('velotide-engine', {detail: " + detail + "}))"}},
                    session);
}

void PageApi::LoadFavicon(const std::wstring& uri, std::function<void(std::string image)> done) {
    // An icon a page draws itself (an unread count, say) often comes as a
    // base64 data: address, which holds the picture itself.
    size_t comma = uri.find(L',');
    if (uri.empty() || uri.rfind(L"data:", 0) == 0) {
        std::string image = uri.empty() || comma == std::wstring::npos || uri.rfind(L";base64", comma) == std::wstring::npos
                                ? ""
                                : FromBase64(Utf8(uri.substr(comma + 1)));
        return PostTask([done, image] { done(image); });
    }
    // Network.loadNetworkResource wants the top frame's id, which Chromium
    // may have changed since the page target was made.
    devtools_->Call(
        "Page.getFrameTree", json::object(), pageSession_,
        [weak = weak_from_this(), uri, done](const json& result, const json&) {
            auto self = weak.lock();
            if (!self) return done("");
            json options = {{"disableCache", false}, {"includeCredentials", true}};
            json load = {{"frameId", JsonString(JsonObject(JsonObject(result, "frameTree"), "frame"), "id")},
                         {"url", Utf8(uri)},
                         {"options", options}};
            self->devtools_->Call("Network.loadNetworkResource", load, self->pageSession_,
                                  [weak, done](const json& result, const json&) {
                                      auto self = weak.lock();
                                      const json& resource = JsonObject(result, "resource");
                                      std::string stream = JsonString(resource, "stream");
                                      long long status = JsonNumber(resource, "httpStatusCode");
                                      if (!self) return done("");
                                      if (Flag(resource, "success") && !stream.empty() && status < 300)
                                          return self->ReadIcon(stream, "", done);
                                      if (!stream.empty())
                                          self->devtools_->Call("IO.close", {{"handle", stream}}, self->pageSession_);
                                      done("");
                                  });
        });
}

// Reads the fetched icon to its end, a bounded size at most.
void PageApi::ReadIcon(const std::string& handle, std::string image, std::function<void(std::string)> done) {
    devtools_->Call("IO.read", {{"handle", handle}, {"size", 1 << 20}}, pageSession_,
                    [weak = weak_from_this(), handle, image, done](const json& result, const json& error) mutable {
                        auto self = weak.lock();
                        if (!self || !error.is_null()) return done("");
                        std::string data = JsonString(result, "data");
                        image += Flag(result, "base64Encoded") ? FromBase64(data) : data;
                        if (!Flag(result, "eof") && image.size() <= kMaxIcon && !data.empty())
                            return self->ReadIcon(handle, std::move(image), std::move(done));
                        self->devtools_->Call("IO.close", {{"handle", handle}}, self->pageSession_);
                        done(Flag(result, "eof") ? image : "");
                    });
}

void ChromiumBrowser::LoadFavicon(std::function<void(std::string image)> done) {
    if (!pageApi_) return PostTask([done] { done(""); });
    pageApi_->LoadFavicon(faviconUri, std::move(done));
}

// Chromium's own notification permission of the view's context says the same
// as the profile, for what of the page our script does not stand in for (a
// service worker's notifications). An origin is always named: without one
// Chromium would set it for every origin.
void ChromiumBrowser::CarryPermissionState(COREWEBVIEW2_PERMISSION_KIND kind, const std::wstring& origin,
                                           COREWEBVIEW2_PERMISSION_STATE state) {
    if (kind != COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS || origin.empty() || context_.empty()) return;
    const char* const kSettings[] = {"prompt", "granted", "denied"};
    std::wstring bare = origin.back() == L'/' ? origin.substr(0, origin.size() - 1) : origin;
    devtools_->Call("Browser.setPermission",
                    {{"permission", {{"name", "notifications"}}},
                     {"setting", kSettings[state]},
                     {"origin", Utf8(bare)},
                     {"browserContextId", context_}},
                    "");
    if (pageApi_) pageApi_->PermissionsChanged();
}
