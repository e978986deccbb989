#include "net/lock_obj.h"

#include <atomic>

#include "net/lock_exception.h"

namespace hx {

namespace {

std::atomic<unsigned> g_waitLimitMs{CLockObj::kDefaultWaitMs};

}  // namespace

CLockObj::CLockObj(CMutexEx& mutex, const char* file, int line)
    : m_mutex(mutex), m_file(file), m_line(line) {
    Relock();
}

CLockObj::~CLockObj() {
    if (m_locked) {
        m_mutex.Unlock();
    }
}

bool CLockObj::Relock() {
    if (m_locked) {
        return true;
    }
    m_locked = m_mutex.Lock(GetWaitLimit());
    if (m_locked) {
        m_mutex.SetLockSite(m_file, m_line);
    } else {
        CLockException record(m_file, m_line);  // writes Mutex.log; never thrown
    }
    return m_locked;
}

void CLockObj::SetWaitLimit(unsigned ms) {
    g_waitLimitMs = ms;
}

unsigned CLockObj::GetWaitLimit() {
    return g_waitLimitMs;
}

}  // namespace hx
