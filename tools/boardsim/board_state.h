#pragma once
// What the simulated board holds: the inlets, the running counts of money
// taken since the last reset, the two bill dispensers and the 100-won hopper
// with their stock, the faults the console has set, and the door.

#include <array>
#include <cstdint>

#include "tools/boardsim/board_protocol.h"

namespace hx {

// Bill values the acceptor counts, in the order of its counts record.
inline constexpr std::array<int, 4> kBillValues{1000, 5000, 10000, 50000};
// Coin values the selector counts, in the order of its counts record.
inline constexpr std::array<int, 2> kCoinValues{100, 500};

struct stBillDispenser {
    int denomination = 1000;
    int stock = 100;
    bool empty = false;  // ran out during a payout; cleared by initialising the unit
    bool fault = false;
    bool forcedLow = false;
};

struct stPayout {
    int coins = 0;  // 100-won coins
    int notes1 = 0;
    int notes2 = 0;
};

struct stBoardState {
    bool billInletOpen = false;
    bool coinInletOpen = false;
    std::array<int, 4> bills{};
    std::array<int, 2> coins{};
    bool acceptorFault = false;
    bool selectorFault = false;
    bool hopperFault = false;
    int hopperStock = 500;
    stBillDispenser dispenser1{1000, 100};
    stBillDispenser dispenser2{5000, 100};
    // A dispenser with fewer notes reports itself low.
    int lowLevel = 10;
    uint8_t door = kDoorClosed;
};

}  // namespace hx
