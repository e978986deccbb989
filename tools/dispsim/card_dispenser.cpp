#include "tools/dispsim/card_dispenser.h"

#include <string_view>

#include "tools/common/tool_journal.h"
#include "tools/common/xor_check.h"

namespace hx {

namespace {

constexpr std::string_view kFirmware = "DSIM1.00";
// Mifare-style addressing: 16 sectors of 4 blocks.
constexpr int kSectors = 16;
constexpr int kBlocksPerSector = 4;

constexpr uint8_t Code(enumDispenserResult result) {
    return static_cast<uint8_t>(result);
}

bool IsMotion(enumDispenserCommand command) {
    switch (command) {
        case enumDispenserCommand::Ready:
        case enumDispenserCommand::Write:
        case enumDispenserCommand::Read:
        case enumDispenserCommand::Capture:
        case enumDispenserCommand::Eject:
            return true;
        default:
            return false;
    }
}

bool ValidAddress(uint8_t sector, uint8_t block) {
    return sector < kSectors && block < kBlocksPerSector;
}

}  // namespace

CCardDispenser::CCardDispenser(int stack, EventSink events) : m_events(std::move(events)) {
    m_state.stack = stack;
}

std::optional<std::vector<uint8_t>> CCardDispenser::Handle(const stDispenserFrame& frame) {
    Data data;
    const uint8_t result = Carry(frame, data);
    std::vector<uint8_t> answer = BuildDispenserAnswer(frame.command, result, data);
    if (!m_answerFault) {
        return answer;
    }
    const enumAnswerFault fault = *m_answerFault;
    if (--m_answerFaultsLeft <= 0) {
        m_answerFault.reset();
    }
    return SpoilAnswer(std::move(answer), fault);
}

void CCardDispenser::SetFault(enumDispenserFault fault, bool on) {
    switch (fault) {
        case enumDispenserFault::Empty:
            m_state.empty = on;
            break;
        case enumDispenserFault::Jam:
            m_state.jam = on;
            break;
        case enumDispenserFault::Hold:
            m_state.hold = on;
            break;
    }
}

void CCardDispenser::Misbehave(enumAnswerFault fault, int times) {
    m_answerFault = times > 0 ? std::optional(fault) : std::nullopt;
    m_answerFaultsLeft = times;
}

uint8_t CCardDispenser::Carry(const stDispenserFrame& frame, Data& data) {
    const auto command = static_cast<enumDispenserCommand>(frame.command);
    const bool takesAddress =
        command == enumDispenserCommand::Write || command == enumDispenserCommand::Read;
    if (DispenserCommandName(frame.command).empty() ||
        (!takesAddress && !frame.parameters.empty())) {
        return Code(enumDispenserResult::Error);
    }
    if (IsMotion(command) && m_state.jam) {
        return Code(enumDispenserResult::CardJam);
    }
    switch (command) {
        case enumDispenserCommand::Status:
            return Status();
        case enumDispenserCommand::Firmware:
            data.assign(kFirmware.begin(), kFirmware.end());
            return Code(enumDispenserResult::Ok);
        case enumDispenserCommand::Sensor:
            data = Sensors();
            return Code(enumDispenserResult::Ok);
        case enumDispenserCommand::Ready:
            return Code(DrawCard() ? enumDispenserResult::Ok : enumDispenserResult::NoCard);
        case enumDispenserCommand::Write:
            return Write(frame.parameters);
        case enumDispenserCommand::Read:
            return Read(frame.parameters, data);
        case enumDispenserCommand::Capture:
            return Capture();
        case enumDispenserCommand::Eject:
            return Eject();
        default:  // reset and reboot leave the cards where they are
            return Code(enumDispenserResult::Ok);
    }
}

uint8_t CCardDispenser::Status() const {
    if (m_state.statusCode) {
        return *m_state.statusCode;
    }
    if (m_state.jam) {
        return Code(enumDispenserResult::CardJam);
    }
    if (m_state.hold) {
        return Code(enumDispenserResult::CardHeld);
    }
    if (!m_state.cardInMouth && (m_state.empty || m_state.stack == 0)) {
        return Code(enumDispenserResult::NoCard);
    }
    return Code(enumDispenserResult::Ok);
}

// One '0' or '1' each: cards in the stack, a card in the read/write position,
// a card held in the exit, a jam, cards in the capture bin.
CCardDispenser::Data CCardDispenser::Sensors() const {
    const bool sensors[kSensorTextSize] = {!m_state.empty && m_state.stack > 0, m_state.cardInMouth,
                                           m_state.hold, m_state.jam, m_state.captured > 0};
    Data text;
    for (const bool on : sensors) {
        text.push_back(on ? '1' : '0');
    }
    return text;
}

uint8_t CCardDispenser::Write(const Data& parameters) {
    if (parameters.size() != 2 + kCardBlockSize || !ValidAddress(parameters[0], parameters[1])) {
        return Code(enumDispenserResult::Error);
    }
    if (!DrawCard()) {
        return Code(enumDispenserResult::NoCard);
    }
    const int block = parameters[1];
    if (const auto rejected = m_rejectedWrites.find(block); rejected != m_rejectedWrites.end()) {
        const uint8_t result = rejected->second;
        m_rejectedWrites.erase(rejected);
        m_events(
            {{"event", "write refused"}, {"block", block}, {"result", std::string(1, result)}});
        return result;
    }
    const std::span<const uint8_t> bytes = std::span(parameters).subspan(2);
    // The kiosk folds the XOR of the first 15 bytes into the 16th.
    if (XorOfBytes(bytes) != 0) {
        m_events({{"event", "write refused"}, {"block", block}, {"why", "bad check byte"}});
        return Code(enumDispenserResult::Error);
    }
    std::copy(bytes.begin(), bytes.end(), Block(parameters[0], block).begin());
    return Code(enumDispenserResult::Ok);
}

uint8_t CCardDispenser::Read(const Data& parameters, Data& data) {
    if (parameters.size() != 2 || !ValidAddress(parameters[0], parameters[1])) {
        return Code(enumDispenserResult::Error);
    }
    if (!DrawCard()) {
        return Code(enumDispenserResult::NoCard);
    }
    const CardBlock& block = Block(parameters[0], parameters[1]);
    data.assign(block.begin(), block.end());
    return Code(enumDispenserResult::Ok);
}

uint8_t CCardDispenser::Eject() {
    if (m_state.hold) {
        return Code(enumDispenserResult::CardHeld);
    }
    if (!DrawCard()) {
        return Code(enumDispenserResult::NoCard);
    }
    const stIssuedCard issued{++m_state.issued, Block(0, 1), Block(0, 2)};
    m_issued.push_back(issued);
    nlohmann::json entry = IssuedCardJson(issued);
    entry["event"] = "issued";
    m_events(entry);
    m_state.cardInMouth = false;
    m_blocks.clear();
    return Code(enumDispenserResult::Ok);
}

uint8_t CCardDispenser::Capture() {
    if (!m_state.cardInMouth) {
        return Code(enumDispenserResult::NoCard);
    }
    ++m_state.captured;
    m_events({{"event", "captured"},
              {"block1", HexBytes(Block(0, 1))},
              {"block2", HexBytes(Block(0, 2))}});
    m_state.cardInMouth = false;
    m_blocks.clear();
    return Code(enumDispenserResult::Ok);
}

bool CCardDispenser::DrawCard() {
    if (m_state.cardInMouth) {
        return true;
    }
    if (m_state.empty || m_state.stack == 0) {
        return false;
    }
    --m_state.stack;
    m_state.cardInMouth = true;
    return true;
}

}  // namespace hx
