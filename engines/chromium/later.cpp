#include "engines/chromium/later.h"

#include <map>

namespace {

std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto found = Pending().find(id);
    if (found == Pending().end()) return;
    std::function<void()> task = std::move(found->second);
    Pending().erase(found);
    task();
}

}  // namespace

void RunLater(DWORD milliseconds, std::function<void()> task) {
    UINT_PTR id = SetTimer(nullptr, 0, milliseconds, Fire);
    if (id) Pending()[id] = std::move(task);
}
