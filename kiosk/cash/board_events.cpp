#include "kiosk/cash/board_events.h"

namespace hx {

CBoardEvents::CBoardEvents(Hook hook)
    : m_hook(std::move(hook)), m_present{{EVENT_DOOR_OPEN, false},
                                         {EVENT_BILL_ACCEPTOR, false},
                                         {EVENT_BILL_DISPENSER1, false},
                                         {EVENT_BILL_DISPENSER1_LOW, false},
                                         {EVENT_BILL_DISPENSER2, false},
                                         {EVENT_BILL_DISPENSER2_LOW, false}} {}

void CBoardEvents::Report(int code, bool present) {
    const auto known = m_present.find(code);
    if (known != m_present.end() && known->second == present) {
        return;
    }
    m_present[code] = present;
    if (m_hook) {
        m_hook(code, present ? kEventOccurred : kEventCleared);
    }
}

bool CBoardEvents::IsPresent(int code) const {
    const auto known = m_present.find(code);
    return known != m_present.end() && known->second;
}

}  // namespace hx
