#include "tools/prnsim/printer_state.h"

#include <utility>

namespace hx {

namespace {

constexpr std::pair<enumPrinterState, std::string_view> kStates[] = {
    {enumPrinterState::Ready, "ready"},        {enumPrinterState::NearEnd, "near-end"},
    {enumPrinterState::PaperOut, "paper-out"}, {enumPrinterState::CoverOpen, "cover-open"},
    {enumPrinterState::Feed, "feed"},          {enumPrinterState::Error, "error"},
    {enumPrinterState::Silent, "silent"},
};

constexpr uint8_t kFixedBits = 0x12;
constexpr uint8_t kOffline = 0x08;
constexpr uint8_t kCoverOpen = 0x04;
constexpr uint8_t kFeedButton = 0x08;
constexpr uint8_t kStoppedByPaperEnd = 0x20;
constexpr uint8_t kErrorOccurred = 0x40;
constexpr uint8_t kPaperNearEnd = 0x0C;
constexpr uint8_t kPaperOut = 0x60;

bool Online(enumPrinterState state) {
    return state == enumPrinterState::Ready || state == enumPrinterState::NearEnd ||
           state == enumPrinterState::Silent;
}

uint8_t OfflineCause(enumPrinterState state) {
    switch (state) {
        case enumPrinterState::CoverOpen:
            return kCoverOpen;
        case enumPrinterState::Feed:
            return kFeedButton;
        case enumPrinterState::PaperOut:
            return kStoppedByPaperEnd;
        case enumPrinterState::Error:
            return kErrorOccurred;
        default:
            return 0;
    }
}

uint8_t PaperSensor(enumPrinterState state) {
    if (state == enumPrinterState::NearEnd) {
        return kPaperNearEnd;
    }
    return state == enumPrinterState::PaperOut ? kPaperOut : 0;
}

}  // namespace

std::string_view PrinterStateName(enumPrinterState state) {
    for (const auto& [known, name] : kStates) {
        if (known == state) {
            return name;
        }
    }
    return "?";
}

std::optional<enumPrinterState> PrinterStateByName(std::string_view name) {
    for (const auto& [state, known] : kStates) {
        if (known == name) {
            return state;
        }
    }
    return std::nullopt;
}

std::string PrinterStateNames() {
    std::string names;
    for (const auto& [state, name] : kStates) {
        names += (names.empty() ? "" : "|") + std::string(name);
    }
    return names;
}

bool PrintsIn(enumPrinterState state) {
    return state != enumPrinterState::PaperOut && state != enumPrinterState::CoverOpen &&
           state != enumPrinterState::Error;
}

std::optional<uint8_t> StatusAnswer(enumPrinterState state, int request) {
    if (state == enumPrinterState::Silent) {
        return std::nullopt;
    }
    switch (request) {
        case 1:
            return kFixedBits | (Online(state) ? 0 : kOffline);
        case 2:
            return kFixedBits | OfflineCause(state);
        case 3:
            return kFixedBits | (state == enumPrinterState::Error ? kErrorOccurred : 0);
        case 4:
            return kFixedBits | PaperSensor(state);
        default:
            return std::nullopt;
    }
}

}  // namespace hx
