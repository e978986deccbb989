#pragma once
// Defaults of the registry values the channel reads under its application's
// key (the one the application set with CEnvr::SetFrameworkKey). The first
// reader of a missing value stores its default for everyone, so every reader
// passes these constants.

namespace hx {

// TCP/IP: the server address pool
inline constexpr const char* kDefaultMainServer = "";
inline constexpr int kDefaultNextIndex = 0;
// KIOSK: the number and name the server gives the kiosk at the handshake
inline constexpr int kDefaultKioskNo = 0;
inline constexpr const char* kDefaultKioskName = "";
// Computer: the network card that identifies the machine
inline constexpr const char* kDefaultKeyMac = "";

}  // namespace hx
