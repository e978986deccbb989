#pragma once
// The commands the kiosk sends to the control board: the queue record, the
// codes, and for each code the exact bytes on the line and the labels the
// monitor and the PCB log show it under.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace hx {

enum enumBoardCommand : int {
    BOARD_DISPENSER_ALL_DATA = 801,
    BOARD_DISPENSER_CHANGED_DATA = 802,
    BOARD_DISPENSER_DATA_COMMAND = 803,
    BOARD_DISPENSER1_INIT = 804,
    BOARD_DISPENSER2_INIT = 805,
    BOARD_DISPENSE = 806,
    BOARD_HOPPER_INIT = 807,
    BOARD_COIN_ALL_DATA = 901,
    BOARD_COIN_CHANGED_DATA = 902,
    BOARD_COIN_DATA_COMMAND = 903,
    BOARD_COIN_INLET_OPEN = 904,
    BOARD_COIN_INLET_CLOSE = 905,
    BOARD_COIN_INLET_OPEN_RESET = 906,
    BOARD_COIN_INLET_CLOSE_RESET = 907,
    BOARD_BILL_ALL_DATA = 1001,
    BOARD_BILL_CHANGED_DATA = 1002,
    BOARD_BILL_DATA_COMMAND = 1003,
    BOARD_BILL_INLET_OPEN = 1004,
    BOARD_BILL_INLET_CLOSE = 1005,
    BOARD_BILL_INLET_OPEN_RESET = 1006,
    BOARD_BILL_INLET_CLOSE_RESET = 1007,
    BOARD_SIGNAL_SALE_START = 2001,
    BOARD_SIGNAL_SALE_ACCEPTED = 2002,
    BOARD_SIGNAL_SALE_ENDED = 2003,
};

// One queued command; arguments a code does not use hold -1.
struct stControlBoardCommand {
    int32_t code = 0;
    int32_t x = -1;
    int32_t y = -1;
    int32_t z = -1;
};

struct stBoardCommandLabels {
    std::string_view device;
    std::string_view command;
};

// Labels of a listed code; none for any other code.
std::optional<stBoardCommandLabels> BoardCommandLabels(int code);

// The bytes to write for a command; none when nothing is to be sent: code
// 803, an unlisted code, or a dispense (806) that asks for no piece or for
// 100 or more of one kind.
std::optional<std::vector<uint8_t>> BoardCommandBytes(const stControlBoardCommand& command);

}  // namespace hx
