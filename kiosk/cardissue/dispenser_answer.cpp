#include "kiosk/cardissue/dispenser_answer.h"

#include <algorithm>

#include "kiosk/cardissue/dispenser_result.h"
#include "kiosk/support/hex_dump.h"

namespace hx {

namespace {

constexpr size_t kCommandAt = 2;
constexpr size_t kResultAt = 3;
constexpr size_t kDataAt = 4;
constexpr uint8_t kResultOk = '0';

stDispenserAnswer Unreadable(const std::string& dump) {
    return {DISPENSER_UNKOWN_PACKET,
            std::nullopt,
            {},
            std::nullopt,
            {"RX", "ERROR", "Unkown Packet. [" + dump + "]"}};
}

std::optional<int> ResultOf(uint8_t character) {
    if (character >= '0' && character <= '5') {
        return DISPENSER_OK + (character - '0');
    }
    if (character == 0x40) {
        return DISPENSER_COMMUNICATION_ERROR;
    }
    return std::nullopt;
}

// The data of a '0' answer, taken when it lies before the check byte.
bool TakeData(std::span<const uint8_t> bytes, size_t size, stDispenserAnswer& answer) {
    if (kDataAt + size > bytes.size() - 1) {
        return false;
    }
    const std::span<const uint8_t> data = bytes.subspan(kDataAt, size);
    if (*answer.command == DISPENSER_READ) {
        answer.block.emplace();
        std::copy(data.begin(), data.end(), answer.block->begin());
    } else {
        answer.text.assign(data.begin(), data.end());
    }
    return true;
}

}  // namespace

stDispenserAnswer ParseDispenserAnswer(std::span<const uint8_t> bytes) {
    const std::string dump = HexDump(bytes);
    if (bytes.size() <= kResultAt) {
        return Unreadable(dump);
    }
    if (XorOf(bytes.subspan(1, bytes.size() - 2)) != bytes.back()) {
        return {DISPENSER_BCC_ERROR,
                std::nullopt,
                {},
                std::nullopt,
                {"RX", "ERROR", "BCC Check Fail. Rx Data: " + dump}};
    }
    const uint8_t command = bytes[kCommandAt];
    const std::optional<int> result = ResultOf(bytes[kResultAt]);
    if (DispenserCommandName(command).empty() || !result) {
        return Unreadable(dump);
    }
    stDispenserAnswer answer{*result,
                             command,
                             {},
                             std::nullopt,
                             {"RX", std::string(DispenserCommandName(command)), dump}};
    if (bytes[kResultAt] == kResultOk && !TakeData(bytes, AnswerDataSize(command), answer)) {
        return Unreadable(dump);
    }
    return answer;
}

}  // namespace hx
