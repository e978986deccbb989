#include "kiosk/cardissue/guest_card_issuer.h"

#include <cstdio>

#include "kiosk/cardissue/dispenser_result.h"
#include "platform/local_time.h"
#include "platform/message_loop.h"

namespace hx {

namespace {

constexpr uint8_t kCardSector = 0;

}  // namespace

int CGuestCardIssuer::IssueGuestCard(const stRoom4Kiosk& room, int64_t endTime,
                                     const stHotelCodes& hotel, bool libraryKind) {
    if (libraryKind) {
        return IssueWithLibrary(room, endTime);
    }
    stGuestCardData card;
    card.hotelRegion = hotel.region;
    card.hotelSequence = hotel.sequence;
    card.doorLockNumber = room.lockNo;
    card.endTime = endTime;
    return IssueSerialCard(card);
}

int CGuestCardIssuer::IssueSerialCard(const stGuestCardData& card) {
    m_ejectSent = false;
    if (const int result = WriteBlock(1, BuildCardBlock1(card)); result != DISPENSER_OK) {
        return result;
    }
    if (const int result = WriteBlock(2, BuildCardBlock2(card, LoadCardBaseDate()));
        result != DISPENSER_OK) {
        return result;
    }
    return Eject();
}

std::string CGuestCardIssuer::RoomAddressOf(const stRoom4Kiosk& room) {
    char text[48];
    std::snprintf(text, sizeof text, "%03d.%03d.%05d", 1, room.lockGroup, room.lockNo);
    return text;
}

int CGuestCardIssuer::WriteBlock(uint8_t block, const CardBlock& data) {
    const int result = m_dispenser.WriteCardBlock(kCardSector, block, data);
    return result == DISPENSER_OK ? result : FailAndCapture(result, "Fail Write");
}

int CGuestCardIssuer::Eject() {
    m_ejectSent = true;
    const int result = m_dispenser.RunCommand(DISPENSER_EJECT_DROP);
    return result == DISPENSER_OK ? result : FailAndCapture(result, "Fail Eject");
}

// The card goes back into the dispenser: half written, or written and stuck
// in the mouth, it must not be left for anyone to take.
int CGuestCardIssuer::FailAndCapture(int result, const char* what) {
    m_dispenser.Monitor().AddDispenserLogRow({"", "ERROR", what});
    PumpMessagesFor(kCaptureDelayMs);
    m_dispenser.RunCommand(DISPENSER_CAPTURE);
    return result;
}

// Stops at the first step that fails: a card is never pushed out unencoded.
int CGuestCardIssuer::IssueWithLibrary(const stRoom4Kiosk& room, int64_t endTime) {
    m_ejectSent = false;
    CD1801Dispenser& library = m_dispenser.Library();
    if (!library.D1801Ready()) {
        return CD1801Dispenser::ResultOf(CD1801Dispenser::kStatusFault);
    }
    PumpMessagesFor(kEncodeDelayMs);
    const int encoded = library.MakeGuestCard(RoomAddressOf(room), LocalTimeText(GetLocalTimeNow()),
                                              LocalTimeText(LocalTimeFromEpoch(endTime)));
    if (encoded != 1) {
        return CD1801Dispenser::ResultOf(encoded);
    }
    m_ejectSent = true;
    return CD1801Dispenser::ResultOf(library.D1801Out() ? CD1801Dispenser::kStatusReady
                                                        : CD1801Dispenser::kStatusFault);
}

}  // namespace hx
