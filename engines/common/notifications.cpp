#include "engines/common/notifications.h"

#include "engines/common/args.h"
#include "engines/common/permissions.h"

HRESULT NotificationFace::GetVibrationPattern(UINT32* count, UINT64** pattern) {
    if (!count || !pattern) return E_POINTER;
    *count = static_cast<UINT32>(content_.vibration.size());
    *pattern = nullptr;
    if (content_.vibration.empty()) return S_OK;
    size_t bytes = content_.vibration.size() * sizeof(UINT64);
    *pattern = static_cast<UINT64*>(CoTaskMemAlloc(bytes));
    if (!*pattern) return E_OUTOFMEMORY;
    memcpy(*pattern, content_.vibration.data(), bytes);
    return S_OK;
}

// What the program's own notification did fires the page's event; nothing
// once it closed or the view is gone.
HRESULT NotificationFace::Report(const char* type, const wchar_t* line) {
    auto browser = browser_.lock();
    if (closed_ || !browser || browser->closed) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
    closed_ = strcmp(type, "close") == 0;
    EngineLog(line + content_.title);
    page_(type);
    return S_OK;
}

void NotificationFace::ShowByRuntime() {
    byRuntime_ = true;
    EngineLog(L"notification shown by runtime " + content_.title);
    page_("show");
}

// The runtime closes its own; the program hears the page's wish for its.
void NotificationFace::CloseByPage() {
    auto browser = browser_.lock();
    if (closed_ || closeAsked_ || !browser || browser->closed) return;
    if (byRuntime_) {
        closed_ = true;
        EngineLog(L"notification closed " + content_.title);
        page_("close");
        return;
    }
    closeAsked_ = true;
    EngineLog(L"notification close requested " + content_.title);
    for (auto& handler : closeRequested_.Snapshot()) handler->Invoke(this, nullptr);
}

Ref<NotificationFace> ShowNotification(Browser& b, const std::wstring& document, const std::wstring& origin,
                                       NotificationContent content, PageNotificationEvent page) {
    if (b.closed) return nullptr;
    if (!HasPermission(b, document, origin, COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS)) {
        EngineLog(L"notification refused " + content.title);
        page("error");
        return nullptr;
    }
    auto notification =
        Ref<NotificationFace>::Adopt(new NotificationFace(b.shared_from_this(), std::move(content), std::move(page)));
    EngineLog(L"notification received " + notification->content().title);
    auto args = Ref<NotificationReceivedArgs>::Adopt(new NotificationReceivedArgs(origin, notification.get()));
    for (auto& handler : b.notificationReceived.Snapshot()) handler->Invoke(b.view, args.get());
    NotificationReceivedArgs* answered = args.get();
    args->Settle([weak = b.weak_from_this(), notification, answered] {
        auto browser = weak.lock();
        if (browser && !browser->closed && !answered->handled()) notification->ShowByRuntime();
    });
    return notification;
}
