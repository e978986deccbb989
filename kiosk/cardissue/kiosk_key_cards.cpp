#include "kiosk/cardissue/kiosk_key_cards.h"

#include "kiosk/support/paths.h"
#include "platform/ini_file.h"

namespace hx {

CKioskKeyCards::CKioskKeyCards()
    : m_libraries(DispenserPortName),
      m_dispenser(&m_libraries, &m_libraries),
      m_issuer(m_dispenser) {}

std::string CKioskKeyCards::DispenserPortName() {
    return GetPrivateProfileString("Dispenser", "port", "COM3", GetProgramPath("INI\\HXKiosk.ini"));
}

bool CKioskKeyCards::OpenDispenser(bool libraryKind) {
    if (libraryKind) {
        m_dispenser.CloseDispenserPort();
        return m_dispenser.Library().ConnectD1801();
    }
    m_libraries.CloseLine();
    return m_dispenser.OpenDispenserPort(DispenserPortName());
}

int CKioskKeyCards::IssueGuestCard(const stRoom4Kiosk& room, int64_t endTime,
                                   const stHotelCodes& hotel, bool libraryKind) {
    m_libraries.SetHotelCodes(hotel);
    return m_issuer.IssueGuestCard(room, endTime, hotel, libraryKind);
}

}  // namespace hx
