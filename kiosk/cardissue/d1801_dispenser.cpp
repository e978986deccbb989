#include "kiosk/cardissue/d1801_dispenser.h"

#include <array>

#include "kiosk/cardissue/dispenser_result.h"

namespace hx {

namespace {

constexpr uint8_t kReadyCommand[3] = {0x46, 0x43, 0x37};  // "FC7"
constexpr uint8_t kOutCommand[3] = {0x46, 0x43, 0x30};    // "FC0"
constexpr size_t kStatusBytes = 4;
constexpr size_t kLockOutputSize = 100;

bool Bit(uint8_t byte, int bit) {
    return ((byte >> bit) & 1) != 0;
}

// Bits 3 to 0 as '0'/'1'.
std::string BitsOf(uint8_t byte) {
    std::string bits;
    for (int bit = 3; bit >= 0; --bit) {
        bits += Bit(byte, bit) ? '1' : '0';
    }
    return bits;
}

}  // namespace

CD1801Dispenser::CD1801Dispenser(ID1801Library* dispenser, ILockLibrary* lock,
                                 CDispenserMonitor& monitor)
    : m_dispenser(dispenser), m_lock(lock), m_monitor(monitor) {}

bool CD1801Dispenser::ConnectD1801() {
    for (int address = 0; m_dispenser != nullptr && address < kAddresses; ++address) {
        if (m_dispenser->D1801_AutoTestMac(kHandle, static_cast<uint8_t>(address)) == 0) {
            m_address = static_cast<uint8_t>(address);
            Row("AutoTestMac", "연결성공 [" + std::to_string(address) + "]");
            return m_lock != nullptr && m_lock->Ordinal58(kLockEncoder) == 1;
        }
    }
    Row("AutoTestMac", "연결실패");
    return false;
}

bool CD1801Dispenser::D1801Ready() {
    return SendCommand("D1801_Ready", kReadyCommand);
}

bool CD1801Dispenser::D1801Out() {
    return SendCommand("D1801_Out", kOutCommand);
}

int CD1801Dispenser::D1801Status() {
    std::array<uint8_t, kStatusBytes> s{};
    if (m_dispenser != nullptr) {
        m_dispenser->D1801_SensorQuery(kHandle, m_address, s.data());
    }
    Row("D1801_GetStatus",
        BitsOf(s[0]) + " " + BitsOf(s[1]) + " " + BitsOf(s[2]) + " " + BitsOf(s[3]));
    if (Bit(s[0], 1) || Bit(s[1], 1) || Bit(s[1], 0)) {
        return kStatusFault;
    }
    if (Bit(s[2], 1)) {
        return kStatusJam;
    }
    if (Bit(s[3], 3) || Bit(s[2], 0)) {
        return kStatusNoCard;
    }
    return kStatusReady;
}

int CD1801Dispenser::MakeGuestCard(const std::string& roomAddress, const std::string& start,
                                   const std::string& end) {
    char output[kLockOutputSize] = {};
    const int result = m_lock == nullptr ? 0
                                         : m_lock->Ordinal56(output, roomAddress.c_str(),
                                                             start.c_str(), end.c_str(), 0);
    if (result != 1) {
        Row("D1801_MakeGuestCard", "카드쓰기 실패 [" + std::to_string(result) + "]");
    }
    return result;
}

int CD1801Dispenser::ResultOf(int raw) {
    switch (raw) {
        case kStatusReady:
            return DISPENSER_OK;
        case kStatusNoCard:
            return DISPENSER_NO_CARD;
        case kStatusJam:
            return DISPENSER_CARD_JAM;
        default:
            return DISPENSER_ERROR;
    }
}

bool CD1801Dispenser::SendCommand(const char* name, const uint8_t (&command)[3]) {
    const bool done =
        m_dispenser != nullptr && m_dispenser->D1801_SendCmd(kHandle, m_address, command, 3) == 0;
    Row(name, done ? "성공" : "실패");
    return done;
}

void CD1801Dispenser::Row(const std::string& command, const std::string& content) {
    m_monitor.AddDispenserLogRow({"D1801", command, content});
}

}  // namespace hx
