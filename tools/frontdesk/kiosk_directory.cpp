#include "tools/frontdesk/kiosk_directory.h"

#include <algorithm>

namespace hx {

CKioskDirectory::CKioskDirectory(std::vector<stKnownKiosk> kiosks, bool refuseUnknown)
    : m_kiosks(std::move(kiosks)), m_refuseUnknown(refuseUnknown) {}

const stKnownKiosk* CKioskDirectory::Find(const stHandshakeRequest& request) const {
    for (const stKnownKiosk& kiosk : m_kiosks) {
        const bool nameMatches =
            kiosk.computerName.empty() || kiosk.computerName == request.computerName;
        const bool macMatches = kiosk.mac.empty() || kiosk.mac == request.firstMac;
        if (nameMatches && macMatches) {
            return &kiosk;
        }
    }
    return nullptr;
}

bool CKioskDirectory::IsReserved(uint32_t terminalNo) const {
    return m_inUse.count(terminalNo) > 0 ||
           std::any_of(m_kiosks.begin(), m_kiosks.end(), [terminalNo](const stKnownKiosk& kiosk) {
               return kiosk.terminalNo == terminalNo;
           });
}

// A kiosk keeps the number it remembers unless another one holds it now or
// the scenario gives it to a known machine.
uint32_t CKioskDirectory::PickTerminalNo(uint32_t wanted) const {
    if (wanted != 0 && !IsReserved(wanted)) {
        return wanted;
    }
    uint32_t number = 1;
    while (IsReserved(number)) {
        ++number;
    }
    return number;
}

stHandshakeDecision CKioskDirectory::Decide(const stHandshakeRequest& request) {
    stHandshakeDecision decision;
    const stKnownKiosk* known = Find(request);
    if (known != nullptr ? known->refuse : m_refuseUnknown) {
        decision.refused = true;
        return decision;
    }
    // A configured number is the kiosk's own even while a stale connection of
    // the same machine still holds it.
    decision.terminalNo = known != nullptr && known->terminalNo != 0
                              ? known->terminalNo
                              : PickTerminalNo(request.storedNo);
    decision.name = known != nullptr && !known->name.empty()
                        ? known->name
                        : "키오스크 " + std::to_string(decision.terminalNo);
    decision.clientKey = m_nextClientKey++;
    if (m_nextClientKey == 0) {
        m_nextClientKey = 1;
    }
    m_inUse.insert(decision.terminalNo);
    return decision;
}

void CKioskDirectory::Release(uint32_t terminalNo) {
    const auto found = m_inUse.find(terminalNo);
    if (found != m_inUse.end()) {
        m_inUse.erase(found);
    }
}

}  // namespace hx
