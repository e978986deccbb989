#include "tools/dispsim/dispenser_answer.h"

#include <utility>

#include "tools/common/xor_check.h"
#include "tools/dispsim/dispenser_protocol.h"

namespace hx {

namespace {

// A byte no command has, so the kiosk cannot take the answer for its own.
constexpr uint8_t kForeignCommand = 0x33;

void SealAnswer(std::vector<uint8_t>& answer) {
    answer.back() = XorOfBytes(std::span(answer).subspan(1, answer.size() - 2));
}

}  // namespace

std::vector<uint8_t> BuildDispenserAnswer(uint8_t command, uint8_t result,
                                          std::span<const uint8_t> data) {
    std::vector<uint8_t> answer{kDispenserStx,
                                static_cast<uint8_t>(kDispenserLengthBase + 2 + data.size()),
                                command, result};
    answer.insert(answer.end(), data.begin(), data.end());
    answer.push_back(0);
    SealAnswer(answer);
    return answer;
}

std::optional<enumAnswerFault> AnswerFaultByName(std::string_view name) {
    static constexpr std::pair<std::string_view, enumAnswerFault> kNames[] = {
        {"silent", enumAnswerFault::Silent},
        {"bad-bcc", enumAnswerFault::BadBcc},
        {"wrong-cmd", enumAnswerFault::WrongCommand},
    };
    for (const auto& [faultName, fault] : kNames) {
        if (name == faultName) {
            return fault;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> SpoilAnswer(std::vector<uint8_t> answer,
                                                enumAnswerFault fault) {
    switch (fault) {
        case enumAnswerFault::Silent:
            return std::nullopt;
        case enumAnswerFault::BadBcc:
            answer.back() ^= 0xFF;
            break;
        case enumAnswerFault::WrongCommand:
            answer[2] = kForeignCommand;
            SealAnswer(answer);
            break;
    }
    return answer;
}

}  // namespace hx
