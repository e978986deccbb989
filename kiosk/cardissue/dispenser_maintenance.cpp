#include "kiosk/cardissue/dispenser_maintenance.h"

#include <charconv>

#include "kiosk/cardissue/dispenser_result.h"
#include "platform/local_time.h"

namespace hx {

namespace {

constexpr size_t kEndTimeDigits = 12;
constexpr uint8_t kTestSector = 1;

std::string ResultText(int result) {
    return "Result: [" + std::string(DispenserResultName(result)) + "]";
}

std::optional<int32_t> NumberOf(std::string_view text) {
    int32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::string CDispenserMaintenance::Run(enumDispenserAction action, uint8_t sector, uint8_t block) {
    const int result = RunCommand(action, sector, block);
    if (action == ACTION_FIRMWARE) {
        return "Version: " + m_dispenser.AnswerText() + "\r\n" + ResultText(result);
    }
    if (action == ACTION_SENSOR) {
        return "Sensor: " + m_dispenser.AnswerText() + "\r\n" + ResultText(result);
    }
    return ResultText(result);
}

int CDispenserMaintenance::RunCommand(enumDispenserAction action, uint8_t sector, uint8_t block) {
    switch (action) {
        case ACTION_RESET:
            return m_dispenser.RunCommand(DISPENSER_SET_RESET);
        case ACTION_REBOOT:
            return m_dispenser.RunCommand(DISPENSER_SET_REBOOT);
        case ACTION_ALIVE:
            return m_dispenser.DispenserHealth(false);
        case ACTION_FIRMWARE:
            return m_dispenser.RunCommand(DISPENSER_GET_FIRMWARE);
        case ACTION_SENSOR:
            return m_dispenser.RunCommand(DISPENSER_GET_SENSOR);
        case ACTION_READY:
            return m_dispenser.RunCommand(DISPENSER_READY);
        case ACTION_WRITE:
            return WriteTestBlocks();
        case ACTION_READ:
            return m_dispenser.ReadCardBlock(sector, block);
        case ACTION_EJECT:
            return m_dispenser.RunCommand(DISPENSER_EJECT_DROP);
        case ACTION_CAPTURE:
            return m_dispenser.RunCommand(DISPENSER_CAPTURE);
    }
    return DISPENSER_UNKOWN_PACKET;
}

// Block 0 with 01 02, block 1 with 00 02, the rest zeros; the second
// write's result is shown.
int CDispenserMaintenance::WriteTestBlocks() {
    m_dispenser.WriteCardBlock(kTestSector, 0, CardBlock{0x01, 0x02});
    return m_dispenser.WriteCardBlock(kTestSector, 1, CardBlock{0x00, 0x02});
}

std::string CDispenserMaintenance::IssueTestCard(const stLockFields& fields) {
    const std::optional<int32_t> region = NumberOf(fields.hotelRegion);
    const std::optional<int32_t> sequence = NumberOf(fields.hotelSequence);
    const std::optional<int32_t> door = NumberOf(fields.doorLock);
    const std::optional<int64_t> end = LockEndTime(fields.endTime);
    if (!region || !sequence || !door || !end) {
        return "입력값을 확인하세요.";
    }
    const stGuestCardData card{*region,        *sequence, *door, fields.grade, fields.gradeSequence,
                               fields.keyText, *end};
    return ResultText(m_issuer.IssueSerialCard(card));
}

std::optional<int64_t> CDispenserMaintenance::LockEndTime(std::string_view digits) {
    if (digits.size() != kEndTimeDigits) {
        return std::nullopt;
    }
    const auto part = [&](size_t at, size_t length) { return NumberOf(digits.substr(at, length)); };
    const auto year = part(0, 4), month = part(4, 2), day = part(6, 2), hour = part(8, 2),
               minute = part(10, 2);
    if (!year || !month || !day || !hour || !minute || *month < 1 || *month > 12 || *day < 1 ||
        *day > 31 || *hour > 23 || *minute > 59) {
        return std::nullopt;
    }
    return EpochFromLocalTime(stLocalTime{*year, *month, *day, *hour, *minute, 0, 0});
}

}  // namespace hx
