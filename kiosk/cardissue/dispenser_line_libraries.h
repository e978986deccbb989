#pragma once
// The two makers' libraries as they run on this machine: both drive the
// dispenser over its serial line with the serial dispenser's own frames, so
// the library kind runs against the same device (or simulator) as the
// serial kind. The dispenser library finds one dispenser, at address 0;
// "FC7" readies a card and "FC0" pushes it out; the sensor bytes come from
// the dispenser's status. The lock library encodes the door-lock blocks of
// the serial kind from the room address and the texts of the stay, with the
// motel's codes it was last given.
//
// Like the makers' libraries, each call blocks until its answer (3 s at
// most); the port opens at the first call.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kiosk/cardissue/dispenser_frame.h"
#include "kiosk/cardissue/dispenser_libraries.h"
#include "kiosk/cardissue/guest_card_issuer.h"
#include "platform/serial.h"

namespace hx {

class CDispenserLineLibraries : public ID1801Library, public ILockLibrary {
public:
    static constexpr DWORD kAnswerTimeoutMs = 3000;

    // The port is named anew each time the line opens.
    explicit CDispenserLineLibraries(std::function<std::string()> portName);
    void SetHotelCodes(const stHotelCodes& hotel) { m_hotel = hotel; }
    // Lets the port go (for the serial kind's window).
    void CloseLine() { m_serial.Close(); }

    int D1801_AutoTestMac(int handle, uint8_t address) override;
    int D1801_SendCmd(int handle, uint8_t address, const uint8_t* command, int count) override;
    int D1801_SensorQuery(int handle, uint8_t address, uint8_t* status) override;
    int Ordinal58(int encoder) override;
    int Ordinal56(char* output, const char* roomAddress, const char* start, const char* end,
                  int zero) override;

private:
    // The answer's result character; none when the dispenser did not answer.
    std::optional<uint8_t> Exchange(const std::vector<uint8_t>& frame);
    std::optional<std::vector<uint8_t>> ReadAnswer();
    bool LineOpen();
    int WriteBlock(uint8_t block, const CardBlock& data);

    const std::function<std::string()> m_portName;
    stHotelCodes m_hotel;
    CSerial m_serial;
};

}  // namespace hx
