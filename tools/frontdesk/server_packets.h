#pragma once
// Packets only the desk builds: the handshake refusal, the message box, the
// container of several packets, and a deliberately broken packet for testing
// how a kiosk copes.

#include <cstdint>
#include <string>
#include <vector>

namespace hx {

using Bytes = std::vector<uint8_t>;

inline constexpr size_t kMessageBoxCaptionOffset = 36;
inline constexpr size_t kMessageBoxCaptionSize = 128;
inline constexpr size_t kMessageBoxTextOffset = 164;
// Longer texts are cut, never split inside a character.
inline constexpr size_t kMessageBoxTextLimit = 4096;

// 381, a bare header.
Bytes BuildHandshakeRefusal();
// 20: caption at 36, the text from 164 up to its terminating zero (CP949).
Bytes BuildMessageBox(const std::string& caption, const std::string& text);
// 20000 with the packets back to back after its own header.
Bytes BuildContainer(const std::vector<Bytes>& packets);
// A room page whose header claims its full size over far fewer bytes: framed
// correctly, wrong inside.
Bytes BuildTruncatedPacket();

}  // namespace hx
