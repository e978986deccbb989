#include "tools/frontdesk/desk_state.h"

namespace hx {

void ApplyLedgerRoomStates(stDeskState& state) {
    for (stRoom4Kiosk& room : state.scenario.rooms) {
        const auto kept = state.ledger.Book().roomStates.find(room.roomNo);
        if (kept != state.ledger.Book().roomStates.end()) {
            room.state = kept->second;
        }
    }
}

}  // namespace hx
