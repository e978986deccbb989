#pragma once
// The answers the terminal program gives, field by field. Texts are given in
// UTF-8 and leave in CP949, as the kiosk reads them.

#include <cstdint>
#include <string>

#include "platform/terminal_frames.h"
#include "tools/vcatsim/charge_ledger.h"

namespace hx {

// What the terminal says about itself and its merchant.
struct stMerchantInfo {
    std::string terminalNo = "2393300001";
    std::string workingKey = "A1B2C3D4E5F60718";  // 16 characters
    std::string keyIndex = "07";                  // 2 characters
    std::string businessNo = "1248100998";
    std::string merchantName = "하룻밤 무인텔";
    std::string representative = "김하룻";
    std::string phone = "0212345678";
    std::string address = "서울특별시 중구 세종대로 1";
    std::string version = "VCATSIM 1.0";
};

// Moment of a sale as the answers carry it.
struct stSaleTime {
    std::string date;  // YYYYMMDD
    std::string time;  // HHMMSS
};

// Field `number` of a request or answer; empty when it is not there.
std::string FieldText(const stTerminalFrame& frame, int16_t number);

stTerminalFrame MerchantInfoAnswer(const stMerchantInfo& info);
// A terminal not set up for the merchant answers with another message code.
stTerminalFrame MerchantInfoRefusal();
stTerminalFrame StatusCheckAnswer();

stTerminalFrame ApprovalAnswer(const stMerchantInfo& info, const stCharge& charge);
stTerminalFrame DeclineAnswer(const stMerchantInfo& info, const std::string& amount,
                              const stSaleTime& now, const std::string& code,
                              const std::string& message);
// `code` "00" when the cancel was made, else the refusal and its message.
stTerminalFrame CancelAnswer(const stMerchantInfo& info, const stTerminalFrame& request,
                             const stSaleTime& now, const std::string& code,
                             const std::string& message);

stTerminalFrame StateFrame(const std::string& state);
stTerminalFrame ExitFrame(int32_t code);

}  // namespace hx
