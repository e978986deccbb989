#include "tools/dispsim/dispenser_protocol.h"

#include <utility>

namespace hx {

std::string_view DispenserCommandName(uint8_t command) {
    static constexpr std::pair<enumDispenserCommand, std::string_view> kNames[] = {
        {enumDispenserCommand::Reset, "reset"},     {enumDispenserCommand::Reboot, "reboot"},
        {enumDispenserCommand::Status, "status"},   {enumDispenserCommand::Firmware, "firmware"},
        {enumDispenserCommand::Sensor, "sensor"},   {enumDispenserCommand::Ready, "ready"},
        {enumDispenserCommand::Write, "write"},     {enumDispenserCommand::Read, "read"},
        {enumDispenserCommand::Capture, "capture"}, {enumDispenserCommand::Eject, "eject"},
    };
    for (const auto& [code, name] : kNames) {
        if (static_cast<uint8_t>(code) == command) {
            return name;
        }
    }
    return {};
}

}  // namespace hx
