#pragma once
// Recursive mutex with bounded waits that remembers where it was taken, for
// the lock-timeout record.

#include <climits>
#include <mutex>
#include <thread>

namespace hx {

class CMutexEx {
public:
    static constexpr unsigned kInfinite = UINT_MAX;

    CMutexEx() = default;
    CMutexEx(const CMutexEx&) = delete;
    CMutexEx& operator=(const CMutexEx&) = delete;

    // Waits up to timeoutMs (kInfinite: without bound). The owning thread may
    // take it again; each Lock needs its Unlock.
    bool Lock(unsigned timeoutMs);
    bool Unlock();

    // Where the current holder took the lock; set and read by the holder only.
    void SetLockSite(const char* file, int line);
    const char* GetLockFile() const { return m_lockFile; }
    int GetLockLine() const { return m_lockLine; }
    std::thread::id GetOwnerThread() const { return m_owner; }

private:
    std::recursive_timed_mutex m_mutex;
    const char* m_lockFile = nullptr;
    int m_lockLine = 0;
    std::thread::id m_owner;
};

}  // namespace hx
