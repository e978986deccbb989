#include "tools/vcatsim/terminal_answers.h"

#include "platform/cp949.h"

namespace hx {

namespace {

// The key's place in FILLER1 is fixed: the kiosk cuts it out by position.
constexpr size_t kWorkingKeyAt = 42;
constexpr size_t kFillerLength = 60;

const char kCardNo[] = "9410851234567890";
const char kMerchantNo[] = "00951234";
const char kIssuer[] = "0100BC카드";
const char kAcquirer[] = "BC카드";

stTerminalFrame Answer(const char* code) {
    stTerminalFrame frame;
    frame.kind = enumTerminalFrame::Answer;
    frame.fields.emplace_back(1, code);
    return frame;
}

void Put(stTerminalFrame& frame, int16_t number, const std::string& utf8) {
    frame.fields.emplace_back(number, Cp949FromUtf8(utf8));
}

std::string Filler(const stMerchantInfo& info) {
    std::string filler = "VCATSIM";
    filler.resize(kWorkingKeyAt, ' ');
    filler += info.workingKey.substr(0, 16);
    filler.resize(kWorkingKeyAt + 16, ' ');
    filler += info.keyIndex.substr(0, 2);
    filler.resize(kFillerLength, ' ');
    return filler;
}

// The fields every card answer carries besides its outcome.
void PutSale(stTerminalFrame& frame, const stMerchantInfo& info, const std::string& amount,
             const stSaleTime& when) {
    Put(frame, 3, kCardNo);
    frame.fields.emplace_back(4, amount);  // echoed byte for byte
    Put(frame, 7, "00");
    Put(frame, 9, when.date);
    Put(frame, 10, when.time);
    Put(frame, 12, kMerchantNo);
    Put(frame, 13, info.terminalNo);
    Put(frame, 14, kIssuer);
    Put(frame, 15, kAcquirer);
}

void PutOutcome(stTerminalFrame& frame, const std::string& code, const std::string& message) {
    Put(frame, 17, code);
    Put(frame, 18, message);
    Put(frame, 20, message);
}

}  // namespace

std::string FieldText(const stTerminalFrame& frame, int16_t number) {
    for (const auto& [field, text] : frame.fields) {
        if (field == number) {
            return text;
        }
    }
    return {};
}

stTerminalFrame MerchantInfoAnswer(const stMerchantInfo& info) {
    stTerminalFrame frame = Answer("5202");
    Put(frame, 13, info.terminalNo);
    Put(frame, 25, Filler(info));
    Put(frame, 40, info.businessNo);
    Put(frame, 41, info.merchantName);
    Put(frame, 42, info.representative);
    Put(frame, 43, info.phone);
    Put(frame, 44, info.address);
    Put(frame, 45, info.version);
    return frame;
}

stTerminalFrame MerchantInfoRefusal() {
    stTerminalFrame frame = Answer("5299");
    PutOutcome(frame, "99", "가맹점 정보 없음");
    return frame;
}

stTerminalFrame StatusCheckAnswer() {
    stTerminalFrame frame = Answer("9002");
    Put(frame, 17, "00");
    Put(frame, 18, "단말기 정상");
    return frame;
}

stTerminalFrame ApprovalAnswer(const stMerchantInfo& info, const stCharge& charge) {
    stTerminalFrame frame = Answer("0102");
    PutSale(frame, info, charge.amount, {charge.date, charge.time});
    Put(frame, 8, charge.approvalNo);
    PutOutcome(frame, "00", "정상승인");
    return frame;
}

stTerminalFrame DeclineAnswer(const stMerchantInfo& info, const std::string& amount,
                              const stSaleTime& now, const std::string& code,
                              const std::string& message) {
    stTerminalFrame frame = Answer("0102");
    PutSale(frame, info, amount, now);
    PutOutcome(frame, code, message);
    return frame;
}

stTerminalFrame CancelAnswer(const stMerchantInfo& info, const stTerminalFrame& request,
                             const stSaleTime& now, const std::string& code,
                             const std::string& message) {
    stTerminalFrame frame = Answer("2102");
    PutSale(frame, info, FieldText(request, 3), now);
    frame.fields.emplace_back(8, FieldText(request, 12));
    PutOutcome(frame, code, message);
    return frame;
}

stTerminalFrame StateFrame(const std::string& state) {
    stTerminalFrame frame;
    frame.kind = enumTerminalFrame::State;
    frame.state = state;
    return frame;
}

stTerminalFrame ExitFrame(int32_t code) {
    stTerminalFrame frame;
    frame.kind = enumTerminalFrame::Exit;
    frame.exitCode = code;
    return frame;
}

}  // namespace hx
