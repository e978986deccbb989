#include "tools/boardsim/board_records.h"

namespace hx {

namespace {

uint8_t CountByte(int count) {
    return static_cast<uint8_t>(count);
}

uint8_t DispenserBits(const stBillDispenser& dispenser, int lowLevel) {
    uint8_t bits = 0;
    if (dispenser.empty) {
        bits |= kDispenserEmptyBit;
    }
    if (dispenser.forcedLow || dispenser.stock < lowLevel) {
        bits |= kDispenserLowBit;
    }
    if (dispenser.fault) {
        bits |= kDispenserFaultBit;
    }
    return bits;
}

}  // namespace

stBoardRecord BillsCountedRecord(const stBoardState& state) {
    return {enumBoardRecord::BillsCounted,
            {CountByte(state.bills[0]), CountByte(state.bills[1]), CountByte(state.bills[2]),
             CountByte(state.bills[3])}};
}

stBoardRecord BillAcceptorRecord(const stBoardState& state, uint8_t doorCode) {
    const uint8_t acceptor =
        (state.billInletOpen ? kAcceptorOnBit : 0) | (state.acceptorFault ? kAcceptorFaultBit : 0);
    return {enumBoardRecord::BillAcceptorStatus, {acceptor, doorCode}};
}

stBoardRecord CoinsCountedRecord(const stBoardState& state) {
    return {enumBoardRecord::CoinsCounted,
            {0, 0, CountByte(state.coins[0]), CountByte(state.coins[1])}};
}

stBoardRecord CoinSelectorRecord(const stBoardState& state) {
    const uint8_t selector =
        (state.coinInletOpen ? kSelectorOnBit : 0) | (state.selectorFault ? kSelectorFaultBit : 0);
    return {enumBoardRecord::CoinSelectorStatus, {selector}};
}

stBoardRecord DispenserStatusRecord(const stBoardState& state) {
    return {enumBoardRecord::DispenserStatus,
            {static_cast<uint8_t>(state.hopperFault ? kHopperFaultBit : 0), 0,
             DispenserBits(state.dispenser1, state.lowLevel),
             DispenserBits(state.dispenser2, state.lowLevel)}};
}

stBoardRecord DispenseResultRecord(const stPayout& payout) {
    return {enumBoardRecord::DispenseResult,
            {CountByte(payout.coins), 0, CountByte(payout.notes1), CountByte(payout.notes2)}};
}

std::vector<stBoardRecord> DeviceRecords(const stBoardState& state, enumBoardDevice device) {
    switch (device) {
        case enumBoardDevice::BillAcceptor:
            return {BillAcceptorRecord(state), BillsCountedRecord(state)};
        case enumBoardDevice::CoinSelector:
            return {CoinSelectorRecord(state), CoinsCountedRecord(state)};
        case enumBoardDevice::Dispenser:
            return {DispenserStatusRecord(state)};
    }
    return {};
}

}  // namespace hx
