#pragma once
// A named mutex that every process of the machine sees: a lock on the file
// DRIVE/<name>.lock. The lock goes with the process, so a kiosk that crashed
// never blocks the next start, as an abandoned mutex would not on Windows.

#include <string>
#include <string_view>

namespace hx {

class CNamedMutex {
public:
    CNamedMutex() = default;
    ~CNamedMutex();
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    // False when another process (or another object here) holds the name, or
    // the lock file cannot be made. Names are cut to 255 characters.
    bool TryAcquire(std::string_view name);
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace hx
