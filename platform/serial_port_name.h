#pragma once
// Where a port name leads. The kiosk names its ports "COMn" as on Windows;
// tests and the demo link DRIVE/dosdevices/comn to a simulator's
// pseudo-terminal, so a test never falls through to a real device.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

// "COMn" (any case, also "\\.\COMn") gives DRIVE/dosdevices/comn when that
// link exists, else /dev/ttyS(n-1) (COM0: nothing); a name starting with '/'
// is a device path as it is. Empty for any other name, which is no port.
std::filesystem::path ResolveSerialPortPath(std::string_view name);

// The ports offered to a technician, by number: "COMn" for each
// DRIVE/dosdevices/comn link and for each serial port the system has (see
// SystemComPortNumbers); COM1 to COM10 when there is none.
std::vector<std::string> ListSerialPorts();

// The n of each COMn the system's own serial ports stand for: on Linux,
// /dev/ttyS(n-1) when `ttyClass` (the sysfs tty class) says that a UART is
// there (its "type" is not 0).
std::vector<unsigned> SystemComPortNumbers(
    const std::filesystem::path& ttyClass = "/sys/class/tty");

}  // namespace hx
