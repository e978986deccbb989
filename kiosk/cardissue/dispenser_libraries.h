#pragma once
// The two makers' libraries the library kind of dispenser is driven with,
// as the kiosk calls them: the dispenser maker's (by name) and the door-lock
// maker's (by ordinal). What they do inside is theirs; only the calls, their
// arguments and their results are fixed here.

#include <cstdint>

namespace hx {

class ID1801Library {
public:
    virtual ~ID1801Library() = default;
    // 0 when a dispenser answers at `address`.
    virtual int D1801_AutoTestMac(int handle, uint8_t address) = 0;
    // Sends `count` command bytes; 0 when done.
    virtual int D1801_SendCmd(int handle, uint8_t address, const uint8_t* command, int count) = 0;
    // Fills the first 4 bytes of `status` with the sensor bytes s0 to s3.
    virtual int D1801_SensorQuery(int handle, uint8_t address, uint8_t* status) = 0;
};

class ILockLibrary {
public:
    virtual ~ILockLibrary() = default;
    // Opens the encoder (the kiosk passes 5); 1 when ready.
    virtual int Ordinal58(int encoder) = 0;
    // Encodes a guest card for the room address ("001.003.00305") from
    // `start` to `end` ("%Y-%m-%d %H:%M:%S"); 1 when done. `output` holds
    // 100 bytes.
    virtual int Ordinal56(char* output, const char* roomAddress, const char* start, const char* end,
                          int zero) = 0;
};

}  // namespace hx
