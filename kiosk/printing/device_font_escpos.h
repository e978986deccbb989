#pragma once
// The USB printer's device fonts in ESC/POS. Each face is a character size
// with a line height in dots; lines are placed exactly by feeding the paper
// (ESC J) from one line's top to the next. The control face's characters
// are commands: "x" centres the lines that follow, "w" sets them left, and
// "6" cuts the paper partly (the feed before it leaves the last line clear
// of the cutter).

#include <cstdint>
#include <vector>

#include "kiosk/printing/device_document.h"

namespace hx {

// The height in dots of a face's line, and of the printer's default font.
int FaceHeight(enumDeviceFace face);
inline constexpr int kDefaultFontHeight = 24;

// The whole document, starting with ESC @.
std::vector<uint8_t> EncodeDeviceDocument(const stDeviceDocument& document);

}  // namespace hx
