#pragma once
// What the receipt printer tells the kiosk about itself: a state set from the
// console, and the one-byte answers to the real-time status requests (DLE EOT
// n). Bits 1 and 4 of every answer are always set.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hx {

enum class enumPrinterState {
    Ready,
    NearEnd,    // prints; the paper roll sensor says the paper runs low
    PaperOut,   // does not print
    CoverOpen,  // does not print
    Feed,       // paper being fed by the feed button: offline, still prints
    Error,      // does not print
    Silent,     // prints, and never answers a status request
};

// "ready", "near-end", "paper-out", "cover-open", "feed", "error", "silent".
std::string_view PrinterStateName(enumPrinterState state);
std::optional<enumPrinterState> PrinterStateByName(std::string_view name);
// Every state's name, separated by '|', for usage texts.
std::string PrinterStateNames();

// False in the states where the bytes of documents are dropped.
bool PrintsIn(enumPrinterState state);

// The answer to DLE EOT n (1 printer, 2 offline cause, 3 error cause, 4 paper
// roll sensor); nullopt when the printer stays silent.
std::optional<uint8_t> StatusAnswer(enumPrinterState state, int request);

}  // namespace hx
