#pragma once
// A scoped lock for the few places that must not give up: changes to the
// client list and to a client's queue, where skipping would leave a dangling
// client or lose a packet. Every bounded wait that runs out is still recorded.

#include "net/lock_obj.h"
#include "net/mutex_ex.h"

namespace hx {

class CPersistentLock {
public:
    explicit CPersistentLock(CMutexEx& mutex, const char* file = __builtin_FILE(),
                             int line = __builtin_LINE())
        : m_lock(mutex, file, line) {
        while (!m_lock.IsLocked()) {
            m_lock.Relock();
        }
    }

private:
    CLockObj m_lock;
};

}  // namespace hx
