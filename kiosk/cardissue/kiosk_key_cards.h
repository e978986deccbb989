#pragma once
// The kiosk's key cards: the dispenser's window, the makers' libraries for
// the library kind (on this machine, over the dispenser's own line) and the
// guest card issue, as the kiosk window uses them. The dispenser's port is
// [Dispenser] port of "INI\HXKiosk.ini" ("COM3" when missing).

#include <cstdint>
#include <string>

#include "kiosk/cardissue/dispenser_dlg.h"
#include "kiosk/cardissue/dispenser_line_libraries.h"
#include "kiosk/cardissue/guest_card_issuer.h"

namespace hx {

class CKioskKeyCards {
public:
    CKioskKeyCards();
    CKioskKeyCards(const CKioskKeyCards&) = delete;
    CKioskKeyCards& operator=(const CKioskKeyCards&) = delete;

    bool Create() { return m_dispenser.Create(); }
    // The serial kind opens its port; the library kind finds its dispenser.
    bool OpenDispenser(bool libraryKind);
    int IssueGuestCard(const stRoom4Kiosk& room, int64_t endTime, const stHotelCodes& hotel,
                       bool libraryKind);

    CDispenserDlg& Dispenser() { return m_dispenser; }
    const CGuestCardIssuer& Issuer() const { return m_issuer; }

    static std::string DispenserPortName();

private:
    CDispenserLineLibraries m_libraries;
    CDispenserDlg m_dispenser;
    CGuestCardIssuer m_issuer;
};

}  // namespace hx
