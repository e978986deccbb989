#pragma once
// Who a connecting kiosk is: the desk gives every kiosk that completes the
// handshake a client key of its own and a terminal number that no other
// connected kiosk holds, or refuses it when the scenario says so.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "channel/net_channel_handshake.h"
#include "tools/frontdesk/scenario.h"

namespace hx {

struct stHandshakeDecision {
    bool refused = false;
    uint32_t terminalNo = 0;
    uint32_t clientKey = 0;
    std::string name;
};

class CKioskDirectory {
public:
    explicit CKioskDirectory(std::vector<stKnownKiosk> kiosks, bool refuseUnknown = false);

    // The answer to a handshake. An accepted kiosk holds its terminal number
    // until Release.
    stHandshakeDecision Decide(const stHandshakeRequest& request);
    void Release(uint32_t terminalNo);

private:
    const stKnownKiosk* Find(const stHandshakeRequest& request) const;
    uint32_t PickTerminalNo(uint32_t wanted) const;
    bool IsReserved(uint32_t terminalNo) const;

    std::vector<stKnownKiosk> m_kiosks;
    bool m_refuseUnknown;
    std::multiset<uint32_t> m_inUse;
    uint32_t m_nextClientKey = 0x1001;
};

}  // namespace hx
