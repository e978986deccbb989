#include "platform/window_registry.h"

#include <unordered_map>

namespace hx {

namespace {

struct stWindowTable {
    std::unordered_map<HWND, stWindowEntry> windows;
    HWND nextHandle = 1;
};

stWindowTable& Table() {
    static auto* table = new stWindowTable;
    return *table;
}

}  // namespace

HWND RegisterWindow(CWnd* window, std::shared_ptr<CThreadQueue> owner) {
    stWindowTable& table = Table();
    const HWND hwnd = table.nextHandle++;
    table.windows.emplace(hwnd, stWindowEntry{window, std::move(owner)});
    return hwnd;
}

void UnregisterWindow(HWND hwnd) {
    auto found = Table().windows.find(hwnd);
    if (found == Table().windows.end()) {
        return;
    }
    found->second.owner->ForgetWindow(hwnd);
    Table().windows.erase(found);
}

const stWindowEntry* FindLiveWindow(HWND hwnd) {
    auto found = Table().windows.find(hwnd);
    if (found == Table().windows.end() || !found->second.owner->IsAlive()) {
        return nullptr;
    }
    return &found->second;
}

CWnd* FindOwnWindow(HWND hwnd) {
    const stWindowEntry* entry = FindLiveWindow(hwnd);
    if (entry == nullptr || entry->owner->ThreadId() != CurrentThreadIdIfAny()) {
        return nullptr;
    }
    return entry->window;
}

}  // namespace hx
