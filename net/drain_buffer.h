#pragma once
// Bytes taken from the socket before anyone asked for them: the peer's data
// while our own send was blocked (taking it keeps a peer that is itself
// blocked in a send moving), and what arrived beyond a short read. Reading
// hands them out before anything newer from the socket.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hx {

class CDrainBuffer {
public:
    static constexpr size_t kInitialSize = 16384;
    static constexpr size_t kRoom = 8192;  // free space made before each receive
    static constexpr size_t kMaxSize = size_t{64}
                                       << 20;  // a peer that floods us while never reading

    CDrainBuffer() : m_data(kInitialSize) {}

    size_t Count() const { return m_end - m_read; }

    // Makes at least kRoom bytes free at the end: moves the unread bytes to the
    // front once the read position has passed half the buffer, else doubles
    // it. False when that would pass kMaxSize.
    bool MakeRoom();
    uint8_t* FreeSpace() { return m_data.data() + m_end; }
    size_t FreeSize() const { return m_data.size() - m_end; }
    void Commit(size_t length) { m_end += length; }

    size_t Take(uint8_t* out, size_t length);
    // Forgets every unread byte (they belonged to a connection now closed).
    void Clear() { m_read = m_end = 0; }

private:
    std::vector<uint8_t> m_data;
    size_t m_read = 0;
    size_t m_end = 0;
};

}  // namespace hx
