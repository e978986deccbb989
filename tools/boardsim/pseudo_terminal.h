#pragma once
// The master side of a pseudo-terminal, whose slave the kiosk opens as its
// board port. The line is raw, 9600 baud, 8 data bits, even parity, 1 stop
// bit as far as a pseudo-terminal keeps such settings. The simulator holds
// the slave open itself, so the master never hangs up while the kiosk closes
// and reopens its port.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hx {

class CPseudoTerminal {
public:
    CPseudoTerminal() = default;
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    // False with the reason.
    bool Open(std::string& error);
    const std::string& SlavePath() const { return m_slavePath; }

    // Waits up to `limit` for bytes from the kiosk and appends them. False
    // when the line has failed.
    bool Read(std::vector<uint8_t>& bytes, std::chrono::milliseconds limit);
    // How many bytes went out: fewer when nobody reads and the line is full.
    // -1 when the line has failed.
    long Write(std::span<const uint8_t> bytes);

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

}  // namespace hx
