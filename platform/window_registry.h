#pragma once
// The process-wide table of window handles. Every use of a handle looks it up
// here under LoopMutex(), so a handle whose window is gone finds nothing.
// Handles are never reused.

#include <memory>

#include "platform/thread_queue.h"
#include "platform/window_types.h"

namespace hx {

class CWnd;

struct stWindowEntry {
    CWnd* window;
    std::shared_ptr<CThreadQueue> owner;
};

// Every function needs LoopMutex() held.
HWND RegisterWindow(CWnd* window, std::shared_ptr<CThreadQueue> owner);
// Removes the handle; its owner's timers for it stop and senders waiting on it get 0.
void UnregisterWindow(HWND hwnd);
// Null when the window is gone or its thread has ended.
const stWindowEntry* FindLiveWindow(HWND hwnd);
// The window, only when the calling thread owns it.
CWnd* FindOwnWindow(HWND hwnd);

}  // namespace hx
