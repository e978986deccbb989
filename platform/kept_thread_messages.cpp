#include "platform/kept_thread_messages.h"

namespace hx {

CKeptThreadMessages::~CKeptThreadMessages() {
    const std::uint32_t self = GetCurrentThreadId();
    for (const MSG& msg : m_kept) {
        PostThreadMessage(self, msg.message, msg.wParam, msg.lParam);
    }
}

bool CKeptThreadMessages::Keep(const MSG& msg) {
    if (msg.hwnd != 0 || msg.message == WM_NULL || msg.message == WM_QUIT) {
        return false;
    }
    m_kept.push_back(msg);
    return true;
}

}  // namespace hx
