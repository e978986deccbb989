#pragma once
// For tests: the master side of a fresh pseudo-terminal, standing in for a
// device at the far end of a serial line. The code under test opens the
// slave by its name, usually through a DRIVE/dosdevices/comN link.

#include <cstddef>
#include <string>
#include <string_view>

#include "tests/support/wait_until.h"

namespace hx {

class CPseudoTerminal {
public:
    // Check IsOpen: the system may have no pseudo-terminals left.
    CPseudoTerminal();
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    // The slave's device path, "/dev/pts/N".
    const std::string& SlaveName() const { return m_slaveName; }
    // The master's descriptor, for a test that asks the driver about the line.
    int MasterDescriptor() const { return m_master; }

    // Sends bytes as the device would; false when not all were taken.
    bool Write(std::string_view bytes);
    // What the slave sent, once `count` bytes have come or `limit` has passed.
    std::string Read(std::size_t count, std::chrono::milliseconds limit = kTestPatience);
    // The device goes away: the slave sees a hang-up.
    void CloseMaster();

private:
    int m_master = -1;
    std::string m_slaveName;
};

}  // namespace hx
