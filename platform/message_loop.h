#pragma once
// The message loop: one queue per thread, windows reached by handle, timers
// on the loop clock. Sent messages are handled first, then posted messages in
// order, then a quit request, then due timers; a timer never overtakes a
// posted message that waits.

#include <cstdint>
#include <functional>

#include "platform/registered_messages.h"
#include "platform/window_types.h"

namespace hx {

// From any thread. False when the window is gone or its queue is full.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// On the window's own thread a direct call of its procedure. From another
// thread the message is queued to the owner and the caller waits for the
// result, handling messages sent to itself meanwhile, so two threads sending
// to each other do not lock up. 0 when the window is gone, or goes (or its
// thread ends) before handling the message.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A message with no window for the thread's own loop; false for an unknown or ended thread.
bool PostThreadMessage(std::uint32_t threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Our own id of the calling thread (never 0); its queue exists from then on.
std::uint32_t GetCurrentThreadId();
// GetMessage returns 0 with WM_QUIT and `exitCode` once no posted message waits.
void PostQuitMessage(int exitCode);

// Waits for the next message of the calling thread (hwnd 0: any window and the
// thread's own messages; filterMin = filterMax = 0: every message), handling
// sent messages meanwhile. 1 for a message, 0 for WM_QUIT, -1 when `hwnd` is
// not a window of this thread.
int GetMessage(MSG* msg, HWND hwnd = 0, UINT filterMin = 0, UINT filterMax = 0);
// As GetMessage without waiting; false when nothing waits. removeFlag is PM_REMOVE or PM_NOREMOVE.
bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlag);
// There is no keyboard layer to translate for; kept so loops read as usual.
bool TranslateMessage(const MSG* msg);
// Calls the procedure of the message's window, looked up now: a message for a
// window that is gone (or for no window) is dropped and gives 0.
LRESULT DispatchMessage(const MSG* msg);

// Starts, or restarts with the new period, timer `id` of the window; WM_TIMER
// carries the id in wParam. Returns `id` (so use ids other than 0), or 0 when
// the window is gone. Periods below 10 ms count as 10 ms.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
// Stops the timer; a WM_TIMER it had due is never delivered.
bool KillTimer(HWND hwnd, UINT_PTR id);

// Milliseconds of the loop clock, wrapping as on Windows.
std::uint32_t GetTickCount();

// Dispatches the calling thread's messages until `ms` milliseconds of the loop
// clock have passed, so the screen stays alive during a wait; 0 dispatches what
// waits now. Under the manual clock the clock is stepped from one due timer to
// the next, so timers fire in order however long the wait. Messages for which
// `dropMessage` returns true are taken out and not dispatched. A quit request
// ends the wait early and stays posted for the outer loop; the result is then false.
// Thread messages are left to the outer loop: they are posted again, in
// order, when the wait ends.
bool PumpMessagesFor(std::uint32_t ms, const std::function<bool(const MSG&)>& dropMessage = {});

}  // namespace hx
