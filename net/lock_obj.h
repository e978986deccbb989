#pragma once
// Scoped lock on a CMutexEx whose wait is bounded (180 s unless changed). A
// wait that runs out writes a lock-timeout record naming this lock site and
// leaves the lock untaken: the guarded code must check IsLocked() and keep its
// hands off the object when it is false.

#include "net/mutex_ex.h"

namespace hx {

class CLockObj {
public:
    static constexpr unsigned kDefaultWaitMs = 180000;

    // The lock site defaults to the caller's file and line.
    explicit CLockObj(CMutexEx& mutex, const char* file = __builtin_FILE(),
                      int line = __builtin_LINE());
    ~CLockObj();
    CLockObj(const CLockObj&) = delete;
    CLockObj& operator=(const CLockObj&) = delete;

    bool IsLocked() const { return m_locked; }

    // Waits once more, bounded and recorded the same way, after a timeout.
    bool Relock();

    // The bound of every wait in the process; tests shorten it.
    static void SetWaitLimit(unsigned ms);
    static unsigned GetWaitLimit();

private:
    CMutexEx& m_mutex;
    const char* m_file;
    int m_line;
    bool m_locked = false;
};

}  // namespace hx
