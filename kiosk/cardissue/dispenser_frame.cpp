#include "kiosk/cardissue/dispenser_frame.h"

namespace hx {

namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kLengthBase = 0x20;

}  // namespace

std::string_view DispenserCommandName(uint8_t command) {
    switch (command) {
        case DISPENSER_SET_RESET:
            return "Set Reset";
        case DISPENSER_SET_REBOOT:
            return "Set Reboot";
        case DISPENSER_GET_STATUS:
            return "Get Status";
        case DISPENSER_GET_FIRMWARE:
            return "Get Firmware";
        case DISPENSER_GET_SENSOR:
            return "Get Sensor";
        case DISPENSER_READY:
            return "Ready";
        case DISPENSER_WRITE:
            return "Write";
        case DISPENSER_READ:
            return "Read";
        case DISPENSER_CAPTURE:
            return "Capture";
        case DISPENSER_EJECT_DROP:
            return "Eject(Drop)";
        case DISPENSER_EJECT_CATCH:
            return "Eject(Catch)";
        default:
            return {};
    }
}

size_t AnswerDataSize(uint8_t command) {
    switch (command) {
        case DISPENSER_GET_FIRMWARE:
            return 8;
        case DISPENSER_GET_SENSOR:
            return 5;
        case DISPENSER_READ:
            return kCardBlockSize;
        default:
            return 0;
    }
}

uint8_t XorOf(std::span<const uint8_t> bytes) {
    uint8_t check = 0;
    for (const uint8_t byte : bytes) {
        check ^= byte;
    }
    return check;
}

std::vector<uint8_t> BuildDispenserFrame(enumDispenserCommand command,
                                         std::span<const uint8_t> parameters) {
    std::vector<uint8_t> frame{kStx, static_cast<uint8_t>(kLengthBase + 1 + parameters.size()),
                               command};
    frame.insert(frame.end(), parameters.begin(), parameters.end());
    frame.push_back(kEtx);
    frame.push_back(XorOf(frame));
    return frame;
}

std::vector<uint8_t> BuildWriteFrame(uint8_t sector, uint8_t block, const CardBlock& data) {
    std::vector<uint8_t> parameters{sector, block};
    parameters.insert(parameters.end(), data.begin(), data.end());
    parameters.back() ^= XorOf(std::span(data).first(kCardBlockSize - 1));
    return BuildDispenserFrame(DISPENSER_WRITE, parameters);
}

std::vector<uint8_t> BuildReadFrame(uint8_t sector, uint8_t block) {
    const uint8_t parameters[] = {sector, block};
    return BuildDispenserFrame(DISPENSER_READ, parameters);
}

}  // namespace hx
