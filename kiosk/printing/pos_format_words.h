#pragma once
// The formatting words of a serial printer document, turned into ESC/POS:
// "setBold" ESC E 1, "clrBold" ESC E 0, "setCenter" ESC a 1, "setLeft"
// ESC a 0, "setNormal" GS ! 0 and ESC E 0, "setDoubleWidth" GS ! 0x10,
// "PatialCut" GS V 1. Everything else passes through as it is, raw ESC/POS
// bytes included. The text is code page 949: a word is only recognised at
// a character boundary, never inside a two-byte character.

#include <cstdint>
#include <string_view>
#include <vector>

namespace hx {

std::vector<uint8_t> TranslateFormatWords(std::string_view document);

}  // namespace hx
