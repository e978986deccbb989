#include "tools/boardsim/board_protocol.h"

namespace hx {

namespace {

// Each device's three command bytes follow one another: all data, changed data, data command.
struct stDeviceBytes {
    uint8_t first;
    enumBoardDevice device;
};

constexpr stDeviceBytes kDeviceBytes[] = {
    {0x59, enumBoardDevice::BillAcceptor},
    {0x61, enumBoardDevice::CoinSelector},
    {0x71, enumBoardDevice::Dispenser},
};

constexpr enumBoardRequest kRequests[] = {enumBoardRequest::AllData, enumBoardRequest::ChangedData,
                                          enumBoardRequest::DataCommand};

}  // namespace

std::optional<stBoardCommandByte> DecodeBoardCommandByte(uint8_t byte) {
    for (const stDeviceBytes& device : kDeviceBytes) {
        if (byte >= device.first && byte < device.first + 3) {
            return stBoardCommandByte{device.device, kRequests[byte - device.first]};
        }
    }
    return std::nullopt;
}

}  // namespace hx
