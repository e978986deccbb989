#pragma once
// For tests: a TCP listener on a loopback address whose accept queue is full,
// so the system drops every further connection attempt without an answer, as
// a firewall that drops packets does. A connect to it hangs until its own
// limit; nothing is ever refused or reset.

#include <cstdint>
#include <string>
#include <vector>

namespace hx {

class CDroppingListener {
public:
    CDroppingListener() = default;
    ~CDroppingListener();
    CDroppingListener(const CDroppingListener&) = delete;
    CDroppingListener& operator=(const CDroppingListener&) = delete;

    // Listens on address:port (port 0 takes a free one) and fills the queue;
    // false when the address cannot be taken.
    bool Open(const std::string& address, std::uint16_t port);
    std::uint16_t Port() const { return m_port; }

private:
    void Close();

    std::intptr_t m_listener = -1;
    std::vector<std::intptr_t> m_fillers;
    std::uint16_t m_port = 0;
};

}  // namespace hx
