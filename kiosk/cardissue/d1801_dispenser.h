#pragma once
// The library kind of card dispenser: the dispenser maker's library finds
// the dispenser and moves cards, the door-lock maker's library encodes
// them. Each call leaves a row on the dispenser's monitor.

#include <cstdint>
#include <string>

#include "kiosk/cardissue/dispenser_libraries.h"
#include "kiosk/cardissue/dispenser_monitor.h"

namespace hx {

class CD1801Dispenser {
public:
    static constexpr int kHandle = -1;
    static constexpr uint8_t kUnknownAddress = 0x11;
    static constexpr int kAddresses = 16;
    static constexpr int kLockEncoder = 5;

    // Status of D1801Status.
    static constexpr int kStatusReady = 1;
    static constexpr int kStatusNoCard = -1;
    static constexpr int kStatusFault = -10;
    static constexpr int kStatusJam = -100;

    // Either library may be missing: its calls then fail.
    CD1801Dispenser(ID1801Library* dispenser, ILockLibrary* lock, CDispenserMonitor& monitor);

    // The first address that answers, then the lock encoder.
    bool ConnectD1801();
    bool D1801Ready();
    bool D1801Out();
    // 1 ready, -1 no card, -10 a fault, -100 a jam; the sensor bytes go to a row.
    int D1801Status();
    // The lock library's answer (1 = encoded); a failure leaves a row.
    int MakeGuestCard(const std::string& roomAddress, const std::string& start,
                      const std::string& end);

    // A status or raw result as a dispenser result: 1 -> 30, -1 -> 32,
    // -100 -> 35, anything else -> 31.
    static int ResultOf(int raw);

private:
    bool SendCommand(const char* name, const uint8_t (&command)[3]);
    void Row(const std::string& command, const std::string& content);

    ID1801Library* const m_dispenser;
    ILockLibrary* const m_lock;
    CDispenserMonitor& m_monitor;
    uint8_t m_address = kUnknownAddress;
};

}  // namespace hx
