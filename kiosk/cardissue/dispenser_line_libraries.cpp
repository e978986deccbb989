#include "kiosk/cardissue/dispenser_line_libraries.h"

#include <chrono>
#include <cstdio>

#include "kiosk/cardissue/dispenser_answer.h"
#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/cardissue/guest_card_blocks.h"

namespace hx {

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kOk = '0';
constexpr uint8_t kJam = '5';
constexpr int kDone = 0;
constexpr int kFailed = -1;
constexpr int kLockDone = 1;
constexpr int kLockJam = -100;

// Status bits as the dispenser library reports them (s0 to s3).
struct stSensorBit {
    uint8_t result;
    int byte;
    int bit;
};
constexpr stSensorBit kSensorBits[] = {
    {'1', 1, 0},   // error: a fault
    {'2', 2, 0},   // no card in the mouth
    {'3', 3, 3},   // stack empty
    {'4', 0, 1},   // a card held: a fault
    {'5', 2, 1},   // jam
    {0x40, 1, 1},  // line error: a fault
};

// "001.003.00305" -> 305.
std::optional<int32_t> DoorOf(const char* roomAddress) {
    int site = 0, group = 0, door = 0;
    if (std::sscanf(roomAddress, "%d.%d.%d", &site, &group, &door) != 3) {
        return std::nullopt;
    }
    return door;
}

// "%Y-%m-%d %H:%M:%S" as local time.
std::optional<stLocalTime> TimeOf(const char* text) {
    stLocalTime t;
    if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &t.second) != 6) {
        return std::nullopt;
    }
    return t;
}

}  // namespace

CDispenserLineLibraries::CDispenserLineLibraries(std::function<std::string()> portName)
    : m_portName(std::move(portName)) {}

int CDispenserLineLibraries::D1801_AutoTestMac(int, uint8_t address) {
    return address == 0 && Exchange(BuildDispenserFrame(DISPENSER_GET_STATUS)) ? kDone : kFailed;
}

int CDispenserLineLibraries::D1801_SendCmd(int, uint8_t, const uint8_t* command, int count) {
    if (count != 3 || command[0] != 'F' || command[1] != 'C' ||
        (command[2] != '7' && command[2] != '0')) {
        return kFailed;
    }
    const auto result =
        Exchange(BuildDispenserFrame(command[2] == '7' ? DISPENSER_READY : DISPENSER_EJECT_DROP));
    return result == kOk ? kDone : kFailed;
}

int CDispenserLineLibraries::D1801_SensorQuery(int, uint8_t, uint8_t* status) {
    const auto result = Exchange(BuildDispenserFrame(DISPENSER_GET_STATUS));
    for (const stSensorBit& sensor : kSensorBits) {
        if (result == sensor.result || (!result && sensor.result == 0x40)) {
            status[sensor.byte] |= static_cast<uint8_t>(1 << sensor.bit);
        }
    }
    return kDone;
}

int CDispenserLineLibraries::Ordinal58(int encoder) {
    return encoder == 5 && LineOpen() ? kLockDone : 0;
}

int CDispenserLineLibraries::Ordinal56(char*, const char* roomAddress, const char* start,
                                       const char* end, int) {
    const std::optional<int32_t> door = DoorOf(roomAddress);
    const std::optional<stLocalTime> from = TimeOf(start);
    const std::optional<stLocalTime> until = TimeOf(end);
    if (!door || !from || !until) {
        return 0;
    }
    stGuestCardData card;
    card.hotelRegion = m_hotel.region;
    card.hotelSequence = m_hotel.sequence;
    card.doorLockNumber = *door;
    card.endTime = EpochFromLocalTime(*until);
    if (const int written = WriteBlock(1, BuildCardBlock1(card)); written != kLockDone) {
        return written;
    }
    return WriteBlock(2, BuildCardBlock2(card, *from));
}

int CDispenserLineLibraries::WriteBlock(uint8_t block, const CardBlock& data) {
    const auto result = Exchange(BuildWriteFrame(0, block, data));
    return result == kOk ? kLockDone : result == kJam ? kLockJam : 0;
}

std::optional<uint8_t> CDispenserLineLibraries::Exchange(const std::vector<uint8_t>& frame) {
    DWORD written = 0;
    if (!LineOpen() || m_serial.Purge() != ERROR_SUCCESS ||
        m_serial.Write(frame.data(), frame.size(), &written, kAnswerTimeoutMs) != ERROR_SUCCESS ||
        written != frame.size()) {
        return std::nullopt;
    }
    const std::optional<std::vector<uint8_t>> answer = ReadAnswer();
    if (!answer) {
        return std::nullopt;
    }
    const stDispenserAnswer parsed = ParseDispenserAnswer(*answer);
    if (parsed.command != frame[2]) {
        return std::nullopt;
    }
    return static_cast<uint8_t>((*answer)[3]);
}

// Reads until the answer is whole: five bytes, and the data a '0' carries.
std::optional<std::vector<uint8_t>> CDispenserLineLibraries::ReadAnswer() {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
    std::vector<uint8_t> answer;
    for (;;) {
        uint8_t buffer[64];
        DWORD count = 0;
        m_serial.Read(buffer, sizeof buffer, &count, 0);
        answer.insert(answer.end(), buffer, buffer + count);
        if (answer.size() >= 4) {
            const size_t whole = 5 + (answer[3] == kOk ? AnswerDataSize(answer[2]) : 0);
            if (answer.size() >= whole) {
                answer.resize(whole);
                return answer;
            }
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || m_serial.WaitForEvent(static_cast<DWORD>(left)) != ERROR_SUCCESS) {
            return std::nullopt;
        }
    }
}

bool CDispenserLineLibraries::LineOpen() {
    if (m_serial.IsOpen()) {
        return true;
    }
    if (m_serial.Open(m_portName(), 0, 0, true) != ERROR_SUCCESS) {
        return false;
    }
    m_serial.Setup(9600, 8, NOPARITY, ONESTOPBIT);
    return true;
}

}  // namespace hx
