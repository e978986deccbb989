#pragma once
// The Win32 message vocabulary the kiosk code is written in. Handles are plain
// ids looked up on every use, never pointers, so a stale handle cannot reach
// freed memory. HWND and MSG are ours on every system: the windows behind
// them live in our own loop, not in the system's window manager. Message ids
// are the same numbers as Windows' own, so where <windows.h> came first its
// macros stand and ours are not declared.

#include <cstdint>

#include "platform/windows_names.h"

namespace hx {

using HWND = std::uintptr_t;  // 0 = no window
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::uint32_t time;  // GetTickCount() when the message was queued
};

#ifndef WM_NULL
inline constexpr UINT WM_NULL = 0x0000;
#endif
#ifndef WM_DESTROY
inline constexpr UINT WM_DESTROY = 0x0002;
#endif
#ifndef WM_CLOSE
inline constexpr UINT WM_CLOSE = 0x0010;
#endif
#ifndef WM_QUIT
inline constexpr UINT WM_QUIT = 0x0012;
#endif
#ifndef WM_COMMAND
inline constexpr UINT WM_COMMAND = 0x0111;
#endif
#ifndef WM_TIMER
inline constexpr UINT WM_TIMER = 0x0113;
#endif
#ifndef WM_USER
inline constexpr UINT WM_USER = 0x0400;
#endif
#ifndef WM_APP
inline constexpr UINT WM_APP = 0x8000;
#endif

// ShowWindow: hide or show.
#ifndef SW_HIDE
inline constexpr int SW_HIDE = 0;
#endif
#ifndef SW_SHOW
inline constexpr int SW_SHOW = 5;
#endif

// PeekMessage: leave the message in the queue, or take it out.
#ifndef PM_NOREMOVE
inline constexpr UINT PM_NOREMOVE = 0x0000;
#endif
#ifndef PM_REMOVE
inline constexpr UINT PM_REMOVE = 0x0001;
#endif

}  // namespace hx
