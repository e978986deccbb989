#pragma once
// The fixed bytes of the control board's serial line: the command bytes the PC
// sends per device, the data-command types, and the leading bytes and record
// types of what the board sends back.

#include <cstdint>
#include <optional>

namespace hx {

enum class enumBoardDevice { BillAcceptor, CoinSelector, Dispenser };
enum class enumBoardRequest { AllData, ChangedData, DataCommand };

struct stBoardCommandByte {
    enumBoardDevice device;
    enumBoardRequest request;
};

// What a first byte from the PC asks for; nullopt for a byte no device answers to.
std::optional<stBoardCommandByte> DecodeBoardCommandByte(uint8_t byte);

// Data-command types, by device.
inline constexpr uint8_t kBillInletType = 0x10;
inline constexpr uint8_t kCoinInletType = 0x00;
inline constexpr uint8_t kDispenseType = 0x00;
inline constexpr uint8_t kInitialiseUnitType = 0x01;
inline constexpr uint8_t kSignalType = 0x04;
// The inlet's action byte: bit 0 opens (else closes), bit 1 also resets the counts.
inline constexpr uint8_t kInletOpenBit = 0x01;
inline constexpr uint8_t kInletResetBit = 0x02;

// Leading bytes of the board's answers.
inline constexpr uint8_t kBoardAck = 0x11;
inline constexpr uint8_t kBoardSingleRecord = 0x22;
inline constexpr uint8_t kBoardFrame = 0x33;

enum class enumBoardRecord : uint8_t {
    CoinsCounted = 8,
    CoinSelectorStatus = 11,
    DispenseResult = 21,
    DispenserStatus = 22,
    BillsCounted = 24,
    BillAcceptorStatus = 27,
};

// Door codes of the bill acceptor status record. The PC greets on 0x10 and
// 0x30 and keeps its door state on any other code, so a code is sent once,
// with the change; every other status record carries no door news.
inline constexpr uint8_t kNoDoorNews = 0x00;
inline constexpr uint8_t kDoorClosed = 0x10;
inline constexpr uint8_t kDoorOpenQuiet = 0x20;
inline constexpr uint8_t kDoorOpenGreeting = 0x30;

// Bits of a bill dispenser in the dispenser status record.
inline constexpr uint8_t kDispenserEmptyBit = 0x01;
inline constexpr uint8_t kDispenserLowBit = 0x02;
inline constexpr uint8_t kDispenserFaultBit = 0x04;

// Bill acceptor state in its status record.
inline constexpr uint8_t kAcceptorOnBit = 0x01;
inline constexpr uint8_t kAcceptorFaultBit = 0x04;
// Coin selector status: on, and the fault the console sets (shown as "C").
inline constexpr uint8_t kSelectorOnBit = 0x01;
inline constexpr uint8_t kSelectorFaultBit = 0x80;
// The 100-won hopper's fault bit in the dispenser status record.
inline constexpr uint8_t kHopperFaultBit = 0x01;

// The PC reads every count as a signed byte: a count above this reads negative.
inline constexpr int kMaxBoardCount = 127;

}  // namespace hx
