#include "net/mutex_ex.h"

#include <chrono>

namespace hx {

bool CMutexEx::Lock(unsigned timeoutMs) {
    if (timeoutMs == kInfinite) {
        m_mutex.lock();
        return true;
    }
    return m_mutex.try_lock_for(std::chrono::milliseconds(timeoutMs));
}

bool CMutexEx::Unlock() {
    m_mutex.unlock();
    return true;
}

void CMutexEx::SetLockSite(const char* file, int line) {
    m_lockFile = file;
    m_lockLine = line;
    m_owner = std::this_thread::get_id();
}

}  // namespace hx
