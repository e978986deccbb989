#pragma once
// Hands a guest the key card of the room sold: on the serial dispenser the
// kiosk writes the two door-lock blocks and ejects the card; on the library
// kind the door-lock maker's library encodes it between the dispenser
// library's ready and out.
//
// A card that failed to be written, or to come out, is taken back into the
// dispenser ("Capture"), so no valid key is left in the dispenser's mouth.
// Whether the eject was sent is kept: a card whose eject was sent may have
// reached the guest, so the caller must not issue another on its own.

#include <cstdint>
#include <string>

#include "kiosk/cardissue/dispenser_dlg.h"
#include "kiosk/cardissue/guest_card_blocks.h"
#include "kiosk/records/room_records.h"

namespace hx {

struct stHotelCodes {
    int32_t region = 0;
    int32_t sequence = 0;
};

class CGuestCardIssuer {
public:
    static constexpr uint32_t kCaptureDelayMs = 700;
    static constexpr uint32_t kEncodeDelayMs = 1000;

    explicit CGuestCardIssuer(CDispenserDlg& dispenser) : m_dispenser(dispenser) {}

    // The result of the dispenser (DISPENSER_OK = issued), for the room's
    // card valid until `endTime` (seconds since 1970).
    int IssueGuestCard(const stRoom4Kiosk& room, int64_t endTime, const stHotelCodes& hotel,
                       bool libraryKind);
    // The serial path with the card data given (the service view's test card).
    int IssueSerialCard(const stGuestCardData& card);
    // Whether the last issue got as far as sending the eject (or, with the
    // library, the out command).
    bool EjectWasSent() const { return m_ejectSent; }

    // "001.003.00305" for lock group 3 and lock number 305.
    static std::string RoomAddressOf(const stRoom4Kiosk& room);

private:
    int WriteBlock(uint8_t block, const CardBlock& data);
    int Eject();
    int FailAndCapture(int result, const char* what);
    int IssueWithLibrary(const stRoom4Kiosk& room, int64_t endTime);

    CDispenserDlg& m_dispenser;
    bool m_ejectSent = false;
};

}  // namespace hx
