#pragma once
// The master side of a pseudo-terminal: a device at the far end of a serial
// line, played by the board simulator or by a test. The code under test
// opens the slave by its path, usually through a DRIVE/dosdevices/comN link.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

class CPseudoTerminal {
public:
    // Opens a fresh pair; check IsOpen (the system may have none left).
    CPseudoTerminal();
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    // "/dev/pts/N".
    const std::string& SlavePath() const { return m_slavePath; }
    // For a caller that asks the driver about the line.
    int MasterDescriptor() const { return m_master; }

    // A raw line at 9600 8E1 (as far as a pseudo-terminal keeps such
    // settings), with the slave held open here too, so the master never
    // sees a hang-up while the other side closes and reopens its port.
    // False with the reason.
    bool KeepLineUp(std::string& error);

    // Waits up to `limit` for bytes and appends what one read gives. False
    // when the line has failed.
    bool ReadSome(std::vector<uint8_t>& bytes, std::chrono::milliseconds limit);
    // What came until `count` bytes were there or `limit` passed.
    std::string Read(std::size_t count, std::chrono::milliseconds limit);
    // How many bytes went out: fewer when nobody reads and the line is full;
    // -1 when the line has failed.
    long Write(std::span<const uint8_t> bytes);
    // True when every byte went out.
    bool WriteAll(std::string_view bytes);
    // The device goes away: the slave's side sees a hang-up.
    void CloseMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

}  // namespace hx
