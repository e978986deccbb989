#pragma once
// The dispenser's maintenance actions, as a technician runs them from the
// service view: each sends its command, waits, and says how it went in the
// text of a message box ("Result: [DISPENSER_OK]", after the firmware
// version or the sensor text where there is one). The test card is issued
// from the lock fields the technician typed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "kiosk/cardissue/dispenser_dlg.h"
#include "kiosk/cardissue/guest_card_issuer.h"

namespace hx {

enum enumDispenserAction {
    ACTION_RESET,
    ACTION_REBOOT,
    ACTION_ALIVE,
    ACTION_FIRMWARE,
    ACTION_SENSOR,
    ACTION_READY,
    ACTION_WRITE,  // two test blocks: sector 1 blocks 0 and 1
    ACTION_READ,
    ACTION_EJECT,
    ACTION_CAPTURE,
};

// What the technician typed for a test card.
struct stLockFields {
    std::string hotelRegion;
    std::string hotelSequence;
    std::string doorLock;
    std::string grade;
    std::string gradeSequence;
    std::string keyText;
    std::string endTime;  // twelve digits: year, month, day, hour, minute
};

class CDispenserMaintenance {
public:
    CDispenserMaintenance(CDispenserDlg& dispenser, CGuestCardIssuer& issuer)
        : m_dispenser(dispenser), m_issuer(issuer) {}

    // The message box text. `sector` and `block` are the read's.
    std::string Run(enumDispenserAction action, uint8_t sector = 0, uint8_t block = 0);
    // Issues a card from the fields on the serial path; the message box
    // text, or why the fields make no card.
    std::string IssueTestCard(const stLockFields& fields);

    // "202403051100" as a local time; none when it is not one.
    static std::optional<int64_t> LockEndTime(std::string_view digits);

private:
    int RunCommand(enumDispenserAction action, uint8_t sector, uint8_t block);
    int WriteTestBlocks();

    CDispenserDlg& m_dispenser;
    CGuestCardIssuer& m_issuer;
};

}  // namespace hx
