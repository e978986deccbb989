#pragma once
// A loop nested in a thread's main loop (a bounded pump, a modal dialog) has
// no window to hand a thread message to: such messages (a quit request from
// a signal, for one) are meant for the main loop. The nested loop keeps them
// here, and they are posted again, in order, when it returns, so none is
// lost. The nested loop's own wake-ups (WM_NULL) and WM_QUIT are not kept.

#include <vector>

#include "platform/message_loop.h"

namespace hx {

class CKeptThreadMessages {
public:
    CKeptThreadMessages() = default;
    // Posts the kept messages again to the calling thread.
    ~CKeptThreadMessages();
    CKeptThreadMessages(const CKeptThreadMessages&) = delete;
    CKeptThreadMessages& operator=(const CKeptThreadMessages&) = delete;

    // True when `msg` is a thread message for the main loop, now kept.
    bool Keep(const MSG& msg);

private:
    std::vector<MSG> m_kept;
};

}  // namespace hx
